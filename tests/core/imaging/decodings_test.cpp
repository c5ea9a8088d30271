// The thumbnail maker's two ways to the pixels, the rows streamed from the decoder (sampled
// and skipped where the file's layout allows it) and the whole decoded picture, must give the
// same thumbnail, byte for byte, for every layout, box, orientation and damaged file. This is
// what proves the layouts JpegImage lets the codec skip rows of. A thumbnail and its
// double-size twin made from one decode are each the thumbnail made alone, or, when both are
// plain stretches of a photograph large enough for a reduced decode, near it.
#include <gtest/gtest.h>

#include <QFile>
#include <QSize>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "core/imaging/thumbnailmaker.h"
#include "support/tempdir.h"
#include "support/testimages.h"

namespace tessaly {
namespace {

using Decoded = ThumbnailMaker::Decoded;
using Decoding = ThumbnailMaker::Decoding;

struct Layout {
    const char* name;
    test::JpegLayout layout;
    bool skippable;  // the codec may skip rows of this layout
};

test::JpegLayout colour(int h, int v, int chromaH = 1, int chromaV = 1) {
    test::JpegLayout layout;
    layout.h[0] = h, layout.v[0] = v;
    layout.h[1] = layout.h[2] = chromaH;
    layout.v[1] = layout.v[2] = chromaV;
    layout.noise = 40;
    return layout;
}

std::vector<Layout> layouts() {
    test::JpegLayout grey = colour(1, 1), grey22 = colour(2, 2);
    grey.components = grey22.components = 1;
    test::JpegLayout rgb = colour(1, 1), rgb22 = colour(2, 2), restarts = colour(2, 2);
    rgb.rgb = rgb22.rgb = true;
    restarts.restartRows = 1;
    test::JpegLayout cmyk = colour(2, 2);
    cmyk.components = 4;
    test::JpegLayout arithmetic = colour(2, 2);
    arithmetic.arithmetic = true;
    return {{"grey 1x1", grey, true},
            {"grey 2x2", grey22, false},
            {"1x1", colour(1, 1), true},
            {"2x1", colour(2, 1), true},
            {"1x2", colour(1, 2), true},
            {"2x2", colour(2, 2), true},
            {"4x2", colour(4, 2), false},
            {"2x2, chroma 1x2", colour(2, 2, 1, 2), false},
            {"RGB 1x1", rgb, true},
            {"RGB 2x2", rgb22, true},
            {"2x2, restarts", restarts, true},
            {"arithmetic", arithmetic, false},
            {"CMYK", cmyk, false}};
}

// Same size, format, colour table and pixel bytes.
void expectSamePicture(const PixelImage& a, const PixelImage& b) {
    ASSERT_EQ(a.width(), b.width());
    ASSERT_EQ(a.height(), b.height());
    ASSERT_EQ(a.pixelFormat(), b.pixelFormat());
    ASSERT_EQ(a.colorCount(), b.colorCount());
    for (int i = 0; i < a.colorCount(); ++i) ASSERT_EQ(a.color(i), b.color(i));
    const size_t bytes = size_t(a.width()) * size_t(a.bitCount() / 8);
    for (int y = 0; y < a.height(); ++y) {
        ASSERT_EQ(std::memcmp(a.constScanLine(y), b.constScanLine(y), bytes), 0) << "row " << y;
    }
}

// The mean of each byte of a pixel over each quarter of the picture.
std::vector<double> quarterMeans(const PixelImage& picture) {
    const int bpp = picture.bitCount() / 8, w = picture.width(), h = picture.height();
    std::vector<double> sums(size_t(4 * bpp)), counts(sums.size());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int quarter = (2 * y / h) * 2 + 2 * x / w;
            for (int c = 0; c < bpp; ++c) {
                sums[size_t(quarter * bpp + c)] += picture.constScanLine(y)[x * bpp + c];
                counts[size_t(quarter * bpp + c)] += 1;
            }
        }
    }
    for (size_t i = 0; i < sums.size(); ++i) sums[i] /= std::max(counts[i], 1.0);
    return sums;
}

