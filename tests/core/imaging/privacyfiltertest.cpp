// The metadata a published copy carries, and the web copy itself.
#include <gtest/gtest.h>
#include <libexif/exif-data.h>

#include <QFile>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

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
        EXPECT_FALSE(xmp.contains("Tokyo"));  // place names go with either policy
        EXPECT_FALSE(xmp.contains("Japan"));
        EXPECT_EQ(xmp.contains("GPSLatitude"), keepLocation);

        const QByteArray iptc = segmentStarting(kept, "Photoshop 3.0");
        EXPECT_TRUE(iptc.contains("Tester"));
        EXPECT_TRUE(iptc.contains("lake"));
        EXPECT_FALSE(iptc.contains("Tokyo"));
        EXPECT_FALSE(iptc.contains("abcd"));  // the Photoshop thumbnail

        EXPECT_EQ(kept.iccProfile(), source.iccProfile());
        EXPECT_EQ(segmentStarting(kept, "撮影"), QByteArray("撮影: テスト"));
    }
}

struct ExifField {
    ExifIfd ifd;
    int tag;
    ExifFormat format;
    QByteArray value;  // big-endian
};

QByteArray rationals(std::initializer_list<std::pair<quint32, quint32>> values) {
    QByteArray out;
    for (const auto& [numerator, denominator] : values) {
        for (const quint32 v : {numerator, denominator}) {
            for (int shift = 24; shift >= 0; shift -= 8) out += char((v >> shift) & 0xFF);
        }
    }
    return out;
}

// A camera's EXIF block made with libexif: date and camera, and the fields given.
QByteArray cameraExifWith(const std::vector<ExifField>& extra) {
    std::vector<ExifField> fields = {
        {EXIF_IFD_0, 0x010F, EXIF_FORMAT_ASCII, QByteArray("NIKON", 6)},
        {EXIF_IFD_0, 0x0110, EXIF_FORMAT_ASCII, QByteArray("D70", 4)},
        {EXIF_IFD_EXIF, 0x9003, EXIF_FORMAT_ASCII, QByteArray("2024:05:06 07:08:09", 20)}};
    fields.insert(fields.end(), extra.begin(), extra.end());
    std::unique_ptr<ExifData, void (*)(ExifData*)> data(exif_data_new(), exif_data_unref);
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_set_byte_order(data.get(), EXIF_BYTE_ORDER_MOTOROLA);
    for (const ExifField& field : fields) {
        ExifEntry* entry = exif_entry_new();
        entry->tag = ExifTag(field.tag);
        entry->format = field.format;
        entry->size = unsigned(field.value.size());
        entry->components = entry->size / exif_format_get_size(field.format);
        entry->data = static_cast<unsigned char*>(malloc(size_t(entry->size)));
        memcpy(entry->data, field.value.constData(), size_t(entry->size));
        exif_content_add_entry(data->ifd[field.ifd], entry);
        exif_entry_unref(entry);
    }
    unsigned char* bytes = nullptr;
    unsigned int size = 0;
    exif_data_save_data(data.get(), &bytes, &size);
    const QByteArray block(reinterpret_cast<const char*>(bytes), int(size));
    free(bytes);
    return block;
}

QByteArray iimDataset(int record, int dataset, const QByteArray& value) {
    return QByteArray(1, '\x1C') + char(record) + char(dataset) + char(value.size() >> 8) +
           char(value.size() & 0xFF) + value;
}

