#include <gtest/gtest.h>

#include <QFile>
#include <QSize>
#include <QStringList>

#include "core/imaging/jpeg/jpegimage.h"
#include "core/imaging/pixels/real48.h"
#include "core/imaging/pixels/thumbnailfilters.h"
#include "core/imaging/thumbnailmaker.h"
#include "support/samepixels.h"
#include "support/tempdir.h"
#include "support/testimages.h"

namespace tessaly {
namespace {

TEST(Real48, SharpeningWeights) {
    const long double k = sharpenNeighbourWeight();
    EXPECT_EQ(k, -879609302221.0L / 8796093022208.0L);  // -0.1 to 40 significant bits
    EXPECT_EQ(QString::number(double(k), 'g', 17), "-0.10000000000002274");
    EXPECT_EQ(QString::number(double(sharpenCentreWeight()), 'g', 17), "1.8000000000010914");
}

TEST(Real48, RoundsHalvesAwayFromZero) {
    const long double half = 1.0L + 0x1p-40L;  // exactly half a unit of the 40-bit significand
    EXPECT_EQ(roundToReal48(half), 1.0L + 0x1p-39L);
    EXPECT_EQ(roundToReal48(-half), -(1.0L + 0x1p-39L));
    EXPECT_EQ(roundToReal48(1.0L + 0x1p-41L), 1.0L);
    EXPECT_EQ(roundToReal48(2.0L - 0x1p-42L), 2.0L);  // carries into the exponent
    EXPECT_EQ(roundToReal48(0.0L), 0.0L);
    EXPECT_EQ(roundToReal48(0x1p-140L), 0.0L);  // below the smallest exponent
    EXPECT_EQ(roundToReal48(160.0L), 160.0L);
}

TEST(ThumbnailSize, FitRatioAndNominalSize) {
    int tw = 0, th = 0;
    const ThumbnailBox box{160, 120, 80, true};
    EXPECT_EQ(ThumbnailMaker::fitRatio(100, 50, box), 0.625L);
    ThumbnailMaker::nominalSize(100, 50, box, tw, th);
    EXPECT_EQ(tw, 160);
    EXPECT_EQ(th, 80);
    const ThumbnailBox defaults{110, 150, 80, false};
    EXPECT_EQ(ThumbnailMaker::fitRatio(1000, 750, defaults), 1000.0L / 110.0L);
    ThumbnailMaker::nominalSize(1000, 750, defaults, tw, th);
    EXPECT_EQ(tw, 110);
    EXPECT_EQ(th, 82);  // 82.5 goes to the even neighbour
    ThumbnailMaker::nominalSize(1003, 700, box, tw, th);
    EXPECT_EQ(tw, 160);
    EXPECT_EQ(th, 112);
    ThumbnailMaker::nominalSize(201, 150, box, tw, th);
    EXPECT_EQ(tw, 160);
    EXPECT_EQ(th, 119);
    ThumbnailMaker::nominalSize(10000, 10, ThumbnailBox{100, 100, 80, false}, tw, th);
    EXPECT_EQ(tw, 100);
    EXPECT_EQ(th, 1);  // never 0 pixels
}

TEST(AverageReduce, TruncatedMeansOfBlocks) {
    PixelImage dib(4, 4, PixelFormat::Bgr24);
    const int values[4] = {10, 11, 12, 14};  // the top-left 2 x 2 block
    for (int i = 0; i < 4; ++i) dib.setPixel(i % 2, i / 2, quint32(values[i]) * 0x010101u);
    dib.setPixel(3, 3, 0x0000FF);
    averageReduce(dib, 4, 4, 2, 2);
    ASSERT_EQ(dib.width(), 2);
    ASSERT_EQ(dib.height(), 2);
    EXPECT_EQ(dib.pixel(0, 0), 11u * 0x010101u);  // 47 / 4 truncated
    EXPECT_EQ(dib.pixel(1, 1), 63u);              // 255 / 4 in red only
    EXPECT_EQ(dib.pixel(1, 0), 0u);
}

// 1600 x 1200 in 160 x 120: the factor lies just above 0.1, so blocks end at 9, 19, ...
// 1599; the first run and band have 9 pixels, column 1599 and row 1199 are not used.
TEST(AverageReduce, BoundariesOfATenfoldReduction) {
    PixelImage dib(1600, 1200, PixelFormat::Bgr24);
    for (int y = 0; y < 1200; ++y) {
        dib.setPixel(8, y, 90);    // first run: columns 0..8
        dib.setPixel(18, y, 100);  // second run: columns 9..18
        dib.setPixel(1599, y, 255);
    }
    for (int x = 0; x < 1600; ++x) {
        dib.setPixel(x, 8, dib.pixel(x, 8) | (90u << 8));  // first band: rows 0..8
        dib.setPixel(x, 1199, 0xFFFFFF);
    }
    EXPECT_GT(averageReduceScale(1600, 1200, 160, 120), 0.1L);
    averageReduce(dib, 1600, 1200, 160, 120);
    ASSERT_EQ(dib.width(), 160);
    ASSERT_EQ(dib.height(), 120);
    EXPECT_EQ(dib.pixel(0, 0), 10u | (10u << 8));  // 90 / 9 in both directions
    EXPECT_EQ(dib.pixel(1, 0), 10u | (10u << 8));  // 100 / 10 red; green row 8 again
    EXPECT_EQ(dib.pixel(0, 1), 10u);
    EXPECT_EQ(dib.pixel(1, 1), 10u);
    EXPECT_EQ(dib.pixel(159, 60), 0u);  // column 1599 unused
    EXPECT_EQ(dib.pixel(80, 119), 0u);  // row 1199 unused
}

TEST(Sharpen3x3, WeightsRoundingAndBorders) {
    PixelImage dib(3, 3, PixelFormat::Bgr24);
    const int neighbours[8] = {20, 20, 20, 20, 20, 20, 20, 35};  // sum 175
    int i = 0;
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            if (x != 1 || y != 1) dib.setPixel(x, y, quint32(neighbours[i++]));
        }
    }
    dib.setPixel(1, 1, 10);  // 1.8 x 10 - 17.5 = 0.5, which the weights' errors lift above
    PixelImage uniform(4, 4, PixelFormat::Bgr24);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) uniform.setPixel(x, y, 0x646464);  // 100
    uniform.setPixel(1, 1, 0x0000C8);  // red 200 among 100s: 360 - 80 -> 255
    sharpen3x3(dib);
    sharpen3x3(uniform);
    EXPECT_EQ(dib.pixel(1, 1), 1u);
    EXPECT_EQ(dib.pixel(2, 2), 35u);            // border untouched
    EXPECT_EQ(uniform.pixel(1, 1), 0x0000FFu);  // green, blue: 0 - 0.1 x 800 -> 0
    EXPECT_EQ(uniform.pixel(2, 2), 0x6E6E5Au);  // red 180 - 90, others 180 - 70
    EXPECT_EQ(uniform.pixel(3, 3), 0x646464u);
    EXPECT_EQ(uniform.pixel(0, 1), 0x646464u);
    PixelImage narrow(2, 5, PixelFormat::Bgr24);
    narrow.setPixel(1, 1, 7);
    sharpen3x3(narrow);
    EXPECT_EQ(narrow.pixel(1, 1), 7u);
}