// Same size, format and colour table, and each quarter of the same colour within `limit`
// on average: a picture turned or mirrored the wrong way, or in other colours, is far off.
// (Pictures of a few pixels are only sized: there one noisy pixel is a quarter's colour.)
void expectNearPicture(const PixelImage& a, const PixelImage& b, double limit) {
    ASSERT_EQ(a.width(), b.width());
    ASSERT_EQ(a.height(), b.height());
    ASSERT_EQ(a.pixelFormat(), b.pixelFormat());
    ASSERT_EQ(a.colorCount(), b.colorCount());
    if (qint64(a.width()) * a.height() < 200) return;
    const std::vector<double> ma = quarterMeans(a), mb = quarterMeans(b);
    double worst = 0;
    for (size_t i = 0; i < ma.size(); ++i) worst = std::max(worst, std::abs(ma[i] - mb[i]));
    EXPECT_LE(worst, limit);
}

class BothDecodings : public ::testing::Test {
protected:
    struct Made {
        PixelImage picture;
        Decoded decoded = Decoded::Nothing;
        ThumbnailMaker::Method method = ThumbnailMaker::Method::Plain;
        QString error;
    };

    // The thumbnail picture (what is saved is its encoding, so equal pictures give equal
    // files).
    static Made make(const QString& source, const ThumbnailBox& box, Decoding decoding) {
        Made made;
        ThumbnailMaker maker(decoding);
        try {
            maker.open(source);
            made.method = maker.scale(box);
        } catch (const Error& e) {
            made.error = e.message();
            return made;
        }
        made.picture = maker.picture();
        made.decoded = maker.decoded();
        return made;
    }

    // The thumbnails of box and of twice the box from one decode.
    struct Pair {
        Made made;
        PixelImage larger;
        int reduction = 1;
        qint64 bytes = 0;     // the memory the pair was said to need
        qint64 separate = 0;  // that of the two thumbnails made one by one
        QSize photo;
    };
    static Pair makeTwice(const QString& source, const ThumbnailBox& box, Decoding decoding) {
        Pair pair;
        ThumbnailMaker maker(decoding);
        try {
            maker.open(source);
            pair.bytes = maker.scaleTwiceBytes(box, doubledBox(box));
            pair.separate = maker.scaleBytes(box) + maker.scaleBytes(doubledBox(box));
            pair.photo = QSize(maker.imageWidth(), maker.imageHeight());
            pair.made.method = maker.scaleTwice(box, doubledBox(box), pair.larger);
        } catch (const Error& e) {
            pair.made.error = e.message();
            return pair;
        }
        pair.made.picture = maker.picture();
        pair.reduction = maker.reduction();
        return pair;
    }

    static ThumbnailBox doubledBox(const ThumbnailBox& box) {
        return ThumbnailBox{box.width * 2, box.height * 2, box.quality, box.filter};
    }

    // Makes the thumbnail both ways and compares; returns what the streamed way decoded. Both
    // ways, the thumbnails of the box and of twice the box made from one decode are those
    // made alone, or near them when they come from a reduced decode of an undamaged photo.
    Decoded compare(const QByteArray& jpeg, const ThumbnailBox& box, bool damaged = false) {
        dir.write("photo.jpg", jpeg);
        const Made streamed = make(dir.file("photo.jpg"), box, Decoding::Streamed);
        const Made full = make(dir.file("photo.jpg"), box, Decoding::FullPicture);
        EXPECT_EQ(streamed.error, full.error);
        EXPECT_EQ(streamed.method, full.method);
        expectSamePicture(streamed.picture, full.picture);
        if (full.error.isEmpty()) {
            EXPECT_EQ(full.decoded, Decoded::FullPicture);
        }
        const Made larger = make(dir.file("photo.jpg"), doubledBox(box), Decoding::Streamed);
        for (Decoding decoding : {Decoding::Streamed, Decoding::FullPicture}) {
            const Pair pair = makeTwice(dir.file("photo.jpg"), box, decoding);
            EXPECT_EQ(pair.made.error, streamed.error.isEmpty() ? larger.error : streamed.error);
            if (!pair.made.error.isEmpty()) continue;
            EXPECT_EQ(pair.made.method, streamed.method);
            if (pair.reduction == 1) {
                expectSamePicture(pair.made.picture, streamed.picture);
                expectSamePicture(pair.larger, larger.picture);
            } else {
                EXPECT_FALSE(box.filter);
                const int r = pair.reduction;
                EXPECT_GE(pair.bytes, pair.separate + 3 * qint64(pair.photo.width() / r) *
                                                          (pair.photo.height() / r));
                expectNearPicture(pair.made.picture, streamed.picture, damaged ? 255 : 12);
                expectNearPicture(pair.larger, larger.picture, damaged ? 255 : 12);
            }
        }
        return streamed.decoded;
    }

    test::TempDir dir;
};

