#include <gtest/gtest.h>

#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/imaging/jpeg/jpegimage.h"
#include "support/tempdir.h"
#include "support/testimages.h"

namespace tessaly {
namespace {

int channel(quint32 colour, int shift) { return int((colour >> shift) & 0xFF); }

// Largest channel difference between the decoded picture and the test pattern.
int worstDifference(const PixelImage& picture) {
    int worst = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const quint32 a = picture.pixel(x, y);
            const quint32 b = test::testPatternColor(x, y, picture.width(), picture.height());
            for (int s = 0; s < 24; s += 8)
                worst = std::max(worst, std::abs(channel(a, s) - channel(b, s)));
        }
    return worst;
}

TEST(JpegImage, DecodesColourAsTwentyFourBitBlueGreenRed) {
    JpegImage jpeg;
    EXPECT_TRUE(jpeg.isEmpty());
    EXPECT_EQ(jpeg.CompressionQuality(), 90);
    jpeg.loadFromData(test::makeTestJpeg(64, 48, false, 100));
    EXPECT_FALSE(jpeg.isEmpty());
    EXPECT_EQ(jpeg.width(), 64);
    EXPECT_EQ(jpeg.height(), 48);
    EXPECT_FALSE(jpeg.isGrayscale());
    EXPECT_EQ(jpeg.picture().pixelFormat(), PixelFormat::Bgr24);
    EXPECT_TRUE(jpeg.warnings().isEmpty());
    // The red ramp runs left to right, the green ramp top to bottom.
    const PixelImage& p = jpeg.picture();
    EXPECT_LT(channel(p.pixel(0, 24), 0), 30);
    EXPECT_GT(channel(p.pixel(63, 24), 0), 225);
    EXPECT_LT(channel(p.pixel(32, 0), 8), 30);
    EXPECT_GT(channel(p.pixel(32, 47), 8), 225);
    EXPECT_LT(worstDifference(p), 60);
}

TEST(JpegImage, DecodesGreyscaleAsEightBitGrey) {
    JpegImage jpeg;
    jpeg.loadFromData(test::makeTestJpeg(30, 20, true));
    EXPECT_TRUE(jpeg.isGrayscale());
    const PixelImage& p = jpeg.picture();
    EXPECT_EQ(p.pixelFormat(), PixelFormat::Indexed8);
    EXPECT_EQ(p.color(0), 0u);
    EXPECT_EQ(p.color(128), 0x808080u);
    EXPECT_EQ(p.color(255), 0xFFFFFFu);
}

TEST(JpegImage, SavesBaselineThreeComponentsAtTheQuality) {
    PixelImage picture(40, 30, PixelFormat::Bgr24);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) picture.setPixel(x, y, test::testPatternColor(x, y, 40, 30));
    JpegImage jpeg;
    jpeg.Assign(picture);
    jpeg.setCompressionQuality(100);
    const QByteArray best = jpeg.saveToData();
    jpeg.setCompressionQuality(0);
    EXPECT_EQ(jpeg.CompressionQuality(), 1);
    const QByteArray worst = jpeg.saveToData();
    EXPECT_LT(worst.size(), best.size());
    EXPECT_TRUE(best.contains("\xFF\xC0"));   // baseline frame
    EXPECT_FALSE(best.contains("\xFF\xC2"));  // not progressive
    JpegImage back;
    back.loadFromData(best);
    EXPECT_EQ(back.width(), 40);
    EXPECT_LT(worstDifference(back.picture()), 60);  // a swapped red and blue is far off

    JpegImage grey;  // an 8-bit grey picture is written as three components
    grey.loadFromData(test::makeTestJpeg(16, 16, true));
    JpegImage greyCopy;
    greyCopy.loadFromData(grey.saveToData());
    EXPECT_FALSE(greyCopy.isGrayscale());
    EXPECT_EQ(greyCopy.picture().pixelFormat(), PixelFormat::Bgr24);
}