TEST(StretchNearest, RepeatsAndDropsWholeColumns) {
    PixelImage two(2, 1, PixelFormat::Bgr24);
    two.setPixel(0, 0, 1), two.setPixel(1, 0, 2);
    const PixelImage wide = stretchNearest(two, 4, 3);
    const quint32 expected[4] = {1, 1, 2, 2};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(wide.pixel(x, y), expected[x]);
    PixelImage four(4, 1, PixelFormat::Indexed8);
    for (int x = 0; x < 4; ++x) four.setPixel(x, 0, quint32(x + 1));
    four.setColor(4, 0x123456);
    const PixelImage narrow = stretchNearest(four, 2, 1);
    EXPECT_EQ(narrow.pixelFormat(), PixelFormat::Indexed8);
    EXPECT_EQ(narrow.pixel(0, 0), 2u);
    EXPECT_EQ(narrow.pixel(1, 0), 4u);
    EXPECT_EQ(narrow.color(4), 0x123456u);
}

class ThumbnailMakerTest : public ::testing::Test {
protected:
    // Makes a thumbnail of a generated w x h photograph; returns the file's size.
    QSize make(int w, int h, ThumbnailBox box, bool grey = false) {
        const QString source = dir.file(QString("p%1x%2.jpg").arg(w).arg(h));
        test::writeTestJpeg(source, w, h, grey);
        maker.load(source);
        EXPECT_EQ(maker.imageWidth(), w);
        EXPECT_EQ(maker.imageHeight(), h);
        method = maker.make(box, thumb());
        JpegImage written;
        written.loadFromFile(thumb());
        EXPECT_EQ(written.CompressionQuality(), 90);
        return QSize(written.width(), written.height());
    }
    QString thumb() const { return dir.file("thumb.jpg"); }

