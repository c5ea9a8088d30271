#include <gtest/gtest.h>

#include <QFileInfo>
#include <QSize>
#include <functional>

#include "core/conversion/conversionrun.h"
#include "core/imaging/reader/photoreader.h"
#include "core/imaging/thumbnailmaker.h"
#include "core/text/errors.h"
#include "core/text/folderlisting.h"
#include "support/tempdir.h"
#include "support/testformats.h"
#include "support/testheif.h"
#include "support/testimages.h"

namespace tessaly {
namespace {

using Kind = test::PngOptions::Kind;

struct Case {
    const char* name;  // the file's name: its format shows in the extension
    std::function<QByteArray()> make;
    int width, height;     // as shown
    unsigned left, right;  // expected colours (0x00BBGGRR) at the middle of each half
    int tolerance;         // per channel (lossy codecs)
};

int channelError(unsigned a, unsigned b) {
    int worst = 0;
    for (int shift = 0; shift < 24; shift += 8)
        worst = std::max(worst, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
    return worst;
}

test::PngOptions png(Kind kind, int depth = 8) {
    test::PngOptions o;
    o.kind = kind;
    o.bitDepth = depth;
    return o;
}

test::HeicOptions heif(bool av1, int bits = 8, bool mono = false, int orientation = 1) {
    test::HeicOptions o;
    o.av1 = av1;
    o.bitDepth = bits;
    o.monochrome = mono;
    o.orientation = orientation;
    o.pattern = [](int, int, int, int) { return 0x003264C8u; };
    return o;
}

// Every colour type and depth of PNG, WebP's kinds and HEIF's depths come out upright,
// 8 bits with rounding, transparency over white.
TEST(PhotoReaderTest, DecodesEveryKindUprightOverWhite) {
    const unsigned c = 0x003264C8, grey = 0x00646464, white = 0x00FFFFFF;
    auto withPng = [](test::PngOptions o) { return [o] { return test::makeTestPng(12, 8, o); }; };
    test::PngOptions split = png(Kind::Rgb);
    split.split = true;
    test::PngOptions interlaced = split;
    interlaced.interlaced = true;
    test::PngOptions deep = png(Kind::Rgb, 16);
    deep.grey16 = 0x10F0;  // 16.87 of 255: rounds to 17 where dropping the low byte gives 16
    test::PngOptions halfAlpha = png(Kind::RgbAlpha);
    halfAlpha.colour = 0;
    halfAlpha.alpha = 128;
    test::PngOptions palette = png(Kind::Palette, 4);
    palette.split = true;
    palette.transparent = true;  // the left half's entry is fully transparent
    test::PngOptions grey2 = png(Kind::Grey, 2);
    grey2.grey16 = 2;
    test::WebpOptions lossless;
    lossless.lossless = true;
    test::WebpOptions clear = lossless;
    clear.alpha = 0;
    test::WebpOptions animated;
    animated.animated = true;
    const Case cases[] = {
        {"rgb.png", withPng(split), 12, 8, c, 0x00FF0000, 0},
        {"interlaced.png", withPng(interlaced), 12, 8, c, 0x00FF0000, 0},
        {"deep.PNG", withPng(deep), 12, 8, 0x00111111, 0x00111111, 0},
        {"grey.png", withPng(png(Kind::Grey)), 12, 8, grey, grey, 0},
        {"grey2.png", withPng(grey2), 12, 8, 0x00AAAAAA, 0x00AAAAAA, 0},
        {"greyalpha16.png", withPng(png(Kind::GreyAlpha, 16)), 12, 8, grey, grey, 0},
        {"alpha.png", withPng(halfAlpha), 12, 8, 0x007F7F7F, 0x007F7F7F, 0},
        {"palette.png", withPng(palette), 12, 8, white, 0x00FF0000, 0},
        {"lossy.webp", [] { return test::makeTestWebp(12, 8); }, 12, 8, c, c, 6},
        {"lossless.webp", [=] { return test::makeTestWebp(12, 8, lossless); }, 12, 8, c, c, 0},
        {"clear.webp", [=] { return test::makeTestWebp(12, 8, clear); }, 12, 8, white, white, 0},
        {"animated.webp", [=] { return test::makeTestWebp(12, 8, animated); }, 12, 8, c, c, 0},
        {"photo.heic", [] { return test::makeTestHeic(16, 8, heif(false)); }, 16, 8, c, c, 8},
        {"eight.avif", [] { return test::makeTestHeic(16, 8, heif(true)); }, 16, 8, c, c, 8},
        {"ten.heic", [] { return test::makeTestHeic(16, 8, heif(false, 10)); }, 16, 8, c, c, 8},
        {"mono.heic", [] { return test::makeTestHeic(16, 8, heif(false, 8, true)); }, 16, 8, grey,
         grey, 8},
        {"turned.avif", [] { return test::makeTestHeic(16, 8, heif(true, 8, false, 6)); }, 8, 16, c,
         c, 8},
    };
    const test::TempDir dir;
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        dir.write(k.name, k.make());
        const auto reader = openPhotoReader(dir.file(k.name));
        EXPECT_EQ(reader->width(), k.width);
        EXPECT_EQ(reader->height(), k.height);
        const PixelImage picture = reader->picture();
        ASSERT_EQ(picture.width(), k.width);
        ASSERT_EQ(picture.height(), k.height);
        const int y = k.height / 2;
        EXPECT_LE(channelError(picture.pixel(k.width / 4, y), k.left), k.tolerance);
        EXPECT_LE(channelError(picture.pixel(3 * k.width / 4, y), k.right), k.tolerance);
    }
}

// A large WebP photograph's thumbnail is made from libwebp's reduced decode where that stays
// twice the thumbnail on both sides and gives the filter path the same size; the sizes
// reported stay the photograph's own. A thumbnail made with its double-size twin takes the
// reduction that fits both.
TEST(PhotoReaderTest, LargeWebpThumbnailFromAReducedDecode) {
    struct Row {
        int width, height;
        ThumbnailBox box;
        int reduction;
        QSize thumbnail;
        QSize twin;  // when made with the thumbnail of twice the box
    };
    const Row rows[] = {
        {1280, 960, {160, 120, 80, true}, 4, {160, 120}, {}},  // 320 x 240: just twice
        {1280, 960, {80, 60, 80, false}, 8, {80, 60}, {}},
        {1279, 960, {160, 120, 80, false}, 4, {160, 120}, {}},
        {1279, 960, {160, 120, 80, true}, 1, {159, 120}, {}},  // reduced, it would be 160 wide
        {1280, 960, {80, 60, 80, false}, 4, {80, 60}, {160, 120}},
        {1280, 960, {160, 120, 80, true}, 2, {160, 120}, {320, 240}},
    };
    test::WebpOptions halves;
    halves.pattern = [](int x, int, int w, int) { return x < w / 2 ? 0x003264C8u : 0x00FF0000u; };
    const test::TempDir dir;
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.width << " " << row.box.width << row.box.filter);
        dir.write("big.webp", test::makeTestWebp(row.width, row.height, halves));
        ThumbnailMaker maker(ThumbnailMaker::Decoding::Streamed, true);
        maker.open(dir.file("big.webp"));
        const qint64 whole = 11 * qint64(row.width) * row.height;  // picture and buffers
        EXPECT_LE(maker.scaleBytes(row.box),
                  QFileInfo(dir.file("big.webp")).size() + whole / (row.reduction * row.reduction));
        PixelImage twin;
        if (row.twin.isEmpty()) {
            maker.scale(row.box);
        } else {
            const ThumbnailBox larger{row.box.width * 2, row.box.height * 2, 80, row.box.filter};
            maker.scaleTwice(row.box, larger, twin);
            EXPECT_EQ(QSize(twin.width(), twin.height()), row.twin);
        }
        EXPECT_EQ(maker.reduction(), row.reduction);
        EXPECT_EQ(maker.imageWidth(), row.width);
        EXPECT_EQ(maker.imageHeight(), row.height);
        const PixelImage& thumbnail = maker.picture();
        ASSERT_EQ(QSize(thumbnail.width(), thumbnail.height()), row.thumbnail);
        const int y = thumbnail.height() / 2, w = thumbnail.width();
        EXPECT_LE(channelError(thumbnail.pixel(w / 4, y), 0x003264C8), 8);
        EXPECT_LE(channelError(thumbnail.pixel(3 * w / 4, y), 0x00FF0000), 8);
    }
}