TEST(JpegImage, SaveReplacesTheFileAndReportsFailures) {
    test::TempDir dir;
    dir.write("t.jpg", QByteArray("old content"));
    JpegImage jpeg;
    jpeg.Assign(PixelImage(8, 8, PixelFormat::Bgr24));
    jpeg.saveToFile(dir.file("t.jpg"));
    JpegImage back;
    back.loadFromFile(dir.file("t.jpg"));
    EXPECT_EQ(back.width(), 8);
    EXPECT_THROW(jpeg.saveToFile(dir.file("no/such/folder/t.jpg")), IoError);
    EXPECT_THROW(back.loadFromFile(dir.file("missing.jpg")), IoError);
}

template <typename F>
void expectCodecError(F f) {
    try {
        f();
        ADD_FAILURE() << "decoded";
    } catch (const JpegError& e) {
        EXPECT_FALSE(e.message().isEmpty());
    }
}

TEST(JpegImage, BadDataRaisesTheCodecError) {
    JpegImage jpeg;
    expectCodecError([&] { jpeg.loadFromData(QByteArray()); });
    expectCodecError([&] { jpeg.loadFromData(test::makeTestBmp24(4, 4)); });
    const QByteArray good = test::makeTestJpeg(32, 32);
    expectCodecError([&] { jpeg.loadFromData(good.left(20)); });  // header cut off
    EXPECT_TRUE(jpeg.isEmpty());
    QByteArray badTable = good;
    const int dht = badTable.indexOf("\xFF\xC4");
    ASSERT_GT(dht, 0);
    badTable[dht + 2] = 0, badTable[dht + 3] = 3;  // a Huffman table segment far too short
    expectCodecError([&] { jpeg.loadFromData(badTable); });
}