    test::TempDir dir;
    ThumbnailMaker maker;
    ThumbnailMaker::Method method = ThumbnailMaker::Method::Plain;
};

constexpr ThumbnailMaker::Method kPlain = ThumbnailMaker::Method::Plain;
constexpr ThumbnailMaker::Method kFilter = ThumbnailMaker::Method::Filter;

TEST_F(ThumbnailMakerTest, SmallPhotographIsEnlargedWhateverTheFilter) {
    EXPECT_EQ(make(100, 50, {160, 120, 80, true}), QSize(160, 80));
    EXPECT_EQ(method, kPlain);
    EXPECT_EQ(maker.picture().width(), 160);
    EXPECT_EQ(make(160, 120, {160, 120, 80, true}), QSize(160, 120));  // r = 1
    EXPECT_EQ(method, kPlain);
}

TEST_F(ThumbnailMakerTest, FilterPathTruncatesWherePlainStretchRounds) {
    EXPECT_EQ(make(1003, 700, {160, 120, 80, true}), QSize(160, 111));
    EXPECT_EQ(method, kFilter);
    EXPECT_EQ(maker.picture().height(), 111);
    EXPECT_EQ(make(1003, 700, {160, 120, 80, false}), QSize(160, 112));
    EXPECT_EQ(method, kPlain);
}

TEST_F(ThumbnailMakerTest, FactorJustBelowCutsAColumnAndDoesNotSharpen) {
    EXPECT_EQ(make(201, 150, {160, 120, 80, true}), QSize(159, 119));
    JpegImage photo;
    photo.loadFromFile(dir.file("p201x150.jpg"));
    PixelImage reduced = photo.picture();
    averageReduce(reduced, 201, 150, 160, 120);
    const PixelImage& picture = maker.picture();
    ASSERT_EQ(picture.width(), 159);
    for (int y = 0; y < 119; ++y)
        for (int x = 0; x < 159; ++x) ASSERT_EQ(picture.pixel(x, y), reduced.pixel(x, y));
}

TEST_F(ThumbnailMakerTest, StrongReductionIsSharpenedInsideTheBorder) {
    EXPECT_EQ(make(1600, 1200, {160, 120, 80, true}), QSize(160, 120));
    JpegImage photo;
    photo.loadFromFile(dir.file("p1600x1200.jpg"));
    PixelImage reduced = photo.picture();
    averageReduce(reduced, 1600, 1200, 160, 120);
    PixelImage sharpened = reduced;
    sharpen3x3(sharpened);
    const PixelImage& picture = maker.picture();
    int changed = 0;
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x < 160; ++x) {
            ASSERT_EQ(picture.pixel(x, y), sharpened.pixel(x, y));
            const bool border = x == 0 || y == 0 || x == 159 || y == 119;
            if (border) {
                ASSERT_EQ(picture.pixel(x, y), reduced.pixel(x, y));
            }
            changed += picture.pixel(x, y) != reduced.pixel(x, y);
        }
    }
    EXPECT_GT(changed, 100);
}