// Every place a photograph carries where it was taken, its camera's serial or its owner's
// name; each row's marker is gone from the copy (or kept with the location, where asked),
// while the date, camera, keywords, description, caption and colour profile stay.
TEST(PrivacyFilter, KeepsOnlyTheListedFieldsOfEveryCarrier) {
    struct Row {
        const char* carrier;
        std::vector<ExifField> exif;
        QByteArray xmpAttributes, xmpElements, iim;
        QByteArray marker;
        bool keptWithLocation;
    };
    const QByteArray latitude = rationals({{35, 1}, {39, 1}, {2910, 100}});
    const QByteArray xmpInExif =
        "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF "
        "xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'><rdf:Description "
        "xmlns:exif='http://ns.adobe.com/exif/1.0/' exif:GPSLatitude='35,39.111N'/>"
        "</rdf:RDF></x:xmpmeta>";
    const QByteArray iimInExif = iimDataset(2, 90, "Shimoda-in-exif");
    const Row rows[] = {
        {"GPS directory",
         {{EXIF_IFD_GPS, 0x0001, EXIF_FORMAT_ASCII, QByteArray("N", 2)},
          {EXIF_IFD_GPS, 0x0002, EXIF_FORMAT_RATIONAL, latitude}},
         "",
         "",
         "",
         latitude,
         true},
        {"XMP GPS", {}, "exif:GPSLatitude='35,39.485N'", "", "", "39.485N", true},
        {"drone XMP",
         {},
         "xmlns:drone-dji='http://www.dji.com/drone-dji/1.0/' "
         "drone-dji:GpsLatitude='35.658100'",
         "",
         "",
         "35.658100",
         false},
        {"Darwin Core XMP",
         {},
         "xmlns:dwc='http://rs.tdwg.org/dwc/terms/'",
         "<dwc:decimalLatitude>35.660123</dwc:decimalLatitude>",
         "",
         "35.660123",
         false},
        {"IPTC Core location XMP",
         {},
         "xmlns:Iptc4xmpCore='http://iptc.org/std/Iptc4xmpCore/1.0/xmlns/'",
         "<Iptc4xmpCore:Location>Gyoen gate</Iptc4xmpCore:Location>",
         "",
         "Gyoen gate",
         false},
        {"unknown namespace XMP",
         {},
         "xmlns:z='urn:example:z' z:where='Kamakura beach'",
         "",
         "",
         "Kamakura beach",
         false},
        {"body serial",
         {{EXIF_IFD_EXIF, 0xA431, EXIF_FORMAT_ASCII, QByteArray("4711-BODY", 10)}},
         "",
         "",
         "",
         "4711-BODY",
         false},
        {"lens serial",
         {{EXIF_IFD_EXIF, 0xA435, EXIF_FORMAT_ASCII, QByteArray("0815-LENS", 10)}},
         "",
         "",
         "",
         "0815-LENS",
         false},
        {"XMP serial", {}, "aux:SerialNumber='AUX-4711'", "", "", "AUX-4711", false},
        {"owner name",
         {{EXIF_IFD_EXIF, 0xA430, EXIF_FORMAT_ASCII, QByteArray("Hana Owner", 11)}},
         "",
         "",
         "",
         "Hana Owner",
         false},
        {"XMP owner name",
         {},
         "",
         "<aux:OwnerName>Hana Aux</aux:OwnerName>",
         "",
         "Hana Aux",
         false},
        {"unique image id",
         {{EXIF_IFD_EXIF, 0xA420, EXIF_FORMAT_ASCII, QByteArray("UID-20240506-0042", 18)}},
         "",
         "",
         "",
         "UID-20240506-0042",
         false},
        {"maker note",
         {{EXIF_IFD_EXIF, 0x927C, EXIF_FORMAT_UNDEFINED,
           QByteArray("Nikon\0\2\0\0\0MKN-SN-42", 20)}},
         "",
         "",
         "",
         "MKN-SN-42",
         false},
        {"XMP inside EXIF",
         {{EXIF_IFD_0, 0x02BC, EXIF_FORMAT_BYTE, xmpInExif}},
         "",
         "",
         "",
         "39.111N",
         false},
        {"Photoshop resources inside EXIF",
         {{EXIF_IFD_0, 0x8649, EXIF_FORMAT_UNDEFINED,
           QByteArray("8BIM\x04\x04\0\0\0\0\0\x14", 12) + iimDataset(2, 90, "Nagoya-in-8bim") +
               QByteArray(1, '\0')}},
         "",
         "",
         "",
         "Nagoya-in-8bim",
         false},
        {"IPTC inside EXIF",
         {{EXIF_IFD_0, 0x83BB, EXIF_FORMAT_UNDEFINED, iimInExif}},
         "",
         "",
         "",
         "Shimoda-in-exif",
         false},
        {"IPTC city", {}, "", "", iimDataset(2, 90, "Shibuya-ku"), "Shibuya-ku", false},
        {"IPTC sub-location", {}, "", "", iimDataset(2, 92, "Hachiko exit"), "Hachiko exit", false},
        {"IPTC by-line", {}, "", "", iimDataset(2, 80, "Hana Byline"), "Hana Byline", false},
    };
    const QByteArray profile = test::iccProfile("RGB ", 600);
    for (const Row& row : rows) {
        const QByteArray xmp =
            QByteArray("http://ns.adobe.com/xap/1.0/", 29) +
            "<?xpacket begin='\xEF\xBB\xBF' id='W5M0MpCehiHzreSzNTczkc9d'?>"
            "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF "
            "xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'><rdf:Description "
            "rdf:about='' xmlns:dc='http://purl.org/dc/elements/1.1/' "
            "xmlns:exif='http://ns.adobe.com/exif/1.0/' "
            "xmlns:aux='http://ns.adobe.com/exif/1.0/aux/' " +
            row.xmpAttributes +
            "><dc:description><rdf:Alt><rdf:li xml:lang='x-default'>朝の湖</rdf:li></rdf:Alt>"
            "</dc:description><dc:subject><rdf:Bag><rdf:li>lake</rdf:li><rdf:li>dawn</rdf:li>"
            "</rdf:Bag></dc:subject>" +
            row.xmpElements + "</rdf:Description></rdf:RDF></x:xmpmeta><?xpacket end='w'?>";
        const QByteArray iim =
            iimDataset(2, 120, "Morning lake") + iimDataset(2, 25, "lakeside") + row.iim;
        const QByteArray photoshop = QByteArray("Photoshop 3.0\0008BIM\x04\x04\0\0\0\0", 24) +
                                     char(iim.size() >> 8) + char(iim.size() & 0xFF) + iim +
                                     (iim.size() % 2 ? QByteArray(1, '\0') : QByteArray());
        JpegSegments source = JpegSegments::fromIccProfile(profile);
        source.append(JpegSegments::kApp1, cameraExifWith(row.exif));
        source.append(JpegSegments::kApp1, xmp);
        source.append(0xED, photoshop);
        for (const bool keepLocation : {false, true}) {
            SCOPED_TRACE(std::string(row.carrier) + (keepLocation ? ", location kept" : ""));
            QByteArray all;
            for (const JpegSegment& segment : source.list) all += segment.data;
            ASSERT_TRUE(all.contains(row.marker));

            const JpegSegments kept = PrivacyFilter(keepLocation).filtered(source, 640, 480);
            all.clear();
            for (const JpegSegment& segment : kept.list) all += segment.data;
            EXPECT_EQ(all.contains(row.marker), keepLocation && row.keptWithLocation);

            const ExifFields exif(segmentStarting(kept, QByteArray("Exif\0\0", 6)));
            EXPECT_TRUE(exif.has(EXIF_IFD_0, 0x010F));
            EXPECT_TRUE(exif.has(EXIF_IFD_0, 0x0110));
            EXPECT_TRUE(exif.has(EXIF_IFD_EXIF, 0x9003));
            const QByteArray keptXmp = segmentStarting(kept, "http://ns.adobe.com/xap/1.0/");
            EXPECT_TRUE(keptXmp.contains("<rdf:li xml:lang=\"x-default\">朝の湖</rdf:li>"));
            EXPECT_TRUE(keptXmp.contains("<rdf:li>lake</rdf:li><rdf:li>dawn</rdf:li>"));
            const QByteArray keptIptc = segmentStarting(kept, "Photoshop 3.0");
            EXPECT_TRUE(keptIptc.contains(iimDataset(2, 120, "Morning lake")));
            EXPECT_TRUE(keptIptc.contains(iimDataset(2, 25, "lakeside")));
            EXPECT_EQ(kept.iccProfile(), profile);
        }
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