// A profile whose header passes libpng's checks on writing.
QByteArray checkedProfile() {
    QByteArray profile = test::iccProfile("RGB ", 600);
    profile.replace(4, 124, QByteArray(124, '\0'));
    profile.replace(8, 4, QByteArray("\x02\x10\0\0", 4));
    profile.replace(12, 4, "mntr");
    profile.replace(16, 4, "RGB ");
    profile.replace(20, 4, "XYZ ");
    profile.replace(36, 4, "acsp");
    profile.replace(68, 12, QByteArray("\0\0\xF6\xD6\0\x01\0\0\0\0\xD3\x2D", 12));
    return profile;
}

// EXIF in PNG's eXIf and WebP's EXIF chunk gives the capture time and (there) the orientation;
// the colour profile and the XMP packet come along; HEIF's Exif orientation is not applied
// over its irot.
TEST(PhotoReaderTest, ReadsMetadataOfEachFormat) {
    const QByteArray exif = test::makeTestExif("Maker", "2021:05:06 07:08:09", 6);
    const QByteArray icc = checkedProfile();
    const QByteArray xmp = "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">位置</x:xmpmeta>";
    test::PngOptions p;
    p.exif = exif.mid(6);
    p.xmp = xmp;
    test::WebpOptions w;
    w.exif = exif.mid(6);
    w.iccProfile = icc;
    w.xmp = xmp;
    test::HeicOptions h = heif(true);
    h.exif = exif;
    h.iccProfile = icc;
    h.xmp = xmp;
    const test::TempDir dir;
    dir.write("a.png", test::makeTestPng(12, 8, p));
    dir.write("a.webp", test::makeTestWebp(12, 8, w));
    dir.write("a.avif", test::makeTestHeic(12, 8, h));
    for (const char* name : {"a.png", "a.webp", "a.avif"}) {
        SCOPED_TRACE(name);
        const auto reader = openPhotoReader(dir.file(name));
        const bool heifFile = QString(name).endsWith("avif");
        EXPECT_EQ(reader->taken(), QDateTime(QDate(2021, 5, 6), QTime(7, 8, 9), Qt::UTC));
        if (!QString(name).endsWith("png")) {
            EXPECT_EQ(reader->iccProfile(), icc);
        }
        EXPECT_EQ(reader->width(), heifFile ? 12 : 8);  // turned by the EXIF orientation
        EXPECT_EQ(reader->picture().width(), heifFile ? 12 : 8);
        EXPECT_EQ(reader->xmp(), xmp);
    }
    // An absurd packet is left out; the photograph still reads.
    w.xmp = QByteArray(PhotoReader::kMaxXmpBytes + 1, ' ');
    dir.write("big.webp", test::makeTestWebp(12, 8, w));
    const auto big = openPhotoReader(dir.file("big.webp"));
    EXPECT_TRUE(big->xmp().isEmpty());
    EXPECT_EQ(big->width(), 8);
    test::JpegLayout j;
    j.segments = {{0xE1, QByteArray("http://ns.adobe.com/xap/1.0/\0", 29) + xmp}};
    dir.write("a.jpg", test::makePhotoJpeg(12, 8, j));
    EXPECT_EQ(openPhotoReader(dir.file("a.jpg"))->xmp(), xmp);
}