// What the user reads is the file's name and a Japanese sentence; the codec's own text is
// kept as the error's detail (standard error only).
TEST(JpegImage, FileErrorsNameTheFileInJapaneseAndKeepTheCodecText) {
    test::TempDir dir;
    const QByteArray good = test::makeTestJpeg(16, 16);
    const int sof = good.indexOf("\xFF\xC0");
    QByteArray huge = good;
    huge[sof + 5] = char(0xEA), huge[sof + 7] = char(0xEA);  // 59904 x 59920 pixels
    QByteArray lossless = good;
    lossless[sof + 1] = char(0xC3);  // a process libjpeg does not decode
    QByteArray badTable = good;
    const int dht = badTable.indexOf("\xFF\xC4");
    badTable.replace(dht + 5, 16, QByteArray(16, char(0x7F)));  // far more codes than exist
    const struct {
        const char* name;
        QByteArray data;
        QString sentence;
        const char* detail;
    } rows[] = {
        {"写真.jpg", "no", "JPEG ファイルではありません", "Not a JPEG file"},
        {"huge.jpg", huge, "画像が大きすぎるため読み込めません", "JPEG image is too large"},
        {"empty.jpg", QByteArray("\xFF\xD8\xFF\xD9", 4), "JPEG データに画像がありません",
         "JPEG datastream contains no image"},
        {"cut.jpg", good.left(20), "ファイルが途中で切れています", "Premature end of"},
        {"lossless.jpg", lossless, "この形式の JPEG 画像には対応していません",
         "Unsupported JPEG process"},
        {"table.jpg", badTable, "JPEG データのハフマン符号が壊れています", "Huffman"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        dir.write(QString::fromUtf8(row.name), row.data);
        try {
            JpegImage().loadFromFile(dir.file(QString::fromUtf8(row.name)));
            ADD_FAILURE() << "decoded";
        } catch (const JpegError& e) {
            EXPECT_EQ(e.message(), QString::fromUtf8(row.name) + ": " + row.sentence);
            EXPECT_TRUE(e.detail().contains(QLatin1String(row.detail))) << e.detail().toStdString();
            EXPECT_EQ(diagnosticText(e), e.message() + "（" + e.detail() + "）");
        }
    }
}

TEST(JpegImage, TruncatedDataDecodesWithAWarning) {
    const QByteArray good = test::makeTestJpeg(64, 64);
    JpegImage jpeg;
    jpeg.loadFromData(good.left(good.size() * 2 / 3));
    EXPECT_EQ(jpeg.width(), 64);
    EXPECT_EQ(jpeg.height(), 64);
    EXPECT_FALSE(jpeg.warnings().isEmpty());
}

TEST(JpegImage, DamagedDataNeverCrashes) {
    const QByteArray good = test::makeTestJpeg(48, 32);
    std::srand(7);
    for (int round = 0; round < 300; ++round) {
        QByteArray data = good;
        for (int i = 0; i < 1 + round % 5; ++i) data[std::rand() % data.size()] = char(std::rand());
        JpegImage jpeg;
        try {
            jpeg.loadFromData(data);
            EXPECT_GE(jpeg.width(), 1);
        } catch (const JpegError&) {
        }
    }
}

TEST(JpegImage, AbsurdSizeIsRefusedBeforeDecoding) {
    QByteArray data = test::makeTestJpeg(16, 16);
    const int sof = data.indexOf("\xFF\xC0");
    ASSERT_GT(sof, 0);
    // Height and width fields of the frame header: 60000 x 60000.
    data[sof + 5] = char(0xEA), data[sof + 6] = char(0x60);
    data[sof + 7] = char(0xEA), data[sof + 8] = char(0x60);
    JpegImage jpeg;
    try {
        jpeg.loadFromData(data);
        ADD_FAILURE() << "decoded";
    } catch (const JpegError& e) {
        EXPECT_TRUE(e.message().contains("too large")) << e.message().toStdString();
    }
}

// A four-component CMYK JPEG of one flat colour, written as Adobe applications do
// (inverted values, Adobe marker) or plain.
QByteArray cmykJpeg(unsigned char c, unsigned char m, unsigned char y, unsigned char k,
                    bool adobe) {
    test::JpegLayout layout;
    layout.components = 4;
    layout.h[0] = layout.v[0] = 1;
    layout.adobeMarker = adobe;
    layout.quality = 100;
    std::vector<unsigned char> pixels;
    for (int i = 0; i < 16 * 16; ++i) {
        for (unsigned char v : {c, m, y, k}) pixels.push_back(adobe ? 255 - v : v);
    }
    return test::encodeJpeg(pixels, 16, 16, layout);
}

TEST(JpegImage, CmykIsConvertedToRgb) {
    for (bool adobe : {true, false}) {
        JpegImage jpeg;
        jpeg.loadFromData(cmykJpeg(0, 255, 255, 0, adobe));  // red
        const quint32 red = jpeg.picture().pixel(8, 8);
        EXPECT_GT(channel(red, 0), 240) << adobe;
        EXPECT_LT(channel(red, 8), 15);
        EXPECT_LT(channel(red, 16), 15);
        jpeg.loadFromData(cmykJpeg(0, 0, 0, 128, adobe));  // mid grey
        const quint32 grey = jpeg.picture().pixel(8, 8);
        for (int s = 0; s < 24; s += 8) EXPECT_NEAR(channel(grey, s), 127, 4);
    }
}

}  // namespace
}  // namespace tessaly

namespace tessaly {
namespace {

// An APP1 payload: "Exif\0\0", a TIFF header (Intel or Motorola byte order) and IFD0 with
// one Orientation entry of the given type and count.
QByteArray exifPayload(bool motorola, int type, int count, int value) {
    QByteArray p("Exif\0\0", 6);
    auto put = [&](quint32 v, int size) {
        for (int i = 0; i < size; ++i) {
            const int shift = motorola ? 8 * (size - 1 - i) : 8 * i;
            p.append(char((v >> shift) & 0xFF));
        }
    };
    p.append(motorola ? "MM" : "II");
    put(42, 2), put(8, 4), put(1, 2);
    put(0x0112, 2), put(quint32(type), 2), put(quint32(count), 4);
    type == 3 ? (put(quint32(value), 2), put(0, 2)) : put(quint32(value), 4);
    put(0, 4);
    return p;
}

// A 32 x 16 JPEG in four flat quadrants (red, green / blue, white) with the APP1 segments.
QByteArray quadrantJpeg(const std::vector<QByteArray>& app1Segments) {
    std::vector<unsigned char> pixels;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 32; ++x) {
            const quint32 c =
                y < 8 ? (x < 16 ? 0x0000FF : 0x00FF00) : (x < 16 ? 0xFF0000 : 0xFFFFFF);
            for (int shift : {0, 8, 16}) pixels.push_back(uchar(c >> shift));
        }
    }
    test::JpegLayout layout;
    layout.quality = 95;
    return test::encodeJpeg(pixels, 32, 16, layout, app1Segments);
}

