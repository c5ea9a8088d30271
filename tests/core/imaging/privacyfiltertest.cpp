// The metadata a published copy carries, and the web copy itself.
#include <gtest/gtest.h>
#include <libexif/exif-data.h>

#include <QFile>
#include <memory>

#include "core/imaging/jobs/webcopy.h"
#include "core/imaging/jpeg/jpegimage.h"
#include "core/imaging/metadata/privacyfilter.h"
#include "support/tempdir.h"
#include "support/testimages.h"

namespace tessaly {
namespace {

JpegSegments privateSegments(int w, int h, int orientation) {
    JpegSegments segments;
    for (const auto& [marker, data] : test::privateCameraSegments(w, h, orientation))
        segments.append(marker, data);
    return segments;
}

QByteArray segmentStarting(const JpegSegments& segments, const QByteArray& start) {
    for (const JpegSegment& segment : segments.list) {
        if (segment.data.startsWith(start)) return segment.data;
    }
    return {};
}

// The EXIF fields of a block, by IFD and tag, as libexif reads them.
struct ExifFields {
    explicit ExifFields(const QByteArray& block)
        : data(exif_data_new_from_data(reinterpret_cast<const unsigned char*>(block.constData()),
                                       unsigned(block.size())),
               exif_data_unref) {}
    bool has(ExifIfd ifd, int tag) const {
        return data && exif_content_get_entry(data->ifd[ifd], ExifTag(tag)) != nullptr;
    }
    unsigned number(ExifIfd ifd, int tag) const {
        ExifEntry* entry = exif_content_get_entry(data->ifd[ifd], ExifTag(tag));
        if (!entry) return 0;
        const ExifByteOrder order = exif_data_get_byte_order(data.get());
        return entry->format == EXIF_FORMAT_SHORT ? exif_get_short(entry->data, order)
                                                  : exif_get_long(entry->data, order);
    }
    std::unique_ptr<ExifData, void (*)(ExifData*)> data;
};

// Both policies on one camera file: what goes always, what stays always, and the location,
// which goes unless kept.
TEST(PrivacyFilter, RemovesWhatTellsAboutTheOwnerAndKeepsTheRest) {
    for (const bool keepLocation : {false, true}) {
        SCOPED_TRACE(keepLocation ? "keep location" : "remove location");
        const JpegSegments source = privateSegments(3000, 2000, 6);
        ASSERT_TRUE(PrivacyFilter::find(source).position);
        ASSERT_TRUE(PrivacyFilter::find(source).serial);
        ASSERT_TRUE(PrivacyFilter::find(source).owner);
        const JpegSegments kept = PrivacyFilter(keepLocation).filtered(source, 1024, 1536);

        const PrivateFields left = PrivacyFilter::find(kept);
        EXPECT_EQ(left.position, keepLocation);
        EXPECT_FALSE(left.serial);
        EXPECT_FALSE(left.owner);

        const ExifFields exif(segmentStarting(kept, QByteArray("Exif\0\0", 6)));
        ASSERT_TRUE(exif.data);
        for (const int tag : {0x010F, 0x0110, 0x013B, 0x8298})
            EXPECT_TRUE(exif.has(EXIF_IFD_0, tag)) << std::hex << tag;
        for (const int tag : {0x9003, 0x829A, 0xA434})
            EXPECT_TRUE(exif.has(EXIF_IFD_EXIF, tag)) << std::hex << tag;
        for (const int tag : {0xA430, 0xA431, 0xA435, 0x927C})
            EXPECT_FALSE(exif.has(EXIF_IFD_EXIF, tag)) << std::hex << tag;
        EXPECT_EQ(exif.has(EXIF_IFD_GPS, 0x0002), keepLocation);
        EXPECT_EQ(exif.data->size, 0u);  // no embedded thumbnail
        EXPECT_EQ(exif.number(EXIF_IFD_0, 0x0112), 1u);
        EXPECT_EQ(exif.number(EXIF_IFD_EXIF, 0xA002), 1024u);
        EXPECT_EQ(exif.number(EXIF_IFD_EXIF, 0xA003), 1536u);

        const QByteArray xmp = segmentStarting(kept, "http://ns.adobe.com/xap/1.0/");
        EXPECT_TRUE(xmp.contains("湖の朝"));
        EXPECT_TRUE(xmp.contains("(c) Hana"));
        EXPECT_FALSE(xmp.contains("OwnerName"));
        EXPECT_FALSE(xmp.contains("SerialNumber"));
        EXPECT_EQ(xmp.contains("Tokyo"), keepLocation);
        EXPECT_EQ(xmp.contains("Japan"), keepLocation);
        EXPECT_EQ(xmp.contains("GPSLatitude"), keepLocation);

        const QByteArray iptc = segmentStarting(kept, "Photoshop 3.0");
        EXPECT_TRUE(iptc.contains("Tester"));
        EXPECT_TRUE(iptc.contains("lake"));
        EXPECT_EQ(iptc.contains("Tokyo"), keepLocation);
        EXPECT_FALSE(iptc.contains("abcd"));  // the Photoshop thumbnail

        EXPECT_EQ(kept.iccProfile(), source.iccProfile());
        EXPECT_EQ(segmentStarting(kept, "撮影"), QByteArray("撮影: テスト"));
    }
}

// Damaged XMP or Photoshop data cannot be edited safely: the segment goes as a whole.
TEST(PrivacyFilter, DropsSegmentsItCannotRead) {
    const PrivacyFilter filter(false);
    const QByteArray header("http://ns.adobe.com/xap/1.0/", 29);
    EXPECT_TRUE(filter.filteredXmp(header + "<x:xmpmeta><rdf:RDF>GPSLatitude").isEmpty());
    EXPECT_TRUE(filter.filteredIptc(QByteArray("Photoshop 3.0\0008BIM\x04\x04\0\0\0\0\0\x40", 26))
                    .isEmpty());
    EXPECT_TRUE(
        filter
            .filteredIptc(QByteArray("Photoshop 3.0\0008BIM\x04\x04\0\0\0\0\0\x03\x1C\x02\x5A", 29))
            .isEmpty());
}

// A copy is upright, never larger than asked and never enlarged; the size the pages announce
// is the size the copy gets, whatever reduction its decode takes. It keeps a colour profile
// that fits its colour pixels, and only such a one.
TEST(WebCopy, IsUprightAtMostTheLongSideAndAsAnnounced) {
    struct Row {
        int width, height, orientation, longSide;
        bool grey;  // a greyscale photograph with a grey profile
    };
    for (const Row& row : {Row{3000, 2000, 6, 1024, false}, Row{4000, 3000, 1, 2048, false},
                           Row{2100, 1400, 1, 2048, false}, Row{640, 480, 8, 2048, false},
                           Row{1000, 999, 3, 320, false}, Row{900, 700, 1, 320, true}}) {
        SCOPED_TRACE(QStringLiteral("%1x%2 o%3 -> %4")
                         .arg(row.width)
                         .arg(row.height)
                         .arg(row.orientation)
                         .arg(row.longSide)
                         .toStdString());
        test::TempDir dir;
        test::JpegLayout layout;
        layout.segments = test::privateCameraSegments(row.width, row.height, row.orientation);
        if (row.grey) {
            layout.components = 1;
            layout.h[0] = layout.v[0] = 1;
            layout.segments[3].second =
                QByteArray("ICC_PROFILE\0\x01\x01", 14) + test::iccProfile("GRAY", 600);
            layout.segments.erase(layout.segments.begin() + 4);
        }
        const QByteArray photo = test::makePhotoJpeg(row.width, row.height, layout);
        WebCopyPolicy policy;
        policy.longSide = row.longSide;
        WebCopy::make(photo, dir.file("c.jpg"), policy);
        const QByteArray copy = test::readFile(dir.file("c.jpg"));
        const JpegHeader header = JpegImage::readHeader(copy);
        EXPECT_EQ(header.orientation, 1);
        const bool turned = row.orientation >= 5;
        int w = 0, h = 0;
        WebCopy::copySize(turned ? row.height : row.width, turned ? row.width : row.height,
                          row.longSide, w, h);
        EXPECT_EQ(header.storedWidth, w);
        EXPECT_EQ(header.storedHeight, h);
        EXPECT_LE(std::max(w, h), row.longSide);
        EXPECT_GE(std::max(w, h), std::min(row.longSide - 1, std::max(row.width, row.height)));
        EXPECT_FALSE(PrivacyFilter::find(JpegImage::readSegments(copy)).any());
        EXPECT_EQ(JpegImage::readSegments(copy).iccProfile().isEmpty(), row.grey);
    }
}

}  // namespace
}  // namespace tessaly
