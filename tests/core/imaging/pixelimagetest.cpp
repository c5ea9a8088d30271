#include <gtest/gtest.h>

#include "core/imaging/orientation.h"
#include "core/imaging/pixelimage.h"

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
    EXPECT_EQ(dib.Width(), 1);
    EXPECT_EQ(dib.Height(), 1);
    EXPECT_EQ(dib.pixelFormat(), PixelFormat::Indexed8);
    EXPECT_EQ(dib.ColorCount(), 2);
    EXPECT_EQ(dib.Pixels(0, 0), 0u);
    EXPECT_EQ(dib.Colors(0), 0u);
    EXPECT_EQ(dib.Colors(1), 0u);
}

TEST(PixelImage, SetWidthGivesZeroedImageOfSameFormat) {
    PixelImage dib(10, 4, PixelFormat::Bgr24);
    dib.SetPixels(3, 2, 0x123456);
    dib.SetWidth(20);
    EXPECT_EQ(dib.Width(), 20);
    EXPECT_EQ(dib.Height(), 4);
    EXPECT_EQ(dib.pixelFormat(), PixelFormat::Bgr24);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 20; ++x) EXPECT_EQ(dib.Pixels(x, y), 0u);
    dib.SetPixels(0, 0, 0xFFFFFF);
    dib.SetWidth(20);  // unchanged: nothing happens
    EXPECT_EQ(dib.Pixels(0, 0), 0xFFFFFFu);
    dib.SetHeight(-3);  // top-down rows
    EXPECT_TRUE(dib.TopDown());
    EXPECT_EQ(dib.Height(), 3);
}

TEST(PixelImage, SizeErrorsNameSetWidthAndKeepTheImage) {
    PixelImage dib(4, 4, PixelFormat::Bgr24);
    dib.SetPixels(1, 1, 7);
    expectError<ImageSizeError>([&] { dib.SetWidth(0); }, "TNkDIB.SetWidth: Invalid Width");
    expectError<ImageSizeError>([&] { dib.SetWidth(-5); }, "TNkDIB.SetWidth: Invalid Width");
    expectError<ImageSizeError>([&] { dib.SetHeight(0); }, "TNkDIB.SetWidth: Invalid Height");
    EXPECT_EQ(dib.Pixels(1, 1), 7u);
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
    expectError<PixelRangeError>([&] { dib.Pixels(5, 0); }, get);
    expectError<PixelRangeError>([&] { dib.Pixels(0, 3); }, get);
    expectError<PixelRangeError>([&] { dib.Pixels(-1, 0); }, get);
    expectError<PixelRangeError>([&] { dib.SetPixels(0, -1, 0); }, set);
    expectError<PixelRangeError>([&] { dib.ScanLine(3); }, line);
    expectError<PixelRangeError>([&] { dib.ConstScanLine(-1); }, line);
}

TEST(PixelImage, BottomUpStrideAndRowAddresses) {
    PixelImage dib(5, 4, PixelFormat::Bgr24);
    EXPECT_EQ(dib.Stride(), 16);
    EXPECT_FALSE(dib.TopDown());
    const uchar* row0 = dib.ConstScanLine(0);
    const uchar* row3 = dib.ConstScanLine(3);
    EXPECT_EQ(row0 - row3, 3 * 16);  // row 0 is the last stored row
    PixelImage topDown(5, -4, PixelFormat::Bgr24);
    EXPECT_EQ(topDown.ConstScanLine(3) - topDown.ConstScanLine(0), 3 * 16);
    EXPECT_EQ(PixelImage(3, 1, PixelFormat::Indexed1).Stride(), 4);
    EXPECT_EQ(PixelImage(33, 1, PixelFormat::Indexed1).Stride(), 8);
    EXPECT_EQ(PixelImage(9, 1, PixelFormat::Indexed4).Stride(), 8);
}

TEST(PixelImage, ColourValueByteOrder) {
    PixelImage dib(5, 2, PixelFormat::Bgr24);
    const quint32 colour = 0x00FF8000;  // red 0, green 128, blue 255
    dib.SetPixels(2, 1, colour);
    const uchar* p = dib.ConstScanLine(1) + 3 * 2;
    EXPECT_EQ(p[0], 255);
    EXPECT_EQ(p[1], 128);
    EXPECT_EQ(p[2], 0);
    EXPECT_EQ(dib.Pixels(2, 1), colour);
}

