#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <algorithm>
#include <random>
#include <vector>

#include "core/imaging/pixels/pixelimage.h"
#include "support/tempdir.h"
#include "support/testimages.h"

namespace tessaly {
namespace {

void put(QByteArray& b, quint32 value, int size) {
    for (int i = 0; i < size; ++i) b.append(char((value >> (8 * i)) & 0xFF));
}

// A BMP file put together field by field.
struct Bmp {
    int headerSize = 40;
    qint32 width = 1;
    qint32 height = 1;
    int bits = 24;
    quint32 compression = 0;
    quint32 colorsUsed = 0;
    std::vector<quint32> palette;  // 0x00BBGGRR colours
    std::vector<quint32> masks;    // red, green, blue
    QByteArray pixels;

    QByteArray build() const {
        QByteArray info;
        if (headerSize == 12) {
            put(info, quint32(width), 2), put(info, quint32(height), 2);
            put(info, 1, 2), put(info, quint32(bits), 2);
        } else {
            put(info, quint32(width), 4), put(info, quint32(height), 4);
            put(info, 1, 2), put(info, quint32(bits), 2);
            put(info, compression, 4), put(info, quint32(pixels.size()), 4);
            put(info, 2835, 4), put(info, 2835, 4), put(info, colorsUsed, 4), put(info, 0, 4);
            // 52-byte headers hold the RGB masks, longer ones the alpha mask too.
            const size_t held = std::min<size_t>(masks.size(), headerSize == 52 ? 3 : 4);
            for (size_t i = 0; headerSize > 40 && i < held; ++i) put(info, masks[i], 4);
        }
        info.append(QByteArray(headerSize - 4 - info.size(), '\0'));
        if (headerSize == 40 && (compression == 3 || compression == 6)) {
            for (quint32 m : masks) put(info, m, 4);
        }
        for (quint32 c : palette) {
            info.append(char(c >> 16)).append(char(c >> 8)).append(char(c));
            if (headerSize != 12) info.append('\0');
        }
        QByteArray file("BM");
        put(file, quint32(14 + 4 + info.size() + pixels.size()), 4);
        put(file, 0, 4);
        put(file, quint32(14 + 4 + info.size()), 4);
        put(file, quint32(headerSize), 4);
        return file + info + pixels;
    }
};

template <typename F>
void expectRefused(F f, const char* message) {
    try {
        f();
        ADD_FAILURE() << "loaded, expected " << message;
    } catch (const BmpFormatError& e) {
        EXPECT_EQ(e.message(), QString::fromLatin1(message));
    }
}

void expectRefused(const QByteArray& data, const char* message) {
    expectRefused([&] { PixelImage().loadFromData(data); }, message);
}

PixelImage load(const QByteArray& data) {
    PixelImage dib;
    dib.loadFromData(data);
    return dib;
}

// 8-bit rows (bottom row first) padded to 4 bytes.
QByteArray rows8(const std::vector<std::vector<int>>& topDownRows) {
    QByteArray out;
    for (auto it = topDownRows.rbegin(); it != topDownRows.rend(); ++it) {
        for (int v : *it) out.append(char(v));
        while (out.size() % 4) out.append('\0');
    }
    return out;
}

TEST(BmpReader, TwentyFourBitBottomUpAndFromFile) {
    test::TempDir dir;
    dir.write("p.bmp", test::makeTestBmp24(7, 5));
    PixelImage dib;
    dib.loadFromFile(dir.file("p.bmp"));
    ASSERT_EQ(dib.width(), 7);
    ASSERT_EQ(dib.height(), 5);
    EXPECT_EQ(dib.pixelFormat(), PixelFormat::Bgr24);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) EXPECT_EQ(dib.pixel(x, y), test::testPatternColor(x, y, 7, 5));
    EXPECT_THROW(dib.loadFromFile(dir.file("missing.bmp")), IoError);
}

TEST(BmpReader, TopDownRowsAndLongerHeaders) {
    for (int headerSize : {40, 52, 56, 108, 124}) {
        Bmp bmp;
        bmp.headerSize = headerSize;
        bmp.width = 2, bmp.height = -2;
        bmp.masks = {0, 0, 0};
        bmp.pixels = QByteArray::fromHex("010203 0a0b0c 0000 111213 212223 0000");
        const PixelImage dib = load(bmp.build());
        EXPECT_TRUE(dib.topDown());
        EXPECT_EQ(dib.pixel(0, 0), 0x010203u);  // bytes blue 01 green 02 red 03
        EXPECT_EQ(dib.pixel(1, 0), 0x0a0b0cu);
        EXPECT_EQ(dib.pixel(1, 1), 0x212223u);
    }
}

TEST(BmpReader, PaletteImagesOfOneFourAndEightBits) {
    Bmp one;
    one.bits = 1, one.width = 9, one.height = 2;
    one.palette = {0x000000, 0x00FFFFFF};
    one.pixels = QByteArray::fromHex("80800000 41000000");  // bottom row, then top row
    PixelImage dib = load(one.build());
    EXPECT_EQ(dib.pixelFormat(), PixelFormat::Indexed1);
    EXPECT_EQ(dib.pixel(1, 0), 1u);
    EXPECT_EQ(dib.pixel(7, 0), 1u);
    EXPECT_EQ(dib.pixel(8, 0), 0u);
    EXPECT_EQ(dib.pixel(0, 1), 1u);
    EXPECT_EQ(dib.pixel(8, 1), 1u);
    EXPECT_EQ(dib.color(1), 0x00FFFFFFu);

    Bmp four;
    four.bits = 4, four.width = 3, four.height = 1, four.colorsUsed = 3;
    four.palette = {0x0000FF, 0x00FF00, 0xFF0000};
    four.pixels = QByteArray::fromHex("21000000");
    dib = load(four.build());
    EXPECT_EQ(dib.pixelFormat(), PixelFormat::Indexed4);
    EXPECT_EQ(dib.colorCount(), 3);
    EXPECT_EQ(dib.pixel(0, 0), 2u);
    EXPECT_EQ(dib.pixel(1, 0), 1u);
    dib.setPixelFormat(PixelFormat::Bgr24);
    EXPECT_EQ(dib.pixel(0, 0), 0xFF0000u);

    Bmp eight;
    eight.bits = 8, eight.width = 2, eight.height = 2, eight.colorsUsed = 256;
    eight.palette.assign(256, 0);
    eight.palette[200] = 0x00123456;
    eight.pixels = rows8({{200, 1}, {2, 3}});
    dib = load(eight.build());
    EXPECT_EQ(dib.pixel(0, 0), 200u);
    EXPECT_EQ(dib.pixel(1, 1), 3u);
    EXPECT_EQ(dib.color(200), 0x00123456u);
}

TEST(BmpReader, Os2HeaderWidensThreeByteColours) {
    Bmp bmp;
    bmp.headerSize = 12, bmp.bits = 8, bmp.width = 3, bmp.height = 1;
    bmp.palette.assign(256, 0);
    bmp.palette[5] = 0x00ABCDEF;
    bmp.pixels = rows8({{5, 0, 5}});
    PixelImage dib = load(bmp.build());
    EXPECT_EQ(dib.pixel(2, 0), 5u);
    EXPECT_EQ(dib.color(5), 0x00ABCDEFu);
    bmp.bits = 16;
    expectRefused(bmp.build(), "TNkInternalDIB.LoadFromStream: Invalid BitCount");
}

TEST(BmpReader, MoreThan256ColoursUseTheFirst256) {
    Bmp bmp;
    bmp.bits = 8, bmp.width = 1, bmp.height = 1, bmp.colorsUsed = 300;
    bmp.palette.assign(300, 0x00010101);
    bmp.palette[255] = 0x00FFEEDD;
    bmp.pixels = rows8({{255}});
    const PixelImage dib = load(bmp.build());
    EXPECT_EQ(dib.colorCount(), 256);
    EXPECT_EQ(dib.color(255), 0x00FFEEDDu);
}

TEST(BmpReader, SixteenAndThirtyTwoBitsThroughMasks) {
    Bmp b555;  // standard 5-5-5: white, pure red
    b555.bits = 16, b555.width = 2, b555.height = 1;
    b555.pixels = QByteArray::fromHex("ff7f 007c");
    PixelImage dib = load(b555.build());
    EXPECT_EQ(dib.pixelFormat(), PixelFormat::Bgr24);
    EXPECT_EQ(dib.pixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(dib.pixel(1, 0), 0x0000FFu);

    Bmp b565 = b555;  // 5-6-5 bit fields: pure green, half blue
    b565.compression = 3;
    b565.masks = {0xF800, 0x07E0, 0x001F};
    b565.pixels = QByteArray::fromHex("e007 1000");
    dib = load(b565.build());
    EXPECT_EQ(dib.pixel(0, 0), 0x00FF00u);
    EXPECT_EQ(dib.pixel(1, 0), quint32((16 * 255 + 15) / 31) << 16);

    for (int headerSize : {40, 52, 56, 124}) {
        for (quint32 compression : {3u, 6u}) {  // bit fields, and bit fields with alpha
            SCOPED_TRACE(headerSize * 10 + int(compression));
            Bmp b32;  // channels in an unusual order: red in the low byte, alpha ignored
            b32.headerSize = headerSize;
            b32.bits = 32, b32.width = 1, b32.height = 1, b32.compression = compression;
            b32.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
            if (compression == 6) b32.masks.push_back(0xFF000000);
            b32.pixels = QByteArray::fromHex("11223344");
            EXPECT_EQ(load(b32.build()).pixel(0, 0), 0x00332211u);
            b32.compression = 0;  // standard 8-8-8: blue in the low byte
            EXPECT_EQ(load(b32.build()).pixel(0, 0), 0x00112233u);
            Bmp b16 = b565;  // 5-6-5 through the masks of the longer header
            b16.headerSize = headerSize, b16.compression = compression;
            if (compression == 6) b16.masks.push_back(0);
            EXPECT_EQ(load(b16.build()).pixel(0, 0), 0x00FF00u);
        }
    }
    b565.masks = {0xF800, 0, 0x001F};
    expectRefused(b565.build(), "TNkInternalDIB.LoadFromStream: Invalid Masks");
}

TEST(BmpReader, RunLengthEightAndFour) {
    Bmp rle8;
    rle8.bits = 8, rle8.width = 5, rle8.height = 3, rle8.compression = 1;
    rle8.palette.assign(256, 0);
    // Bottom row: run 2 x 7, absolute 2 9 5 (padded); end of line. Delta (2, 1) skips the
    // middle row to x 2 of the top row; run 2 x 4; end of bitmap.
    rle8.pixels = QByteArray::fromHex("0207 0003020905 00 0000 00020201 0204 0001");
    PixelImage dib = load(rle8.build());
    EXPECT_EQ(dib.pixelFormat(), PixelFormat::Indexed8);
    const std::vector<std::vector<quint32>> rows = {
        {0, 0, 4, 4, 0}, {0, 0, 0, 0, 0}, {7, 7, 2, 9, 5}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(dib.pixel(x, y), rows[y][x]) << x << "," << y;

    Bmp rle4 = rle8;
    rle4.bits = 4, rle4.compression = 2, rle4.width = 6, rle4.height = 1;
    rle4.palette.assign(16, 0);
    rle4.pixels = QByteArray::fromHex("03ab 0003 cde0 0001");  // a b a, absolute c d e
    dib = load(rle4.build());
    const quint32 expected[6] = {0xa, 0xb, 0xa, 0xc, 0xd, 0xe};
    for (int x = 0; x < 6; ++x) EXPECT_EQ(dib.pixel(x, 0), expected[x]);
}

TEST(BmpReader, RunLengthPastTheRowOrImageIsRefused) {
    Bmp bmp;
    bmp.bits = 8, bmp.width = 4, bmp.height = 2, bmp.compression = 1;
    bmp.palette.assign(256, 0);
    const char* bad =
        "TNkInternalDIB.LoadFromStream: Run-length data runs past the row or the image";
    bmp.pixels = QByteArray::fromHex("0501 0001");  // 5 pixels in a 4-pixel row
    expectRefused(bmp.build(), bad);
    bmp.pixels = QByteArray::fromHex("0301 000301020300 0001");  // absolute run past the row
    expectRefused(bmp.build(), bad);
    bmp.pixels = QByteArray::fromHex("0000 0000 0201 0001");  // a third row in a 2-row image
    expectRefused(bmp.build(), bad);
    bmp.pixels = QByteArray::fromHex("00020005 0001");  // delta below the image
    expectRefused(bmp.build(), bad);
    bmp.pixels = QByteArray::fromHex("0401 00");  // stream ends inside the data
    expectRefused(bmp.build(),
                  "TNkInternalDIB.LoadFromStream: The file is truncated or its data offsets are "
                  "invalid");
    bmp.height = -2;  // run-length rows are always bottom-up
    bmp.pixels = QByteArray::fromHex("0001");
    expectRefused(bmp.build(), "TNkInternalDIB.LoadFromStream: Invalid biBitCount");
}

TEST(BmpReader, HeaderErrorsHaveTheirTexts) {
    QByteArray good = test::makeTestBmp24(3, 3);
    QByteArray data = good;
    data[1] = 'X';
    expectRefused(data, "TNkInternalDIB.LoadFromFile: File type is invalid");
    expectRefused(QByteArray("B"), "TNkInternalDIB.LoadFromFile: File type is invalid");
    data = good;
    data[14] = 64;
    expectRefused(data, "TNkInternalDIB.LoadFromStream: Invalid Bitmap Header Size");
    Bmp bmp;
    bmp.bits = 2;
    bmp.pixels = QByteArray(4, '\0');
    expectRefused(bmp.build(), "TNkInternalDIB.LoadFromStream: Invalid BitCout");
    bmp.bits = 4, bmp.compression = 1;
    expectRefused(bmp.build(), "TNkInternalDIB.LoadFromStream: Invalid biBitCount");
    bmp.bits = 24, bmp.compression = 4;  // embedded JPEG
    expectRefused(bmp.build(), "TNkInternalDIB.LoadFromStream: Invalid biBitCount");
    bmp.compression = 0, bmp.width = 0;
    expectRefused(bmp.build(), "TNkInternalDIB.LoadFromStream: Invalid Width or Height");
    bmp.width = 1, bmp.height = 0;
    expectRefused(bmp.build(), "TNkInternalDIB.LoadFromStream: Invalid Width or Height");
    bmp.width = -3, bmp.height = 1;
    expectRefused(bmp.build(), "TNkInternalDIB.LoadFromStream: Invalid Width or Height");
}

TEST(BmpReader, AbsurdSizeIsRefusedBeforeAllocation) {
    Bmp bmp;
    bmp.width = 200000, bmp.height = 200000;
    bmp.pixels = QByteArray(16, '\0');
    expectRefused(bmp.build(), "TNkInternalDIB.LoadFromStream: The image is too large");
    bmp.width = 1, bmp.height = -2147483647 - 1;
    expectRefused(bmp.build(), "TNkInternalDIB.LoadFromStream: The image is too large");
}

TEST(BmpReader, TruncatedFilesAreRefusedAndFailedLoadDropsOldContent) {
    const QByteArray good = test::makeTestBmp24(5, 4);
    for (int size = 0; size < good.size(); ++size) {
        PixelImage dib(9, 9, PixelFormat::Bgr24);
        EXPECT_THROW(dib.loadFromData(good.left(size)), BmpFormatError) << size;
        EXPECT_EQ(dib.width(), 1);
        EXPECT_EQ(dib.pixelFormat(), PixelFormat::Indexed8);
    }
    QByteArray badOffset = good;
    badOffset[10] = char(0xF0), badOffset[11] = char(0xFF);
    expectRefused(badOffset,
                  "TNkInternalDIB.LoadFromStream: The file is truncated or its data offsets are "
                  "invalid");
}

// Random damage to valid files of every kind: each either loads or is refused cleanly
// (the sanitizer build checks that no byte outside the data is touched).
TEST(BmpReader, DamagedFilesNeverCrash) {
    Bmp rle;
    rle.bits = 8, rle.width = 5, rle.height = 3, rle.compression = 1;
    rle.palette.assign(20, 0x00102030);
    rle.colorsUsed = 20;
    rle.pixels = QByteArray::fromHex("0207 0003020905 00 0000 00020201 0204 0001");
    Bmp masked;
    masked.bits = 16, masked.width = 3, masked.height = 2, masked.compression = 3;
    masked.masks = {0xF800, 0x07E0, 0x001F};
    masked.pixels = QByteArray(16, '\x5a');
    const std::vector<QByteArray> originals = {rle.build(), masked.build(),
                                               test::makeTestBmp24(6, 3)};
    std::mt19937 random(12345);
    int loaded = 0;
    for (const QByteArray& original : originals) {
        for (int round = 0; round < 400; ++round) {
            QByteArray data = original;
            const int changes = 1 + int(random() % 4);
            for (int i = 0; i < changes; ++i) {
                data[int(random() % unsigned(data.size()))] = char(random() % 256);
            }
            if (round % 3 == 0) data.truncate(int(random() % unsigned(data.size() + 1)));
            try {
                const PixelImage dib = load(data);
                ++loaded;
                EXPECT_GE(dib.width(), 1);
            } catch (const BmpFormatError&) {
            } catch (const ImageSizeError&) {
            }
        }
    }
    EXPECT_GT(loaded, 0);
}

QString suiteFolder() { return test::bmpSuiteFolder(); }

// Mean absolute channel difference between two pictures of the same size.
double meanDifference(const PixelImage& a, const PixelImage& b) {
    PixelImage x = a, y = b;
    x.setPixelFormat(PixelFormat::Bgr24);
    y.setPixelFormat(PixelFormat::Bgr24);
    double total = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int col = 0; col < x.width(); ++col) {
            const quint32 p = x.pixel(col, row), q = y.pixel(col, row);
            for (int s = 0; s < 24; s += 8) {
                total += std::abs(int((p >> s) & 0xFF) - int((q >> s) & 0xFF));
            }
        }
    }
    return total / (3.0 * x.width() * x.height());
}

TEST(BmpSuite, GoodFilesLoadAsDescribed) {
    const QString good = suiteFolder() + "/g";
    if (!QFileInfo(good + "/rgb24.bmp").exists()) GTEST_SKIP() << "skipped: no BMP suite";
    PixelImage reference;
    reference.loadFromFile(good + "/rgb24.bmp");
    ASSERT_EQ(reference.width(), 127);
    ASSERT_EQ(reference.height(), 64);
    PixelImage paletted;
    paletted.loadFromFile(good + "/pal8.bmp");
    // Files holding the same pixels as pal8.bmp or rgb24.bmp in other layouts, and the
    // 16-bit ones, which hold fewer bits per channel.
    const QStringList samePal8 = {"pal8-0.bmp",      "pal8os2.bmp", "pal8rle.bmp",
                                  "pal8topdown.bmp", "pal8v4.bmp",  "pal8v5.bmp"};
    const QStringList sameRgb24 = {"rgb24pal.bmp", "rgb32.bmp", "rgb32bf.bmp", "rgb32bfdef.bmp"};
    const QStringList fewerBits = {"rgb16.bmp", "rgb16bfdef.bmp", "rgb16-565.bmp",
                                   "rgb16-565pal.bmp"};
    int count = 0;
    for (const QString& name : QDir(good).entryList({"*.bmp"}, QDir::Files)) {
        SCOPED_TRACE(name.toStdString());
        PixelImage dib;
        ASSERT_NO_THROW(dib.loadFromFile(good + "/" + name));
        ++count;
        if (name.startsWith("pal8w")) {
            EXPECT_EQ(dib.width(), name.mid(5, 3).toInt());
        } else {
            EXPECT_EQ(dib.width(), 127);
            EXPECT_EQ(dib.height(), name == "pal8nonsquare.bmp" ? 32 : 64);
        }
        if (name == "pal1wb.bmp" || name == "pal4rle.bmp") {
            // Other palette order, or run-length data: the same picture as pal1 / pal4.
            PixelImage plain;
            plain.loadFromFile(good + (name == "pal1wb.bmp" ? "/pal1.bmp" : "/pal4.bmp"));
            EXPECT_EQ(meanDifference(dib, plain), 0.0);
        } else if (samePal8.contains(name)) {
            EXPECT_EQ(meanDifference(dib, paletted), 0.0);
        } else if (sameRgb24.contains(name)) {
            EXPECT_EQ(meanDifference(dib, reference), 0.0);
        } else if (fewerBits.contains(name)) {
            EXPECT_LT(meanDifference(dib, reference), 4.0);
        }
    }
    EXPECT_GE(count, 27);
    // Headers of 52 and 56 bytes and BI_ALPHABITFIELDS, as image editors write them: the
    // colours of the same pixels read through a 124-byte header, the alpha channel ignored.
    PixelImage withAlpha;
    withAlpha.loadFromFile(suiteFolder() + "/q/rgba32-2.bmp");
    for (const char* name : {"rgb32h52.bmp", "rgba32h56.bmp", "rgba32abf.bmp"}) {
        SCOPED_TRACE(name);
        PixelImage dib;
        ASSERT_NO_THROW(dib.loadFromFile(suiteFolder() + "/q/" + name));
        EXPECT_EQ(meanDifference(dib, name[3] == 'a' ? withAlpha : reference), 0.0);
    }
}

TEST(BmpSuite, BadAndQuestionableFilesAreRefusedCleanlyOrLoad) {
    if (!QFileInfo(suiteFolder() + "/b").exists()) GTEST_SKIP() << "skipped: no BMP suite";
    for (const QString& folder : {QString("b"), QString("q")}) {
        QDirIterator it(suiteFolder() + "/" + folder, {"*.bmp"}, QDir::Files);
        while (it.hasNext()) {
            const QString path = it.next();
            PixelImage dib;
            try {
                dib.loadFromFile(path);
                EXPECT_GE(dib.width() * dib.height(), 1);
            } catch (const ImageError&) {
            }
        }
    }
}

}  // namespace
}  // namespace tessaly
