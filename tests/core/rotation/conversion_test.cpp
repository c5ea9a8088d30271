#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/conversion/bmpconversion.h"
#include "core/imaging/jobs/rotationjob.h"
#include "core/imaging/jpeg/jpegimage.h"
#include "core/text/errors.h"
#include "support/tempdir.h"
#include "support/testimages.h"

namespace tessaly {
namespace {

using test::TempDir;

// Mean absolute difference per channel between a decoded JPEG and its source picture,
// taken over the averages of block x block squares: JPEG keeps local averages even where it
// blurs dithered detail (colours are stored at half resolution).
double meanError(const PixelImage& jpeg, PixelImage source, int block = 1) {
    if (source.pixelFormat() != PixelFormat::Bgr24) source.setPixelFormat(PixelFormat::Bgr24);
    double sum = 0;
    int count = 0;
    for (int by = 0; by + block <= jpeg.height(); by += block) {
        for (int bx = 0; bx + block <= jpeg.width(); bx += block) {
            for (int shift = 0; shift < 24; shift += 8) {
                int difference = 0;
                for (int y = by; y < by + block; ++y) {
                    for (int x = bx; x < bx + block; ++x) {
                        difference += int((jpeg.pixel(x, y) >> shift) & 0xFF) -
                                      int((source.pixel(x, y) >> shift) & 0xFF);
                    }
                }
                sum += std::abs(difference) / double(block * block);
                ++count;
            }
        }
    }
    return count ? sum / count : 0;
}

QString bmpSuite() { return test::bmpSuiteFolder(); }

TEST(BmpConversionTest, OutputNameDropsTheLastThreeCharacters) {
    EXPECT_EQ(BmpConversion::outputName("pic.bmp"), QStringLiteral("pic.jpg"));
    EXPECT_EQ(BmpConversion::outputName("photo.BMP"), QStringLiteral("photo.jpg"));
    EXPECT_EQ(BmpConversion::outputName("写真.bmp"), QStringLiteral("写真.jpg"));
    EXPECT_EQ(BmpConversion::outputName("x.dib"), QStringLiteral("x.jpg"));
    EXPECT_EQ(BmpConversion::outputName("ab"), QStringLiteral("jpg"));
    EXPECT_EQ(BmpConversion::overwriteQuestion("pic.jpg"),
              QStringLiteral("同名のファイルが存在します。\npic.jpg\n上書きしてよろしいですか？"));
}

TEST(BmpConversionTest, ExistingOutputIsAskedAboutAndKeptOnNo) {
    TempDir dir;
    dir.write("pic.bmp", test::makeTestBmp24(40, 30));
    dir.write("photo.BMP", test::makeTestBmp24(30, 40));
    dir.write("pic.jpg", "keep me");
    QStringList asked, started;
    BmpConversion::Hooks hooks;
    hooks.starting = [&](const QString& name) { started << name; };
    hooks.overwrite = [&](const QString& name) {
        asked << name;
        return false;
    };
    const auto result = BmpConversion(95).run(dir.path(), {"photo.BMP", "pic.bmp"}, hooks);
    EXPECT_EQ(result.failure, BmpConversion::Failure::None);
    EXPECT_EQ(asked, QStringList{"pic.jpg"});
    EXPECT_EQ(started, (QStringList{"photo.BMP", "pic.bmp"}));
    EXPECT_EQ(result.written, QStringList{"photo.jpg"});
    EXPECT_EQ(result.skipped, QStringList{"pic.jpg"});
    EXPECT_EQ(dir.read("pic.jpg"), QByteArray("keep me"));
    JpegImage photo;
    photo.loadFromFile(dir.file("photo.jpg"));
    EXPECT_EQ(photo.width(), 30);
    EXPECT_EQ(photo.height(), 40);

    hooks.overwrite = [](const QString&) { return true; };
    const auto again = BmpConversion(95).run(dir.path(), {"pic.bmp"}, hooks);
    EXPECT_EQ(again.written, QStringList{"pic.jpg"});
    EXPECT_NE(dir.read("pic.jpg"), QByteArray("keep me"));
    EXPECT_TRUE(BmpConversion(95).run(dir.path(), {"pic.bmp"}, {}).skipped.contains("pic.jpg"));
}

TEST(BmpConversionTest, ConvertedJpegMatchesItsSource) {
    TempDir dir;
    dir.write("p.bmp", test::makeTestBmp24(64, 48));
    ASSERT_TRUE(BmpConversion(95).run(dir.path(), {"p.bmp"}, {}).written.contains("p.jpg"));
    JpegImage jpeg;
    jpeg.loadFromFile(dir.file("p.jpg"));
    EXPECT_FALSE(jpeg.isGrayscale());
    const PixelImage source = BmpConversion::load(dir.file("p.bmp"));
    EXPECT_LT(meanError(jpeg.picture(), source), 8.0);
    EXPECT_EQ(dir.read("p.bmp"), test::makeTestBmp24(64, 48));  // the source stays
}

TEST(BmpConversionTest, UnreadableFileStopsTheRunAndKeepsEarlierOutput) {
    TempDir dir;
    dir.write("a.bmp", test::makeTestBmp24(8, 8));
    dir.write("b.bmp", "XX not a bitmap at all");
    dir.write("c.bmp", test::makeTestBmp24(8, 8));
    const auto result = BmpConversion(90).run(dir.path(), {"a.bmp", "b.bmp", "c.bmp"}, {});
    EXPECT_EQ(result.failure, BmpConversion::Failure::Read);
    EXPECT_EQ(result.failedName, QStringLiteral("b.bmp"));
    EXPECT_EQ(result.message, QStringLiteral("b.bmp: BMP ファイルではありません"));
    EXPECT_EQ(result.detail, QString::fromLatin1(imagemsg::kFileType));
    EXPECT_EQ(result.written, QStringList{"a.jpg"});
    EXPECT_FALSE(QFileInfo::exists(dir.file("c.jpg")));
}

// A folder where the output should go, or a link to a file elsewhere (never written through,
// even when overwriting was agreed to).
TEST(BmpConversionTest, WriteFailureStopsTheRun) {
    for (const bool link : {false, true}) {
        SCOPED_TRACE(link ? "link" : "folder");
        TempDir dir, elsewhere;
        dir.write("a.bmp", test::makeTestBmp24(8, 8));
        dir.write("b.bmp", test::makeTestBmp24(8, 8));
        elsewhere.write("x.jpg", "someone else's");
        if (link) {
            ASSERT_TRUE(QFile::link(elsewhere.file("x.jpg"), dir.file("a.jpg")));
        } else {
            QDir(dir.path()).mkdir("a.jpg");
        }
        BmpConversion::Hooks hooks;
        hooks.overwrite = [](const QString&) { return true; };
        const auto result = BmpConversion(90).run(dir.path(), {"a.bmp", "b.bmp"}, hooks);
        EXPECT_EQ(result.failure, BmpConversion::Failure::Write);
        EXPECT_EQ(result.failedName, QStringLiteral("a.bmp"));
        EXPECT_FALSE(QFileInfo::exists(dir.file("b.jpg")));
        EXPECT_TRUE(link ? QFileInfo(dir.file("a.jpg")).isSymLink()
                         : QFileInfo(dir.file("a.jpg")).isDir());
        EXPECT_EQ(elsewhere.read("x.jpg"), QByteArray("someone else's"));
    }
}

TEST(BmpConversionTest, EveryGoodSuiteFileConvertsWithinJpegError) {
    const QDir good(bmpSuite() + "/g");
    if (!good.exists()) GTEST_SKIP() << "skipped: no BMP conformance suite";
    TempDir dir;
    const BmpConversion conversion(95);
    for (const QString& name : good.entryList({"*.bmp"}, QDir::Files, QDir::Name)) {
        SCOPED_TRACE(name.toStdString());
        const PixelImage source = BmpConversion::load(good.filePath(name));
        const QString output = dir.file(BmpConversion::outputName(name));
        conversion.write(source, output);
        JpegImage jpeg;
        jpeg.loadFromFile(output);
        ASSERT_EQ(jpeg.width(), source.width());
        ASSERT_EQ(jpeg.height(), source.height());
        EXPECT_LT(meanError(jpeg.picture(), source, 4), 8.0);
    }
}

TEST(BmpConversionTest, BadSuiteFilesFailCleanlyOrConvert) {
    const QDir bad(bmpSuite() + "/b");
    if (!bad.exists()) GTEST_SKIP() << "skipped: no BMP conformance suite";
    TempDir dir;
    for (const QString& name : bad.entryList({"*.bmp"}, QDir::Files, QDir::Name)) {
        SCOPED_TRACE(name.toStdString());
        QFile::copy(bad.filePath(name), dir.file(name));
        const auto result = BmpConversion(95).run(dir.path(), {name}, {});
        if (result.failure != BmpConversion::Failure::None) {
            EXPECT_EQ(result.failure, BmpConversion::Failure::Read);
            EXPECT_FALSE(result.message.isEmpty());
            EXPECT_FALSE(QFileInfo::exists(dir.file(BmpConversion::outputName(name))));
        }
    }
}

}  // namespace
}  // namespace tessaly