TEST(PixelImage, PaletteFormatsStoreIndices) {
    PixelImage four(3, 1, PixelFormat::Indexed4);
    four.SetPixels(0, 0, 0xA);
    four.SetPixels(1, 0, 0x5);
    EXPECT_EQ(four.ConstScanLine(0)[0], 0xA5);
    EXPECT_EQ(four.Pixels(1, 0), 5u);
    PixelImage one(10, 1, PixelFormat::Indexed1);
    one.SetPixels(1, 0, 1);
    one.SetPixels(9, 0, 1);
    EXPECT_EQ(one.ConstScanLine(0)[0], 0x40);
    EXPECT_EQ(one.ConstScanLine(0)[1], 0x40);
    EXPECT_EQ(one.Pixels(9, 0), 1u);
    EXPECT_EQ(one.Pixels(8, 0), 0u);
    PixelImage eight(2, 1, PixelFormat::Indexed8);
    eight.SetPixels(0, 0, 0x1FF);
    EXPECT_EQ(eight.Pixels(0, 0), 0xFFu);
}

TEST(PixelImage, CopiesShareUntilOneWrites) {
    PixelImage a(4, 4, PixelFormat::Bgr24);
    a.SetPixels(1, 1, 0x010203);
    PixelImage b = a;
    EXPECT_TRUE(a.SharesStorageWith(b));
    b.SetPixels(1, 1, 0x0A0B0C);
    EXPECT_FALSE(a.SharesStorageWith(b));
    EXPECT_EQ(a.Pixels(1, 1), 0x010203u);
    EXPECT_EQ(b.Pixels(1, 1), 0x0A0B0Cu);

    PixelImage c = a;
    c.ScanLine(0)[0] = 99;  // handing out a row address makes the storage private
    EXPECT_FALSE(a.SharesStorageWith(c));
    EXPECT_EQ(a.ConstScanLine(0)[0], 0);
    PixelImage d = a;
    d.ConstScanLine(0);
    a.Pixels(0, 0);
    EXPECT_TRUE(a.SharesStorageWith(d));  // reads keep sharing
}

TEST(PixelImage, FormatIncreaseKeepsColoursExactly) {
    PixelImage dib(3, 2, PixelFormat::Indexed4);
    dib.SetColors(3, 0x00112233);
    dib.SetColors(7, 0x00ABCDEF);
    dib.SetPixels(0, 0, 3);
    dib.SetPixels(2, 1, 7);
    PixelImage wide = dib;
    wide.setPixelFormat(PixelFormat::Indexed8);
    EXPECT_EQ(wide.Pixels(2, 1), 7u);
    EXPECT_EQ(wide.Colors(7), 0x00ABCDEFu);
    dib.setPixelFormat(PixelFormat::Bgr24);
    EXPECT_EQ(dib.pixelFormat(), PixelFormat::Bgr24);
    EXPECT_EQ(dib.Pixels(0, 0), 0x00112233u);
    EXPECT_EQ(dib.Pixels(2, 1), 0x00ABCDEFu);
    EXPECT_EQ(dib.Pixels(1, 0), 0u);
}

TEST(PixelImage, ReductionMapsToNearestColour) {
    PixelImage dib(2, 1, PixelFormat::Bgr24);
    dib.SetPixels(0, 0, 0x0000FF);  // pure red
    dib.SetPixels(1, 0, 0xFFFFFF);
    PixelImage eight = dib;
    eight.setPixelFormat(PixelFormat::Indexed8);
    EXPECT_EQ(eight.Colors(int(eight.Pixels(0, 0))), 0x0000FFu);
    EXPECT_EQ(eight.Colors(int(eight.Pixels(1, 0))), 0xFFFFFFu);
    dib.setPixelFormat(PixelFormat::Indexed1);
    EXPECT_EQ(dib.Colors(int(dib.Pixels(1, 0))), 0xFFFFFFu);
}