// Every sampling layout, sequential and progressive, with boxes that reduce strongly, mildly,
// to one side only, not at all and that enlarge, on both paths.
TEST_F(BothDecodings, EveryLayoutAndBox) {
    const int sizes[][2] = {{203, 141}, {61, 389}, {7, 5}};
    for (const Layout& layout : layouts()) {
        for (bool progressive : {false, true}) {
            if (progressive && (layout.layout.arithmetic || layout.layout.components == 4))
                continue;
            for (const auto& size : sizes) {
                test::JpegLayout l = layout.layout;
                l.progressive = progressive;
                l.jitterSeed = unsigned(size[0]);
                const QByteArray jpeg = test::makePhotoJpeg(size[0], size[1], l);
                const ThumbnailBox boxes[] = {{40, 30, 80, false},   {110, 150, 80, false},
                                              {150, 140, 75, false}, {size[0], size[1], 90, false},
                                              {250, 400, 80, false}, {size[0], 10, 80, false}};
                for (ThumbnailBox box : boxes) {
                    for (bool filter : {false, true}) {
                        box.filter = filter;
                        SCOPED_TRACE(testing::Message()
                                     << layout.name << (progressive ? " progressive " : " ")
                                     << size[0] << "x" << size[1] << " box " << box.width << "x"
                                     << box.height << (filter ? " filter" : ""));
                        const bool reduces = box.width < size[0] || box.height < size[1];
                        const Decoded decoded = compare(jpeg, box);
                        if (filter && reduces && decoded != Decoded::Nothing) {
                            EXPECT_EQ(decoded, Decoded::EveryRow);
                        } else if (!filter || !reduces) {
                            EXPECT_EQ(decoded,
                                      layout.skippable ? Decoded::SampledRows : Decoded::EveryRow);
                        }
                    }
                }
            }
        }
    }
}

// Every EXIF orientation turns the sampled rows the way the whole picture is turned.
TEST_F(BothDecodings, EveryOrientation) {
    for (const Layout& layout : layouts()) {
        if (std::strcmp(layout.name, "2x2") && std::strcmp(layout.name, "grey 1x1") &&
            std::strcmp(layout.name, "4x2")) {
            continue;
        }
        for (int orientation = 1; orientation <= 8; ++orientation) {
            test::JpegLayout l = layout.layout;
            l.orientation = orientation;
            const QByteArray jpeg = test::makePhotoJpeg(173, 97, l);
            for (ThumbnailBox box :
                 {ThumbnailBox{20, 15, 80, false}, ThumbnailBox{40, 30, 80, false},
                  ThumbnailBox{110, 150, 80, false}, ThumbnailBox{300, 300, 80, false}}) {
                for (bool filter : {false, true}) {
                    box.filter = filter;
                    SCOPED_TRACE(testing::Message()
                                 << layout.name << " orientation " << orientation << " box "
                                 << box.width << (filter ? " filter" : ""));
                    const Decoded decoded = compare(jpeg, box);
                    if (filter && box.width < 173) {
                        EXPECT_EQ(decoded,
                                  orientation == 1 ? Decoded::EveryRow : Decoded::FullPicture);
                    } else {
                        EXPECT_EQ(decoded,
                                  layout.skippable ? Decoded::SampledRows : Decoded::EveryRow);
                    }
                }
            }
        }
    }
}

// Cut-off and damaged files: the codec's warnings and made-up rows, or its failure, are the
// same whichever way the rows are taken.
TEST_F(BothDecodings, DamagedFiles) {
    for (bool progressive : {false, true}) {
        test::JpegLayout l = colour(2, 2);
        l.progressive = progressive;
        const QByteArray good = test::makePhotoJpeg(331, 243, l);
        for (int cut : {2, 3, 5}) {
            SCOPED_TRACE(testing::Message()
                         << "cut " << cut << (progressive ? " progressive" : ""));
            compare(good.left(good.size() * (cut - 1) / cut), {40, 30, 80, false}, true);
            compare(good.left(good.size() * (cut - 1) / cut), {100, 100, 80, true}, true);
        }
        for (unsigned trial = 1; trial <= 12; ++trial) {
            QByteArray data = good;
            std::srand(trial);
            for (int i = 0; i < 6; ++i) {
                data[600 + std::rand() % (data.size() - 600)] = char(std::rand());
            }
            SCOPED_TRACE(testing::Message()
                         << "trial " << trial << (progressive ? " progressive" : ""));
            compare(data, {60, 45, 80, trial % 2 == 0}, true);
        }
    }
}

}  // namespace
}  // namespace tessaly