TEST_F(ThumbnailMakerTest, GreyscalePhotographOnTheFilterPath) {
    EXPECT_EQ(make(400, 300, {160, 120, 80, true}, true), QSize(160, 120));
    const PixelImage& picture = maker.picture();
    EXPECT_EQ(picture.pixelFormat(), PixelFormat::Bgr24);
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x < 160; ++x) {
            const quint32 c = picture.pixel(x, y);
            ASSERT_EQ(c & 0xFF, (c >> 8) & 0xFF);
            ASSERT_EQ(c & 0xFF, (c >> 16) & 0xFF);
        }
    }
    EXPECT_EQ(make(400, 300, {160, 120, 80, false}, true), QSize(160, 120));
}

TEST_F(ThumbnailMakerTest, DegeneratePhotographsGetOnePixel) {
    EXPECT_EQ(make(1000, 10, {100, 100, 80, false}), QSize(100, 1));
    // No band of 30 rows fits in 20: the filter path falls back to the plain stretch.
    EXPECT_EQ(make(3000, 20, {100, 100, 80, true}), QSize(100, 1));
    EXPECT_EQ(method, kPlain);
}

TEST_F(ThumbnailMakerTest, ExistingFileIsReplacedAndFailuresAreRaised) {
    dir.write("thumb.jpg", QByteArray("not a picture"));
    EXPECT_EQ(make(50, 50, {40, 40, 75, false}), QSize(40, 40));
    EXPECT_THROW(maker.make({40, 40, 75, false}, dir.file("thumb2.jpg")), ImageError);
    maker.load(dir.file("p50x50.jpg"));
    EXPECT_THROW(maker.make({40, 40, 75, false}, dir.file("missing/thumb.jpg")), IoError);
    dir.write("broken.jpg", QByteArray("not a picture"));
    EXPECT_THROW(maker.load(dir.file("broken.jpg")), ImageError);
    maker.release();
    EXPECT_EQ(maker.imageWidth(), 0);
}

TEST_F(ThumbnailMakerTest, ThePhotographsColourProfileGoesIntoTheThumbnailAlone) {
    test::JpegLayout layout;
    layout.noise = 8;
    dir.write("plain.jpg", test::makePhotoJpeg(400, 300, layout));
    layout.segments = test::cameraSegments(400, 300, 1);
    dir.write("profiled.jpg", test::makePhotoJpeg(400, 300, layout));
    const QByteArray profile = JpegImage::readSegments(dir.read("profiled.jpg")).iccProfile();
    ASSERT_EQ(profile.size(), 70000);
    for (const bool filter : {false, true}) {
        for (const char* name : {"plain", "profiled"}) {
            maker.open(dir.file(QString(name) + ".jpg"));
            maker.make({110, 150, 80, filter}, dir.file(QString(name) + "-thumb.jpg"));
        }
        JpegImage plain, profiled;
        plain.loadFromFile(dir.file("plain-thumb.jpg"));
        profiled.loadFromFile(dir.file("profiled-thumb.jpg"));
        EXPECT_TRUE(test::samePixels(plain.picture(), profiled.picture())) << filter;
        const JpegSegments kept = JpegImage::readSegments(dir.read("profiled-thumb.jpg"));
        EXPECT_EQ(kept.iccProfile(), profile);
        EXPECT_EQ(kept.list.size(), kept.iccChunks().list.size());  // nothing else of the photo
        EXPECT_TRUE(JpegImage::readSegments(dir.read("plain-thumb.jpg")).iccChunks().isEmpty());
    }
}

}  // namespace
}  // namespace tessaly
