#include <gtest/gtest.h>

#include "core/imaging/metadata/orientation.h"
#include "core/imaging/pixels/pixelimage.h"

namespace tessaly {
namespace {

template <typename E, typename F>
void expectError(F f, const char* message) {
    try {
        f();
        ADD_FAILURE() << "no error, expected " << message;
    } catch (const E& e) {
        EXPECT_EQ(e.message(), QString::fromLatin1(message));
    }
}

TEST(PixelImage, NewImageIsOnePixelEightBitsZero) {
    PixelImage dib;
    EXPECT_EQ(dib.width(), 1);
    EXPECT_EQ(dib.height(), 1);
    EXPECT_EQ(dib.pixelFormat(), PixelFormat::Indexed8);
    EXPECT_EQ(dib.colorCount(), 2);
    EXPECT_EQ(dib.pixel(0, 0), 0u);
    EXPECT_EQ(dib.color(0), 0u);
    EXPECT_EQ(dib.color(1), 0u);
}

TEST(PixelImage, SetWidthGivesZeroedImageOfSameFormat) {
    PixelImage dib(10, 4, PixelFormat::Bgr24);
    dib.setPixel(3, 2, 0x123456);
    dib.setWidth(20);
    EXPECT_EQ(dib.width(), 20);
    EXPECT_EQ(dib.height(), 4);
    EXPECT_EQ(dib.pixelFormat(), PixelFormat::Bgr24);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 20; ++x) EXPECT_EQ(dib.pixel(x, y), 0u);
    dib.setPixel(0, 0, 0xFFFFFF);
    dib.setWidth(20);  // unchanged: nothing happens
    EXPECT_EQ(dib.pixel(0, 0), 0xFFFFFFu);
    dib.setHeight(-3);  // top-down rows
    EXPECT_TRUE(dib.topDown());
    EXPECT_EQ(dib.height(), 3);
}

TEST(PixelImage, SizeErrorsNameSetWidthAndKeepTheImage) {
    PixelImage dib(4, 4, PixelFormat::Bgr24);
    dib.setPixel(1, 1, 7);
    expectError<ImageSizeError>([&] { dib.setWidth(0); }, "TNkDIB.SetWidth: Invalid Width");
    expectError<ImageSizeError>([&] { dib.setWidth(-5); }, "TNkDIB.SetWidth: Invalid Width");
    expectError<ImageSizeError>([&] { dib.setHeight(0); }, "TNkDIB.SetWidth: Invalid Height");
    EXPECT_EQ(dib.pixel(1, 1), 7u);
    expectError<ImageSizeError>([] { PixelImage bad(0, 5, PixelFormat::Bgr24); },
                                "TNkInternalDIB.CreateDIB: Invalid Parameters");
    expectError<ImageSizeError>([] { PixelImage huge(100000, 100000, PixelFormat::Bgr24); },
                                "TNkInternalDIB.CreateDIB: Invalid Parameters");
}

TEST(PixelImage, OutOfRangeAccessIsRefused) {
    PixelImage dib(5, 3, PixelFormat::Bgr24);
    const char* get = "TNkDIB.GetPixels: Pixel Position is Out of Range";
    const char* set = "TNkDIB.SetPixels: Pixel Position is Out of Range";
    const char* line = "TNkDIB.GetScanLine: y is Out of Range";
    expectError<PixelRangeError>([&] { dib.pixel(5, 0); }, get);
    expectError<PixelRangeError>([&] { dib.pixel(0, 3); }, get);
    expectError<PixelRangeError>([&] { dib.pixel(-1, 0); }, get);
    expectError<PixelRangeError>([&] { dib.setPixel(0, -1, 0); }, set);
    expectError<PixelRangeError>([&] { dib.scanLine(3); }, line);
    expectError<PixelRangeError>([&] { dib.constScanLine(-1); }, line);
}

TEST(PixelImage, BottomUpStrideAndRowAddresses) {
    PixelImage dib(5, 4, PixelFormat::Bgr24);
    EXPECT_EQ(dib.stride(), 16);
    EXPECT_FALSE(dib.topDown());
    const uchar* row0 = dib.constScanLine(0);
    const uchar* row3 = dib.constScanLine(3);
    EXPECT_EQ(row0 - row3, 3 * 16);  // row 0 is the last stored row
    PixelImage topDown(5, -4, PixelFormat::Bgr24);
    EXPECT_EQ(topDown.constScanLine(3) - topDown.constScanLine(0), 3 * 16);
    EXPECT_EQ(PixelImage(3, 1, PixelFormat::Indexed1).stride(), 4);
    EXPECT_EQ(PixelImage(33, 1, PixelFormat::Indexed1).stride(), 8);
    EXPECT_EQ(PixelImage(9, 1, PixelFormat::Indexed4).stride(), 8);
}

TEST(PixelImage, ColourValueByteOrder) {
    PixelImage dib(5, 2, PixelFormat::Bgr24);
    const quint32 colour = 0x00FF8000;  // red 0, green 128, blue 255
    dib.setPixel(2, 1, colour);
    const uchar* p = dib.constScanLine(1) + 3 * 2;
    EXPECT_EQ(p[0], 255);
    EXPECT_EQ(p[1], 128);
    EXPECT_EQ(p[2], 0);
    EXPECT_EQ(dib.pixel(2, 1), colour);
}

TEST(PixelImage, PaletteFormatsStoreIndices) {
    PixelImage four(3, 1, PixelFormat::Indexed4);
    four.setPixel(0, 0, 0xA);
    four.setPixel(1, 0, 0x5);
    EXPECT_EQ(four.constScanLine(0)[0], 0xA5);
    EXPECT_EQ(four.pixel(1, 0), 5u);
    PixelImage one(10, 1, PixelFormat::Indexed1);
    one.setPixel(1, 0, 1);
    one.setPixel(9, 0, 1);
    EXPECT_EQ(one.constScanLine(0)[0], 0x40);
    EXPECT_EQ(one.constScanLine(0)[1], 0x40);
    EXPECT_EQ(one.pixel(9, 0), 1u);
    EXPECT_EQ(one.pixel(8, 0), 0u);
    PixelImage eight(2, 1, PixelFormat::Indexed8);
    eight.setPixel(0, 0, 0x1FF);
    EXPECT_EQ(eight.pixel(0, 0), 0xFFu);
}

TEST(PixelImage, CopiesShareUntilOneWrites) {
    PixelImage a(4, 4, PixelFormat::Bgr24);
    a.setPixel(1, 1, 0x010203);
    PixelImage b = a;
    EXPECT_TRUE(a.sharesStorageWith(b));
    b.setPixel(1, 1, 0x0A0B0C);
    EXPECT_FALSE(a.sharesStorageWith(b));
    EXPECT_EQ(a.pixel(1, 1), 0x010203u);
    EXPECT_EQ(b.pixel(1, 1), 0x0A0B0Cu);

    PixelImage c = a;
    c.scanLine(0)[0] = 99;  // handing out a row address makes the storage private
    EXPECT_FALSE(a.sharesStorageWith(c));
    EXPECT_EQ(a.constScanLine(0)[0], 0);
    PixelImage d = a;
    d.constScanLine(0);
    a.pixel(0, 0);
    EXPECT_TRUE(a.sharesStorageWith(d));  // reads keep sharing
}

TEST(PixelImage, FormatIncreaseKeepsColoursExactly) {
    PixelImage dib(3, 2, PixelFormat::Indexed4);
    dib.setColor(3, 0x00112233);
    dib.setColor(7, 0x00ABCDEF);
    dib.setPixel(0, 0, 3);
    dib.setPixel(2, 1, 7);
    PixelImage wide = dib;
    wide.setPixelFormat(PixelFormat::Indexed8);
    EXPECT_EQ(wide.pixel(2, 1), 7u);
    EXPECT_EQ(wide.color(7), 0x00ABCDEFu);
    dib.setPixelFormat(PixelFormat::Bgr24);
    EXPECT_EQ(dib.pixelFormat(), PixelFormat::Bgr24);
    EXPECT_EQ(dib.pixel(0, 0), 0x00112233u);
    EXPECT_EQ(dib.pixel(2, 1), 0x00ABCDEFu);
    EXPECT_EQ(dib.pixel(1, 0), 0u);
}

TEST(PixelImage, ReductionMapsToNearestColour) {
    PixelImage dib(2, 1, PixelFormat::Bgr24);
    dib.setPixel(0, 0, 0x0000FF);  // pure red
    dib.setPixel(1, 0, 0xFFFFFF);
    PixelImage eight = dib;
    eight.setPixelFormat(PixelFormat::Indexed8);
    EXPECT_EQ(eight.color(int(eight.pixel(0, 0))), 0x0000FFu);
    EXPECT_EQ(eight.color(int(eight.pixel(1, 0))), 0xFFFFFFu);
    dib.setPixelFormat(PixelFormat::Indexed1);
    EXPECT_EQ(dib.color(int(dib.pixel(1, 0))), 0xFFFFFFu);
}

TEST(PixelImage, RunLengthFormatsRoundTripAndRefusePixelAccess) {
    PixelImage dib(7, 3, PixelFormat::Indexed8);
    for (int x = 0; x < 7; ++x) dib.setPixel(x, 1, x < 4 ? 9 : quint32(x));
    PixelImage packed = dib;
    packed.setPixelFormat(PixelFormat::Rle8);
    EXPECT_EQ(packed.pixelFormat(), PixelFormat::Rle8);
    expectError<CompressedImageError>([&] { packed.pixel(0, 0); },
                                      "TNkDIB.GetPixels: Bad DIB Type");
    expectError<CompressedImageError>([&] { packed.setPixel(0, 0, 1); },
                                      "TNkDIB.SetPixels: Bad DIB Type");
    expectError<CompressedImageError>([&] { packed.scanLine(0); },
                                      "TNkDIB.GetScanLine: Bad DIB Type");
    packed.setPixelFormat(PixelFormat::Indexed8);
    for (int x = 0; x < 7; ++x) EXPECT_EQ(packed.pixel(x, 1), dib.pixel(x, 1));

    PixelImage four(5, 2, PixelFormat::Indexed4);
    const quint32 values[5] = {1, 2, 1, 2, 15};
    for (int x = 0; x < 5; ++x) four.setPixel(x, 0, values[x]);
    four.setPixelFormat(PixelFormat::Rle4);
    four.setPixelFormat(PixelFormat::Indexed4);
    for (int x = 0; x < 5; ++x) EXPECT_EQ(four.pixel(x, 0), values[x]);
}

TEST(PixelImage, CutKeepsTopLeftCorner) {
    PixelImage dib(4, 3, PixelFormat::Bgr24);
    dib.setPixel(1, 1, 0x111111);
    dib.setPixel(3, 2, 0x222222);
    dib.cutTo(2, 2);
    EXPECT_EQ(dib.width(), 2);
    EXPECT_EQ(dib.height(), 2);
    EXPECT_EQ(dib.pixel(1, 1), 0x111111u);
    EXPECT_THROW(dib.cutTo(3, 1), ImageSizeError);
    EXPECT_THROW(dib.cutTo(1, 0), ImageSizeError);
}

// Top row A B C, bottom row D E F.
PixelImage abcdef(PixelFormat format) {
    PixelImage dib(3, 2, format);
    const quint32 colours[6] = {0xA, 0xB, 0xC, 0xD, 0xE, 0xF};
    for (int i = 0; i < 6; ++i) dib.setPixel(i % 3, i / 3, colours[i]);
    return dib;
}

void expectRows(const PixelImage& dib, std::vector<std::vector<quint32>> rows) {
    ASSERT_EQ(dib.height(), int(rows.size()));
    ASSERT_EQ(dib.width(), int(rows[0].size()));
    for (int y = 0; y < dib.height(); ++y)
        for (int x = 0; x < dib.width(); ++x) EXPECT_EQ(dib.pixel(x, y), rows[y][x]) << x << y;
}

TEST(PixelImage, RotationsOfThreeByTwo) {
    for (PixelFormat format : {PixelFormat::Bgr24, PixelFormat::Indexed8}) {
        const PixelImage source = abcdef(format);
        const PixelImage right = rotatedRight(source);
        EXPECT_EQ(right.pixelFormat(), format);
        expectRows(right, {{0xD, 0xA}, {0xE, 0xB}, {0xF, 0xC}});
        expectRows(rotatedLeft(source), {{0xC, 0xF}, {0xB, 0xE}, {0xA, 0xD}});
        expectRows(rotatedLeft(rotatedRight(source)), {{0xA, 0xB, 0xC}, {0xD, 0xE, 0xF}});
    }
}

TEST(PixelImage, RotationKeepsTheColourTable) {
    PixelImage source = abcdef(PixelFormat::Indexed8);
    source.setColor(0xA, 0x00345678);
    const PixelImage right = rotatedRight(source);
    EXPECT_EQ(right.colorCount(), source.colorCount());
    EXPECT_EQ(right.color(0xA), 0x00345678u);
}

TEST(PixelImage, RotationOfTopDownImage) {
    PixelImage source(3, -2, PixelFormat::Bgr24);
    const quint32 colours[6] = {1, 2, 3, 4, 5, 6};
    for (int i = 0; i < 6; ++i) source.setPixel(i % 3, i / 3, colours[i]);
    expectRows(rotatedRight(source), {{4, 1}, {5, 2}, {6, 3}});
}

}  // namespace
}  // namespace tessaly