TEST(PixelImage, RunLengthFormatsRoundTripAndRefusePixelAccess) {
    PixelImage dib(7, 3, PixelFormat::Indexed8);
    for (int x = 0; x < 7; ++x) dib.SetPixels(x, 1, x < 4 ? 9 : quint32(x));
    PixelImage packed = dib;
    packed.setPixelFormat(PixelFormat::Rle8);
    EXPECT_EQ(packed.pixelFormat(), PixelFormat::Rle8);
    expectError<CompressedImageError>([&] { packed.Pixels(0, 0); },
                                      "TNkDIB.GetPixels: Bad DIB Type");
    expectError<CompressedImageError>([&] { packed.SetPixels(0, 0, 1); },
                                      "TNkDIB.SetPixels: Bad DIB Type");
    expectError<CompressedImageError>([&] { packed.ScanLine(0); },
                                      "TNkDIB.GetScanLine: Bad DIB Type");
    packed.setPixelFormat(PixelFormat::Indexed8);
    for (int x = 0; x < 7; ++x) EXPECT_EQ(packed.Pixels(x, 1), dib.Pixels(x, 1));

    PixelImage four(5, 2, PixelFormat::Indexed4);
    const quint32 values[5] = {1, 2, 1, 2, 15};
    for (int x = 0; x < 5; ++x) four.SetPixels(x, 0, values[x]);
    four.setPixelFormat(PixelFormat::Rle4);
    four.setPixelFormat(PixelFormat::Indexed4);
    for (int x = 0; x < 5; ++x) EXPECT_EQ(four.Pixels(x, 0), values[x]);
}

TEST(PixelImage, CutKeepsTopLeftCorner) {
    PixelImage dib(4, 3, PixelFormat::Bgr24);
    dib.SetPixels(1, 1, 0x111111);
    dib.SetPixels(3, 2, 0x222222);
    dib.CutTo(2, 2);
    EXPECT_EQ(dib.Width(), 2);
    EXPECT_EQ(dib.Height(), 2);
    EXPECT_EQ(dib.Pixels(1, 1), 0x111111u);
    EXPECT_THROW(dib.CutTo(3, 1), ImageSizeError);
    EXPECT_THROW(dib.CutTo(1, 0), ImageSizeError);
}

// Top row A B C, bottom row D E F.
PixelImage abcdef(PixelFormat format) {
    PixelImage dib(3, 2, format);
    const quint32 colours[6] = {0xA, 0xB, 0xC, 0xD, 0xE, 0xF};
    for (int i = 0; i < 6; ++i) dib.SetPixels(i % 3, i / 3, colours[i]);
    return dib;
}

void expectRows(const PixelImage& dib, std::vector<std::vector<quint32>> rows) {
    ASSERT_EQ(dib.Height(), int(rows.size()));
    ASSERT_EQ(dib.Width(), int(rows[0].size()));
    for (int y = 0; y < dib.Height(); ++y)
        for (int x = 0; x < dib.Width(); ++x) EXPECT_EQ(dib.Pixels(x, y), rows[y][x]) << x << y;
}

TEST(PixelImage, RotationsOfThreeByTwo) {
    for (PixelFormat format : {PixelFormat::Bgr24, PixelFormat::Indexed8}) {
        const PixelImage source = abcdef(format);
        const PixelImage right = RotateRight(source);
        EXPECT_EQ(right.pixelFormat(), format);
        expectRows(right, {{0xD, 0xA}, {0xE, 0xB}, {0xF, 0xC}});
        expectRows(RotateLeft(source), {{0xC, 0xF}, {0xB, 0xE}, {0xA, 0xD}});
        expectRows(RotateLeft(RotateRight(source)), {{0xA, 0xB, 0xC}, {0xD, 0xE, 0xF}});
    }
}

TEST(PixelImage, RotationKeepsTheColourTable) {
    PixelImage source = abcdef(PixelFormat::Indexed8);
    source.SetColors(0xA, 0x00345678);
    const PixelImage right = RotateRight(source);
    EXPECT_EQ(right.ColorCount(), source.ColorCount());
    EXPECT_EQ(right.Colors(0xA), 0x00345678u);
}

TEST(PixelImage, RotationOfTopDownImage) {
    PixelImage source(3, -2, PixelFormat::Bgr24);
    const quint32 colours[6] = {1, 2, 3, 4, 5, 6};
    for (int i = 0; i < 6; ++i) source.SetPixels(i % 3, i / 3, colours[i]);
    expectRows(RotateRight(source), {{4, 1}, {5, 2}, {6, 3}});
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
            expectRows(ApplyOrientation(source, value), shown[size_t(value - 1)]);
        }
        expectRows(ApplyOrientation(source, 0), shown[0]);
        expectRows(ApplyOrientation(source, 9), shown[0]);
    }
    EXPECT_EQ(RotateRight(abcdef(PixelFormat::Bgr24)).Pixels(1, 2),
              ApplyOrientation(abcdef(PixelFormat::Bgr24), 6).Pixels(1, 2));
}

}  // namespace
}  // namespace tessaly