// Quadrant colours (top-left, top-right, bottom-left, bottom-right) of a decoded picture.
std::vector<quint32> quadrants(const PixelImage& p) {
    std::vector<quint32> result;
    for (int qy : {0, 1})
        for (int qx : {0, 1}) {
            const quint32 c =
                p.pixel(p.width() / 4 + qx * p.width() / 2, p.height() / 4 + qy * p.height() / 2);
            quint32 snapped = 0;  // each channel is 0 or 255 in the source
            for (int s = 0; s < 24; s += 8) snapped |= (((c >> s) & 0xFF) > 127 ? 0xFFu : 0u) << s;
            result.push_back(snapped);
        }
    return result;
}

const quint32 R = 0x0000FF, G = 0x00FF00, B = 0xFF0000, W = 0xFFFFFF;

TEST(JpegImage, OrientationTagTurnsThePictureUpright) {
    // Stored quadrants R G / B W; what a browser shows for each value.
    const std::vector<std::vector<quint32>> shown = {{R, G, B, W}, {G, R, W, B}, {W, B, G, R},
                                                     {B, W, R, G}, {R, B, G, W}, {B, R, W, G},
                                                     {W, G, B, R}, {G, W, R, B}};
    for (int value = 1; value <= 8; ++value) {
        for (bool motorola : {false, true}) {
            SCOPED_TRACE(value);
            JpegImage jpeg;
            jpeg.loadFromData(quadrantJpeg({exifPayload(motorola, 3, 1, value)}));
            EXPECT_EQ(jpeg.Orientation(), value);
            EXPECT_EQ(jpeg.width(), value >= 5 ? 16 : 32);
            EXPECT_EQ(jpeg.height(), value >= 5 ? 32 : 16);
            EXPECT_EQ(quadrants(jpeg.picture()), shown[size_t(value - 1)]);
        }
    }
}

TEST(JpegImage, OrientationIsReadAsBrowsersReadIt) {
    auto orientation = [](const std::vector<QByteArray>& segments) {
        JpegImage jpeg;
        jpeg.loadFromData(quadrantJpeg(segments));
        return jpeg.Orientation();
    };
    EXPECT_EQ(orientation({}), 1);
    EXPECT_EQ(orientation({exifPayload(false, 3, 1, 9)}), 1);  // out of range
    EXPECT_EQ(orientation({exifPayload(false, 3, 1, 0)}), 1);
    EXPECT_EQ(orientation({exifPayload(false, 4, 1, 6)}), 1);           // LONG, not SHORT
    EXPECT_EQ(orientation({exifPayload(false, 3, 2, 6)}), 1);           // two values
    EXPECT_EQ(orientation({exifPayload(false, 3, 1, 6).left(20)}), 1);  // cut short
    EXPECT_EQ(orientation({QByteArray("http://ns.adobe.com/xap/1.0/\0<x/>", 34),
                           exifPayload(false, 3, 1, 6)}),
              6);  // the first APP1 segment that holds EXIF data
    EXPECT_EQ(orientation({exifPayload(false, 3, 1, 3), exifPayload(false, 3, 1, 6)}), 3);
}

TEST(JpegImage, SavingWritesNoOrientationTag) {
    JpegImage jpeg;
    jpeg.loadFromData(quadrantJpeg({exifPayload(false, 3, 1, 6)}));
    const QByteArray saved = jpeg.saveToData();
    EXPECT_FALSE(saved.contains("Exif"));
    JpegImage again;
    again.loadFromData(saved);
    EXPECT_EQ(again.Orientation(), 1);
    EXPECT_EQ(again.width(), jpeg.width());
}

}  // namespace
}  // namespace tessaly