namespace tessaly {
namespace {

// Shown rows of the 3 x 2 picture (top A B C, bottom D E F) for each Orientation value.
TEST(Orientation, EveryValueShowsThePictureUpright) {
    const std::vector<std::vector<std::vector<quint32>>> shown = {
        {{0xA, 0xB, 0xC}, {0xD, 0xE, 0xF}},    // 1
        {{0xC, 0xB, 0xA}, {0xF, 0xE, 0xD}},    // 2 mirrored
        {{0xF, 0xE, 0xD}, {0xC, 0xB, 0xA}},    // 3 half turn
        {{0xD, 0xE, 0xF}, {0xA, 0xB, 0xC}},    // 4 flipped
        {{0xA, 0xD}, {0xB, 0xE}, {0xC, 0xF}},  // 5 transposed
        {{0xD, 0xA}, {0xE, 0xB}, {0xF, 0xC}},  // 6 clockwise
        {{0xF, 0xC}, {0xE, 0xB}, {0xD, 0xA}},  // 7 transversed
        {{0xC, 0xF}, {0xB, 0xE}, {0xA, 0xD}},  // 8 counter-clockwise
    };
    for (PixelFormat format : {PixelFormat::Bgr24, PixelFormat::Indexed8}) {
        const PixelImage source = abcdef(format);
        for (int value = 1; value <= 8; ++value) {
            SCOPED_TRACE(value);
            expectRows(applyOrientation(source, value), shown[size_t(value - 1)]);
        }
        expectRows(applyOrientation(source, 0), shown[0]);
        expectRows(applyOrientation(source, 9), shown[0]);
    }
    EXPECT_EQ(rotatedRight(abcdef(PixelFormat::Bgr24)).pixel(1, 2),
              applyOrientation(abcdef(PixelFormat::Bgr24), 6).pixel(1, 2));
}

}  // namespace
}  // namespace tessaly
