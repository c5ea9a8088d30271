#include "core/imaging/jpeg/jpegscanner.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <optional>
#include <vector>

#include "core/imaging/metadata/capturedetails.h"
#include "support/tempdir.h"
#include "support/testimages.h"

namespace tessaly {
namespace {

QByteArray raw(const char* bytes, int size) { return QByteArray(bytes, size); }

const QByteArray kStart = raw("\xFF\xD8", 2);
const QByteArray kScan = raw("\xFF\xDA\x00\x02", 4);
const QByteArray kFill = raw("\xFF\xFF\xFF", 3);

QByteArray segment(int marker, const QByteArray& payload) {
    const int length = int(payload.size()) + 2;
    return raw("\xFF", 1) + char(marker) + char(length >> 8) + char(length & 0xFF) + payload;
}

// A start-of-frame payload: precision, height, width, three components.
QByteArray frame(int marker, int width, int height) {
    QByteArray payload = raw("\x08", 1);
    payload += char(height >> 8) + QByteArray(1, char(height & 0xFF));
    payload += char(width >> 8) + QByteArray(1, char(width & 0xFF));
    payload += raw("\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01", 10);
    return segment(marker, payload);
}

QByteArray datedExif(const QByteArray& date) {
    return test::handMadeExif({test::textEntry(0x0132, date)});  // IFD0 DateTime
}

// Every reader of a JPEG file's head walks it with the scanner: the segments and the frame
// size it finds, whether it met the scan, and the capture time read through it.
TEST(JpegScanner, WalksTheHeadAsTheCodecDoes) {
    const QByteArray dated = datedExif("2021:02:03 04:05:06");
    const QByteArray app0 = segment(0xE0, raw("JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 14));
    QByteArray manySegments = kStart;
    for (int i = 0; i < JpegScanner::kMaxSegments; ++i) manySegments += segment(0xFE, "");
    const struct Row {
        const char* name;
        QByteArray data;
        bool isJpeg;
        std::optional<std::vector<int>> markers;  // not compared when absent
        std::optional<JpegSize> size;
        bool reachedScan;
        bool dated;
    } rows[] = {
        {"empty", QByteArray(), false, std::vector<int>{}, {}, false, false},
        {"no JPEG", "GIF89a", false, std::vector<int>{}, {}, false, false},
        {"start only", kStart, true, std::vector<int>{}, {}, false, false},
        {"scan first", kStart + kScan, true, std::vector<int>{}, {}, true, false},
        {"length too short",
         kStart + raw("\xFF\xE0\x00\x01", 4),
         true,
         std::vector<int>{},
         {},
         false,
         false},
        {"length past the end",
         kStart + raw("\xFF\xE0\x7F\xFF", 4),
         true,
         std::vector<int>{},
         {},
         false,
         false},
        {"zero height",
         kStart + frame(0xC0, 16, 0) + kScan,
         true,
         std::vector<int>{0xC0},
         {},
         true,
         false},
        {"frame cut short",
         kStart + raw("\xFF\xC0\x00\x11\x08\x00", 6),
         true,
         std::vector<int>{},
         {},
         false,
         false},
        {"fill bytes before a progressive frame",
         kStart + segment(0xE1, "Exif") + kFill + frame(0xC2, 800, 600) + kScan, true,
         std::vector<int>{0xE1, 0xC2}, JpegSize{800, 600}, true, false},
        {"fill bytes before the EXIF segment",
         kStart + kFill + segment(0xE1, dated) + frame(0xC0, 64, 48) + kScan, true,
         std::vector<int>{0xE1, 0xC0}, JpegSize{64, 48}, true, true},
        {"EXIF in the second APP1 segment",
         kStart + segment(0xE1, "http://ns.adobe.com/xap/1.0/") + segment(0xE1, dated) + kScan,
         true,
         std::vector<int>{0xE1, 0xE1},
         {},
         true,
         true},
        {"restart and TEM markers stand alone",
         kStart + raw("\xFF\xD0\xFF\x01", 4) + app0 + frame(0xC1, 5, 7) + kScan, true,
         std::vector<int>{0xE0, 0xC1}, JpegSize{5, 7}, true, false},
        {"tables are no frame",
         kStart + segment(0xC4, "h") + segment(0xCC, "a") + frame(0xC0, 9, 3) + kScan, true,
         std::vector<int>{0xC4, 0xCC, 0xC0}, JpegSize{9, 3}, true, false},
        {"a byte that is no marker",
         kStart + raw("\x00", 1) + app0,
         true,
         std::vector<int>{},
         {},
         false,
         false},
        {"a stuffed zero",
         kStart + raw("\xFF\x00", 2) + app0,
         true,
         std::vector<int>{},
         {},
         false,
         false},
        {"a second start", kStart + kStart + app0, true, std::vector<int>{}, {}, false, false},
        {"end of image before the frame",
         kStart + app0 + raw("\xFF\xD9", 2) + frame(0xC0, 1, 1),
         true,
         std::vector<int>{0xE0},
         {},
         false,
         false},
        {"the walk ends after its limit",
         manySegments + segment(0xE1, dated),
         true,
         {},
         {},
         false,
         false},
        {"colour photograph",
         test::makeTestJpeg(160, 120),
         true,
         {},
         JpegSize{160, 120},
         true,
         false},
        {"grey photograph",
         test::makeTestJpeg(60, 80, true),
         true,
         {},
         JpegSize{60, 80},
         true,
         false},
        {"one pixel", test::makeTestJpeg(1, 1), true, {}, JpegSize{1, 1}, true, false},
        {"camera photograph",
         test::makePhotoJpeg(333, 17, {}),
         true,
         {},
         JpegSize{333, 17},
         true,
         false},
    };
    test::TempDir dir;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const JpegHead head = JpegScanner::scan(row.data);
        EXPECT_EQ(head.isJpeg, row.isJpeg);
        if (row.markers) {
            std::vector<int> markers;
            for (const JpegMarkerSegment& s : head.segments) markers.push_back(s.marker);
            EXPECT_EQ(markers, *row.markers);
        }
        EXPECT_LE(head.segments.size(), size_t(JpegScanner::kMaxSegments));
        ASSERT_EQ(head.frame.has_value(), row.size.has_value());
        if (row.size) {
            EXPECT_EQ(head.frame->width, row.size->width);
            EXPECT_EQ(head.frame->height, row.size->height);
        }
        EXPECT_EQ(head.reachedScan, row.reachedScan);
        dir.write("t.jpg", row.data);
        const QDateTime taken = CaptureDetails::read(dir.file("t.jpg")).taken;
        EXPECT_EQ(taken,
                  row.dated ? QDateTime(QDate(2021, 2, 3), QTime(4, 5, 6), Qt::UTC) : QDateTime());
    }
}

TEST(JpegScanner, DamagedHeadsNeverCrash) {
    test::TempDir dir;
    const QByteArray good = kStart + segment(0xE1, datedExif("2021:02:03 04:05:06")) +
                            test::makeTestJpeg(64, 48).mid(2);
    QRandomGenerator random(7);
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes = good.left(static_cast<int>(random.bounded(good.size())) + 1);
        for (int i = 0; i < 4; ++i) {
            bytes[static_cast<int>(random.bounded(bytes.size()))] =
                static_cast<char>(random.bounded(256));
        }
        const JpegHead head = JpegScanner::scan(bytes);
        if (head.frame) {
            EXPECT_GT(head.frame->width, 0);
            EXPECT_GT(head.frame->height, 0);
        }
        for (const JpegMarkerSegment& s : head.segments) EXPECT_LE(s.end(), bytes.size());
        dir.write("t.jpg", bytes);
        CaptureDetails::read(dir.file("t.jpg"));
    }
}

}  // namespace
}  // namespace tessaly