// Damaged files of each format fail with a Japanese reason naming the file, never a crash.
TEST(PhotoReaderTest, BrokenFilesFailWithTheirReason) {
    const QByteArray pngBytes = test::makeTestPng(40, 30, png(Kind::Rgb));
    const QByteArray webpBytes = test::makeTestWebp(40, 30);
    const QByteArray avifBytes = test::makeTestHeic(40, 30, heif(true));
    QByteArray badCrc = pngBytes;
    badCrc[40] = char(badCrc[40] ^ 0x55);  // inside IDAT
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"cut.png", pngBytes.left(pngBytes.size() / 2)},
        {"crc.png", badCrc},
        {"head.png", pngBytes.left(20)},
        {"cut.webp", webpBytes.left(webpBytes.size() / 2)},
        {"cut.avif", avifBytes.left(avifBytes.size() / 2)},
        {"text.png", "not a picture"},
        {"empty.webp", ""},
    };
    const test::TempDir dir;
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        dir.write(k.name, k.bytes);
        try {
            openPhotoReader(dir.file(k.name))->picture();
            ADD_FAILURE() << "read without an error";
        } catch (const ImageError& error) {
            EXPECT_TRUE(error.message().startsWith(QString(k.name) + ": "))
                << error.message().toStdString();
            EXPECT_FALSE(error.message().contains(QStringLiteral("（")))  // Japanese only
                << error.message().toStdString();
            EXPECT_FALSE(error.detail().isEmpty());  // the decoder's text, for standard error
        }
    }
}

