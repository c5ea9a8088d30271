#include <gtest/gtest.h>
#include <libexif/exif-data.h>

#include <QDir>
#include <QFileInfo>
#include <cstdlib>

#include "core/conversion/bmpconversion.h"
#include "core/imaging/heif/heifimage.h"
#include "core/imaging/jpeg/jpegimage.h"
#include "core/imaging/metadata/orientation.h"
#include "support/tempdir.h"
#include "support/testheif.h"
#include "support/testimages.h"

namespace tessaly {
namespace {

// The test pattern as a picture, turned as the orientation says.
PixelImage uprightPattern(int width, int height, int orientation) {
    PixelImage picture(width, height, PixelFormat::Bgr24);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned rgb = test::testPatternColor(x, y, width, height);
            picture.setPixel(x, y, rgb);  // 0x00BBGGRR, as Pixels takes it
        }
    }
    return orientation == 1 ? picture : applyOrientation(picture, orientation);
}

// Mean absolute difference per channel over 4 x 4 averages (chroma is stored at half size).
double meanError(const PixelImage& decoded, const PixelImage& source) {
    double sum = 0;
    int count = 0;
    for (int by = 0; by + 4 <= decoded.height(); by += 4) {
        for (int bx = 0; bx + 4 <= decoded.width(); bx += 4) {
            for (int shift = 0; shift < 24; shift += 8) {
                int difference = 0;
                for (int y = by; y < by + 4; ++y) {
                    for (int x = bx; x < bx + 4; ++x) {
                        difference += int((decoded.pixel(x, y) >> shift) & 0xFF) -
                                      int((source.pixel(x, y) >> shift) & 0xFF);
                    }
                }
                sum += std::abs(difference) / 16.0;
                ++count;
            }
        }
    }
    return count ? sum / count : 1e9;
}

struct Case {
    const char* what;
    int width, height;
    test::HeicOptions options;
};

