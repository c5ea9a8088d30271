// Images are refused before their memory is taken: enormous declared sizes, enormous files,
// and "files" that are devices or pipes and would never end.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include "core/imaging/imageerrors.h"
#include "core/imaging/jpeg/jpegimage.h"
#include "core/imaging/pixels/pixelimage.h"
#include "core/text/textfile.h"
#include "support/faultsupport.h"
#include "support/tempdir.h"
#include "support/testimages.h"

namespace tessaly::test {
namespace {

QString loadJpeg(const QString& path) {
    return errorOf([&] { JpegImage().loadFromFile(path); });
}

QString loadBmp(const QString& path) {
    return errorOf([&] { PixelImage().loadFromFile(path); });
}

TEST(ImageLimits, DevicesAndPipesAreNotReadAsImages) {
    TempDir dir;
    ASSERT_EQ(::symlink("/dev/zero", QFile::encodeName(dir.file("zero.jpg")).constData()), 0);
    ASSERT_EQ(::symlink("/dev/zero", QFile::encodeName(dir.file("zero.bmp")).constData()), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file("pipe.jpg")).constData(), 0644), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file("pipe.bmp")).constData(), 0644), 0);
    for (const char* name : {"zero.jpg", "pipe.jpg"}) {
        EXPECT_EQ(loadJpeg(dir.file(name)), unreadableMessage(dir.file(name)));
    }
    for (const char* name : {"zero.bmp", "pipe.bmp"}) {
        EXPECT_EQ(loadBmp(dir.file(name)), unreadableMessage(dir.file(name)));
    }
}

TEST(ImageLimits, FilesBeyondTheImageLimitAreRefusedUnread) {
    TempDir dir;
    for (const char* name : {"huge.jpg", "huge.bmp"}) {
        QFile sparse(dir.file(name));
        ASSERT_TRUE(sparse.open(QIODevice::WriteOnly));
        sparse.write(QByteArray::fromHex(QByteArray(name).endsWith("jpg") ? "FFD8FF" : "424D"));
        ASSERT_TRUE(sparse.resize(kMaxImageBytes + (qint64(65) << 20)));  // no blocks used
    }
    EXPECT_EQ(loadJpeg(dir.file("huge.jpg")),
              QStringLiteral("huge.jpg: 画像が大きすぎるため読み込めません"));
    EXPECT_EQ(loadBmp(dir.file("huge.bmp")),
              QStringLiteral("huge.bmp: 画像が大きすぎるため読み込めません"));
}

// A file just under the limit that does not start like a JPEG is refused from its first bytes:
// the catalogue fails with the codec's reason, not for the memory a whole read would take.
TEST(ImageLimits, FilesThatDoNotStartLikeAJpegAreRefusedUnread) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "skipped: the sanitizers cannot start under ulimit -v";
#endif
    TempDir dir;
    QFile sparse(dir.file("x.jpg"));
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly));
    sparse.write("no");
    ASSERT_TRUE(sparse.resize(kMaxImageBytes - 1));  // no blocks used
    sparse.close();
    const BatchOutcome outcome = batchWith("ulimit -v 600000", {"-q", "-j", "1", dir.path()});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_TRUE(outcome.errors.contains("Not a JPEG file: starts with 0x6e 0x6f"))
        << outcome.errors.toStdString();
}

TEST(ImageLimits, DeclaredSizesBeyondTheLimitAreRefusedBeforeDecoding) {
    QByteArray jpeg = makeTestJpeg(16, 16);
    const int sof = jpeg.indexOf("\xFF\xC0");
    ASSERT_GT(sof, 0);
    jpeg[sof + 5] = char(0x27), jpeg[sof + 6] = char(0x10);  // 10000 high
    jpeg[sof + 7] = char(0x27), jpeg[sof + 8] = char(0x11);  // 10001 wide: just past the limit
    EXPECT_TRUE(errorOf([&] { JpegImage().loadFromData(jpeg); }).contains("too large"));
    QByteArray bmp = makeTestBmp24(4, 4);
    bmp[18] = char(0x11), bmp[19] = char(0x27);  // 10001 wide
    bmp[22] = char(0x10), bmp[23] = char(0x27);  // 10000 high
    EXPECT_EQ(errorOf([&] { PixelImage().loadFromData(bmp); }),
              QString::fromLatin1(imagemsg::kTooLarge));
}

}  // namespace
}  // namespace tessaly::test