// The folder listing (with and without other formats), the converter's listing, the browser
// copy and the content check all take their endings from one table of formats, in any case.
TEST(PhotoReaderTest, EveryPlaceTakesTheEndingsOfTheFormatTable) {
    const struct Row {
        const char* name;
        std::function<QByteArray()> make;
        bool plainList, fullList, converted, browserCopy;
        PhotoFormat content;
    } rows[] = {
        {"a.jpg", [] { return test::makeTestJpeg(8, 8); }, true, true, false, false,
         PhotoFormat::Jpeg},
        {"b.JPEG", [] { return test::makeTestJpeg(8, 8); }, false, true, false, false,
         PhotoFormat::Jpeg},
        {"c.png", [] { return test::makeTestPng(8, 8); }, false, true, true, false,
         PhotoFormat::Png},
        {"d.WebP", [] { return test::makeTestWebp(8, 8); }, false, true, true, false,
         PhotoFormat::Webp},
        {"e.avif", [] { return test::makeTestHeic(8, 8, heif(true)); }, false, true, true, false,
         PhotoFormat::Heif},
        {"f.HEIC", [] { return test::makeTestHeic(8, 8, heif(false)); }, false, true, true, true,
         PhotoFormat::Heif},
        {"g.heif", [] { return test::makeTestHeic(8, 8, heif(false)); }, false, true, true, true,
         PhotoFormat::Heif},
        {"h.bmp", [] { return test::makeTestBmp24(8, 8); }, false, false, true, false,
         PhotoFormat::Unknown},
        {"i.gif", [] { return QByteArray("GIF89a"); }, false, false, false, false,
         PhotoFormat::Unknown},
    };
    test::TempDir dir;
    for (const Row& row : rows) dir.write(row.name, row.make());
    const QStringList plain = listFiles(dir.path(), photoNameMask(false));
    const QStringList full = listFiles(dir.path(), photoNameMask(true));
    const QStringList converted =
        ConversionRun::filesOf(dir.path(), BmpConversion::Source::Any, false);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString name = QString::fromLatin1(row.name);
        EXPECT_EQ(plain.contains(name), row.plainList);
        EXPECT_EQ(isPhotoName(name, false), row.plainList);
        EXPECT_EQ(full.contains(name), row.fullList);
        EXPECT_EQ(isPhotoName(name, true), row.fullList);
        EXPECT_EQ(converted.contains(dir.file(name)), row.converted);
        EXPECT_EQ(browsersCannotShow(name), row.browserCopy);
        EXPECT_EQ(photoFormatOf(row.make()), row.content);
    }
}

}  // namespace
}  // namespace tessaly
