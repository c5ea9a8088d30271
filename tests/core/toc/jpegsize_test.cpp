#include "core/toc/jpegsize.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include "core/text/errors.h"
#include "support/tempdir.h"
#include "support/testimages.h"

using namespace tessaly;

namespace {

std::optional<JpegSize> sizeOf(const test::TempDir& dir, const QByteArray& bytes) {
    dir.write(QStringLiteral("t.jpg"), bytes);
    return readJpegSize(dir.file(QStringLiteral("t.jpg")));
}

}  // namespace

TEST(JpegSize, ReadsTheFrameHeaderOfRealFiles) {
    test::TempDir dir;
    for (const auto& [w, h, grey] : {std::tuple{160, 120, false}, std::tuple{60, 80, true},
                                     std::tuple{1, 1, false}, std::tuple{333, 17, false}}) {
        const auto size = sizeOf(dir, test::makeTestJpeg(w, h, grey));
        ASSERT_TRUE(size.has_value());
        EXPECT_EQ(size->width, w);
        EXPECT_EQ(size->height, h);
    }
}

TEST(JpegSize, SkipsSegmentsFillBytesAndFindsProgressiveFrames) {
    test::TempDir dir;
    QByteArray bytes("\xFF\xD8", 2);
    bytes += QByteArray(
        "\xFF\xE1\x00\x06"
        "Exif",
        8);                                                                   // application segment
    bytes += QByteArray("\xFF\xFF\xFF\xC2\x00\x11\x08\x02\x58\x03\x20", 11);  // SOF2 600x800
    bytes += QByteArray(14, '\0');
    const auto size = sizeOf(dir, bytes);
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(size->width, 800);
    EXPECT_EQ(size->height, 600);
}

TEST(JpegSize, RejectsWhatIsNoReadableJpeg) {
    test::TempDir dir;
    EXPECT_FALSE(sizeOf(dir, QByteArray()));
    EXPECT_FALSE(sizeOf(dir, QByteArray("GIF89a")));
    EXPECT_FALSE(sizeOf(dir, QByteArray("\xFF\xD8", 2)));
    EXPECT_FALSE(sizeOf(dir, QByteArray("\xFF\xD8\xFF\xDA\x00\x02", 6)));  // scan first
    EXPECT_FALSE(sizeOf(dir, QByteArray("\xFF\xD8\xFF\xE0\x00\x01", 6)));  // bad length
    EXPECT_FALSE(sizeOf(dir, QByteArray("\xFF\xD8\xFF\xE0\x7F\xFF", 6)));  // past the end
    EXPECT_FALSE(sizeOf(dir, QByteArray("\xFF\xD8\xFF\xC0\x00\x11\x08\x00\x00\x00\x10", 11)));
    EXPECT_FALSE(sizeOf(dir, QByteArray("\xFF\xD8\xFF\xC0\x00\x11\x08\x00", 8)));  // cut short
    EXPECT_FALSE(readJpegSize(dir.file(QStringLiteral("missing.jpg"))));
    EXPECT_THROW(requireJpegSize(dir.file(QStringLiteral("missing.jpg"))), ImageError);
}

TEST(JpegSize, DamagedFilesNeverCrash) {
    test::TempDir dir;
    const QByteArray good = test::makeTestJpeg(64, 48);
    QRandomGenerator random(7);
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes = good.left(static_cast<int>(random.bounded(good.size())) + 1);
        for (int i = 0; i < 4; ++i) {
            bytes[static_cast<int>(random.bounded(bytes.size()))] =
                static_cast<char>(random.bounded(256));
        }
        const auto size = sizeOf(dir, bytes);
        if (size) {
            EXPECT_GT(size->width, 0);
            EXPECT_GT(size->height, 0);
        }
    }
}