TEST(HeifImageTest, DecodesUprightWithinCodingError) {
    auto with = [](int orientation, bool alpha = false, int bits = 8, bool clap = false) {
        test::HeicOptions options;
        options.orientation = orientation;
        options.alpha = alpha;
        options.bitDepth = bits;
        options.clap = clap;
        return options;
    };
    const Case cases[] = {
        {"plain", 64, 48, with(1)},
        {"turned right (irot)", 64, 48, with(6)},
        {"half turn", 64, 48, with(3)},
        {"mirrored (imir)", 64, 48, with(2)},
        {"mirrored and turned", 48, 32, with(7)},
        {"odd size, clean-aperture crop", 45, 27, with(1, false, 8, true)},
        {"odd size, grid crop", 45, 27, with(8)},
        {"alpha dropped", 40, 32, with(1, true)},
        {"10 bits reduced to 8", 48, 32, with(1, false, 10)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HeifImage image;
        image.loadFromData(test::makeTestHeic(c.width, c.height, c.options), "x.heic");
        const PixelImage expected = uprightPattern(c.width, c.height, c.options.orientation);
        ASSERT_EQ(image.width(), expected.width());
        ASSERT_EQ(image.height(), expected.height());
        EXPECT_EQ(image.picture().pixelFormat(), PixelFormat::Bgr24);
        EXPECT_LT(meanError(image.picture(), expected), 8.0);
        EXPECT_TRUE(image.exif().isEmpty());
    }
}

TEST(HeifImageTest, DamagedFilesGiveAClearErrorNamingTheFile) {
    const QByteArray good = test::makeTestHeic(64, 48);
    // A 17 x 33 picture whose damaged grid asks for a 24681 x 27759 canvas.
    const QString stored =
        test::projectFolder() + "/tests/data/fuzz/heif/grid-canvas-24681x27759.heic";
    struct Damage {
        const char* what;
        QByteArray bytes;
        const char* sentence;
    };
    const Damage damages[] = {
        {"empty", QByteArray(), "HEIC/HEIF ファイルではありません"},
        {"garbage", QByteArray("this is no photograph at all, just text"),
         "HEIC/HEIF ファイルではありません"},
        {"only the file type box", good.left(40), "壊れているか、途中で切れています"},
        {"cut in the middle", good.left(good.size() / 2), "壊れているか、途中で切れています"},
        {"cut before the end", good.left(good.size() - 10), "壊れているか、途中で切れています"},
        {"huge grid canvas", test::readFile(stored), "画像が大きすぎるため読み込めません"},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        HeifImage image;
        try {
            image.loadFromData(damage.bytes, "/some/folder/IMG_0001.HEIC");
            ADD_FAILURE() << "no error";
        } catch (const HeifError& error) {
            EXPECT_TRUE(error.message().startsWith(QStringLiteral("IMG_0001.HEIC: ")))
                << error.message().toStdString();
            EXPECT_TRUE(error.message().contains(QString::fromUtf8(damage.sentence)))
                << error.message().toStdString();
            EXPECT_FALSE(error.message().contains(QStringLiteral("（")));  // libheif's text:
            EXPECT_FALSE(error.detail().isEmpty());                        // standard error only
        }
        EXPECT_TRUE(image.isEmpty());
    }
}

// A text field of the JPEG file's EXIF data, empty when absent.
QString exifText(const QString& path, ExifIfd ifd, ExifTag tag, bool& present) {
    ExifData* data = exif_data_new_from_file(QFile::encodeName(path).constData());
    present = false;
    QString text;
    if (data) {
        if (ExifEntry* entry = exif_content_get_entry(data->ifd[ifd], tag)) {
            present = true;
            char buffer[256];
            text = QString::fromUtf8(exif_entry_get_value(entry, buffer, sizeof buffer));
        }
        exif_data_unref(data);
    }
    return text;
}

TEST(HeifImageTest, ConvertedPhotoIsUprightAndKeepsOnlyDateAndCamera) {
    for (const bool bareExif : {false, true}) {  // an EXIF item without its offset field too
        test::TempDir dir;
        test::HeicOptions options;
        options.orientation = 6;
        options.exif = test::makeTestExif("TestMaker", "2024:05:06 07:08:09", 6);
        options.bareExif = bareExif;
        test::writeTestHeic(dir.file("IMG_0001.HEIC"), 64, 48, options);
        const auto result =
            BmpConversion(95, BmpConversion::Source::Any).run(dir.path(), {"IMG_0001.HEIC"}, {});
        ASSERT_EQ(result.written, QStringList{"IMG_0001.jpg"}) << result.message.toStdString();
        JpegImage jpeg;
        jpeg.loadFromFile(dir.file("IMG_0001.jpg"));
        EXPECT_EQ(jpeg.Orientation(), 1);
        EXPECT_EQ(jpeg.width(), 48);
        EXPECT_EQ(jpeg.height(), 64);
        EXPECT_LT(meanError(jpeg.picture(), uprightPattern(64, 48, 6)), 8.0);
        bool present = false;
        const QString path = dir.file("IMG_0001.jpg");
        EXPECT_EQ(exifText(path, EXIF_IFD_0, EXIF_TAG_MAKE, present), QStringLiteral("TestMaker"));
        EXPECT_EQ(exifText(path, EXIF_IFD_0, EXIF_TAG_MODEL, present),
                  QStringLiteral("Test Phone 12"));
        EXPECT_EQ(exifText(path, EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL, present),
                  QStringLiteral("2024:05:06 07:08:09"));
        exifText(path, EXIF_IFD_0, EXIF_TAG_ORIENTATION, present);
        EXPECT_FALSE(present);
        exifText(path, EXIF_IFD_GPS, ExifTag(EXIF_TAG_GPS_LATITUDE_REF), present);
        EXPECT_FALSE(present);
    }
}

unsigned flatColour(int, int, int, int) { return 0x006464C8; }  // red 200, green 100, blue 100

TEST(HeifImageTest, ConvertedPhotoKeepsItsColour) {
    const QByteArray profile = test::iccProfile("RGB ", 3000, "Display P3");
    const struct {
        int nclxPrimaries;
        bool icc;
        unsigned red, green, blue;  // expected in the JPEG
    } rows[] = {
        {1, false, 200, 100, 100},  // sRGB primaries: as they are
        {12, false, 215, 93, 97},   // Display P3 by nclx alone: converted to sRGB
        {12, true, 200, 100, 100},  // an ICC profile: kept, pixels as they are
        {0, true, 200, 100, 100},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "primaries " << row.nclxPrimaries << " icc " << row.icc);
        test::TempDir dir;
        test::HeicOptions options;
        options.pattern = flatColour;
        options.nclxPrimaries = row.nclxPrimaries;
        if (row.icc) options.iccProfile = profile;
        test::writeTestHeic(dir.file("a.heic"), 32, 32, options);
        BmpConversion(95, BmpConversion::Source::Any).run(dir.path(), {"a.heic"}, {});
        JpegImage jpeg;
        jpeg.loadFromFile(dir.file("a.jpg"));
        const quint32 pixel = jpeg.picture().pixel(16, 16);
        EXPECT_NEAR(int(pixel & 0xFF), int(row.red), 4);
        EXPECT_NEAR(int((pixel >> 8) & 0xFF), int(row.green), 4);
        EXPECT_NEAR(int((pixel >> 16) & 0xFF), int(row.blue), 4);
        EXPECT_EQ(JpegImage::readSegments(dir.read("a.jpg")).iccProfile(),
                  row.icc ? profile : QByteArray());
    }
}

}  // namespace
}  // namespace tessaly
