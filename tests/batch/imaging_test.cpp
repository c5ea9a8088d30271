#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSize>

#include "core/imaging/jobs/rotationjob.h"
#include "core/imaging/jpeg/jpegimage.h"
#include "core/settings/catalogsettings.h"
#include "support/batchprocess.h"
#include "support/tempdir.h"
#include "support/testheif.h"
#include "support/testimages.h"

namespace tessaly {
namespace {

using test::TempDir;

using test::BatchOutcome;
using test::batchProgram;
using test::runBatch;

class BatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QFileInfo(batchProgram()).isExecutable()) << "no tessaly-batch";
    }
    TempDir dir;
};

TEST_F(BatchTest, ConvertKeepsExistingOutputWithoutATerminal) {
    dir.write("pic.bmp", test::makeTestBmp24(40, 30));
    dir.write("photo.BMP", test::makeTestBmp24(20, 10));
    dir.write("pic.jpg", "old");
    const BatchOutcome outcome =
        runBatch({"--convert-bmp", dir.file("pic.bmp"), dir.file("photo.BMP")});
    EXPECT_EQ(outcome.status, 0) << outcome.errors.toStdString();
    EXPECT_EQ(dir.read("pic.jpg"), QByteArray("old"));
    JpegImage photo;
    photo.loadFromFile(dir.file("photo.jpg"));
    EXPECT_EQ(photo.width(), 20);
    EXPECT_TRUE(outcome.errors.contains(QStringLiteral("スキップ: ") + dir.file("pic.jpg")));
    EXPECT_TRUE(outcome.errors.contains(QStringLiteral("変換: ") + dir.file("photo.jpg")));
    EXPECT_TRUE(outcome.errors.contains(QStringLiteral("変換終了")));

    EXPECT_EQ(runBatch({"--convert-bmp", "--overwrite", "-Q", "70", dir.file("pic.bmp")}).status,
              0);
    EXPECT_NE(dir.read("pic.jpg"), QByteArray("old"));
}

TEST_F(BatchTest, ConvertStopsAtAFileThatIsNoBitmap) {
    dir.write("a.bmp", test::makeTestBmp24(8, 8));
    dir.write("b.bmp", "not a bitmap");
    dir.write("c.bmp", test::makeTestBmp24(8, 8));
    const BatchOutcome outcome =
        runBatch({"--convert-bmp", dir.file("a.bmp"), dir.file("b.bmp"), dir.file("c.bmp")});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_TRUE(outcome.errors.contains(QString(imagemsg::kFileType)));
    EXPECT_TRUE(QFileInfo::exists(dir.file("a.jpg")));
    EXPECT_FALSE(QFileInfo::exists(dir.file("c.jpg")));
}

QString suiteFolder(const QString& part) { return test::bmpSuiteFolder() + "/" + part; }

TEST_F(BatchTest, ConformanceSuiteConvertsOrFailsCleanly) {
    const QDir good(suiteFolder("g")), bad(suiteFolder("b"));
    if (!good.exists() || !bad.exists()) GTEST_SKIP() << "skipped: no BMP conformance suite";
    QStringList goodFiles;
    for (const QString& name : good.entryList({"*.bmp"}, QDir::Files, QDir::Name)) {
        QFile::copy(good.filePath(name), dir.file(name));
        goodFiles << dir.file(name);
    }
    const BatchOutcome converted = runBatch(QStringList{"--convert-bmp"} + goodFiles);
    EXPECT_EQ(converted.status, 0) << converted.errors.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList({"*.jpg"}, QDir::Files).size(), goodFiles.size());
    TempDir badCopies;  // the suite itself is never written into
    for (const QString& name : bad.entryList({"*.bmp"}, QDir::Files, QDir::Name)) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(QFile::copy(bad.filePath(name), badCopies.file(name)));
        const BatchOutcome outcome = runBatch({"--convert-bmp", badCopies.file(name)});
        EXPECT_TRUE(outcome.status == 0 || outcome.status == 1) << outcome.errors.toStdString();
        if (outcome.status == 1) {
            EXPECT_TRUE(outcome.errors.contains(badCopies.file(name) + QStringLiteral(": ")));
        }
    }
}

TEST_F(BatchTest, ConvertTellsHeifFromBmpByContentAndTheOutputCatalogues) {
    test::HeicOptions turned;
    turned.orientation = 6;
    test::writeTestHeic(dir.file("IMG_0001.HEIC"), 64, 48, turned);
    test::writeTestHeic(dir.file("phone.bmp"), 40, 30);  // a HEIF file under a BMP name
    dir.write("old.heif", test::makeTestBmp24(20, 10));  // and a BMP file under a HEIF name
    const BatchOutcome outcome = runBatch(
        {"--convert", dir.file("IMG_0001.HEIC"), dir.file("phone.bmp"), dir.file("old.heif")});
    ASSERT_EQ(outcome.status, 0) << outcome.errors.toStdString();
    EXPECT_TRUE(outcome.errors.contains(QStringLiteral("3 件変換、0 件スキップ")));
    const struct {
        const char* name;
        int width, height;
    } outputs[] = {{"IMG_0001.jpg", 48, 64}, {"phone.jpg", 40, 30}, {"old.jpg", 20, 10}};
    for (const auto& output : outputs) {
        JpegImage jpeg;
        jpeg.loadFromFile(dir.file(output.name));
        EXPECT_EQ(QSize(jpeg.width(), jpeg.height()), QSize(output.width, output.height))
            << output.name;
    }
    // The converted photographs make a catalogue like any other.
    QDir(dir.path()).mkdir("settings");
    const BatchOutcome catalogue = runBatch({"-s", dir.file("settings"), dir.path()});
    ASSERT_EQ(catalogue.status, 0) << catalogue.errors.toStdString();
    JpegImage thumbnail;
    thumbnail.loadFromFile(dir.file("htm_image/IMG_0001.jpg"));
    EXPECT_LT(thumbnail.width(), thumbnail.height());
    EXPECT_TRUE(dir.read("index.htm").contains("IMG_0001.jpg"));
    EXPECT_TRUE(dir.read("index.htm").contains("phone.jpg"));
}

TEST_F(BatchTest, ConvertStopsWithStatusOneAtADamagedHeif) {
    const QByteArray good = test::makeTestHeic(32, 32);
    const struct {
        const char* name;
        QByteArray bytes;
        const char* says;
    } cases[] = {
        {"cut.heic", good.left(good.size() / 2), "cut.heic: HEIC/HEIF ファイルが壊れているか"},
        {"noise.heic", QByteArray(300, '\x5A'),
         "noise.heic: BMP、HEIC/HEIF、PNG、WebP、AVIF のどれでもない"},
    };
    test::writeTestHeic(dir.file("good.heic"), 16, 16);
    for (const auto& c : cases) {
        dir.write(c.name, c.bytes);
        const BatchOutcome outcome =
            runBatch({"--convert", dir.file(c.name), dir.file("good.heic")});
        EXPECT_EQ(outcome.status, 1) << c.name;
        EXPECT_TRUE(outcome.errors.contains(QString::fromUtf8(c.says)))
            << outcome.errors.toStdString();
        EXPECT_FALSE(QFileInfo::exists(dir.file("good.jpg")));  // the run stopped there
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3);  // no temporary file left
}

TEST_F(BatchTest, ConvertStopsBetweenFilesOnCtrlCWithStatus130) {
    test::writeTestHeic(dir.file("a.heic"), 64, 48);
    QStringList args{"--convert", "--overwrite"};
    for (int i = 0; i < 3000; ++i) args << dir.file("a.heic");  // far longer than the wait
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setReadChannel(QProcess::StandardError);
    process.start(batchProgram(), args);
    QByteArray errors;
    while (!errors.contains("変換: ") && process.waitForReadyRead(20000)) {
        errors += process.readAllStandardError();
    }
    ASSERT_TRUE(errors.contains("変換: "));
    ::kill(pid_t(process.processId()), SIGINT);
    process.waitForFinished(60000);
    errors += process.readAllStandardError();
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 130);
    EXPECT_FALSE(errors.contains("変換終了"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"a.heic", "a.jpg"}));
}

// Several workers give the files, the messages and the status of one: converting folders
// (with -R their sub-folders too) that hold a file which stops the run, and turning
// photographs among which one fails.
TEST_F(BatchTest, ManyJobsGiveTheFilesAndMessagesOfOneJob) {
    const auto fill = [](const QString& folder) {
        QDir().mkpath(folder + "/sub");
        for (int i = 0; i < 6; ++i) {
            test::writeFile(folder + QString("/b%1.bmp").arg(i),
                            test::makeTestBmp24(40 + 30 * i, 30));
            test::writeTestJpeg(folder + QString("/r%1.jpg").arg(i), 48 + 8 * i, 32);
        }
        test::writeFile(folder + "/sub/a.bmp", test::makeTestBmp24(24, 16));
        test::writeFile(folder + "/sub/z.bmp", "not a bitmap");
        test::writeFile(folder + "/r3.jpg", "not a jpeg");
    };
    const auto outcome = [&](const QString& jobs) {
        const QString folder = dir.file("j" + jobs);
        fill(folder);
        const BatchOutcome converted = runBatch({"--convert-bmp", "-R", "-j", jobs, folder});
        QStringList rotate{"--rotate", "right", "-j", jobs};
        for (int i = 0; i < 6; ++i) rotate << folder + QString("/r%1.jpg").arg(i);
        const BatchOutcome rotated = runBatch(rotate);
        QString all = QString::number(converted.status) + converted.errors +
                      QString::number(rotated.status) + rotated.errors;
        for (const QString& name : QDir(folder).entryList(QDir::Files))
            all += name + dir.read("j" + jobs + "/" + name).toHex();
        return all.replace(folder, "F");
    };
    const QString one = outcome("1");
    EXPECT_TRUE(one.startsWith("1")) << one.toStdString();
    EXPECT_EQ(outcome("4"), one);
}

TEST_F(BatchTest, UsageErrorsExitWithTwo) {
    dir.write("a.bmp", test::makeTestBmp24(8, 8));
    EXPECT_EQ(runBatch({"--convert-bmp", "-Q", "69", dir.file("a.bmp")}).status, 2);
    EXPECT_EQ(
        runBatch({"--convert-bmp", "--overwrite", "--no-overwrite", dir.file("a.bmp")}).status, 2);
    EXPECT_EQ(runBatch({"--convert-bmp"}).status, 2);
    EXPECT_EQ(runBatch({"--convert"}).status, 2);
    EXPECT_EQ(runBatch({"--convert", "-Q", "101", dir.file("a.bmp")}).status, 2);
    EXPECT_EQ(runBatch({"--rotate", "up", dir.file("a.jpg")}).status, 2);
    EXPECT_EQ(runBatch({"--rotate", "left", "-Q", "49", dir.file("a.jpg")}).status, 2);
    EXPECT_FALSE(QFileInfo::exists(dir.file("a.jpg")));
}

TEST_F(BatchTest, RotateRightTwiceEqualsAHalfTurnAndKeepsTheFirstBackup) {
    test::writeTestJpeg(dir.file("a.jpg"), 64, 48);
    test::writeTestJpeg(dir.file("b.JPG"), 64, 48);
    const QByteArray original = dir.read("a.jpg");
    const QStringList right{"--rotate", "right", "-Q", "100", dir.file("a.jpg")};
    ASSERT_EQ(runBatch(right).status, 0);
    ASSERT_EQ(runBatch(right).status, 0);
    EXPECT_EQ(runBatch({"--rotate", "180", "-Q", "100", dir.file("b.JPG")}).status, 0);
    EXPECT_EQ(test::readFile(dir.file("_backup/a.jpg")), original);
    const PixelImage twice = RotationJob::loadPhotograph(dir.file("a.jpg"));
    const PixelImage half = RotationJob::loadPhotograph(dir.file("b.JPG"));
    ASSERT_EQ(twice.width(), 64);
    ASSERT_EQ(half.width(), 64);
    int largest = 0;
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x) {
            for (int shift = 0; shift < 24; shift += 8) {
                largest = std::max(largest, std::abs(int((twice.pixel(x, y) >> shift) & 0xFF) -
                                                     int((half.pixel(x, y) >> shift) & 0xFF)));
            }
        }
    }
    EXPECT_LT(largest, 40);  // one more encode at the highest quality, nothing more
}

TEST_F(BatchTest, RotateRefusesOtherExtensionsAndHonoursNoBackup) {
    test::writeTestJpeg(dir.file("a.jpeg"), 16, 8);
    test::writeTestJpeg(dir.file("b.jpg"), 16, 8);
    const QByteArray jpeg = dir.read("a.jpeg");
    const BatchOutcome outcome =
        runBatch({"--rotate", "left", "--no-backup", dir.file("a.jpeg"), dir.file("b.jpg")});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_TRUE(outcome.errors.contains(dir.file("a.jpeg") + QStringLiteral(": ") +
                                        RotationJob::noFileMessage()));
    EXPECT_EQ(dir.read("a.jpeg"), jpeg);
    EXPECT_EQ(RotationJob::loadPhotograph(dir.file("b.jpg")).width(), 8);
    EXPECT_FALSE(QFileInfo::exists(dir.file("_backup")));

    // A pipe or a folder under a photograph's name is refused by its name, never waited on.
    for (const char* pipe : {"pipe.jpg", "pipe.bmp"}) {
        ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file(pipe)).constData(), 0644), 0);
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.jpg"));
    const struct {
        QStringList args;
        QStringList refused;
    } rows[] = {
        {{"--rotate", "left", dir.file("pipe.jpg"), dir.file("folder.jpg")},
         {dir.file("pipe.jpg"), dir.file("folder.jpg")}},
        {{"--convert", dir.file("pipe.bmp")}, {dir.file("pipe.bmp")}},
        {{"--convert-bmp", dir.file("pipe.bmp")}, {dir.file("pipe.bmp")}},
    };
    for (const auto& row : rows) {
        const BatchOutcome refused = runBatch(row.args);
        EXPECT_EQ(refused.status, 1) << refused.errors.toStdString();
        for (const QString& name : row.refused) {
            EXPECT_TRUE(refused.errors.contains(name + " は通常のファイルではないため開けません"))
                << refused.errors.toStdString();
        }
    }
}

TEST_F(BatchTest, RotateTurnsAPhotographNamedTwiceOnceAndSaysWhenItCouldNotBeLossless) {
    test::writeTestJpeg(dir.file("a.jpg"), 64, 48);
    test::writeTestJpeg(dir.file("c.jpg"), 60, 45);
    const BatchOutcome outcome =
        runBatch({"--rotate", "right", "--lossless", "--no-backup", dir.file("a.jpg"),
                  dir.path() + "/./a.jpg", dir.file("c.jpg")});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(RotationJob::loadPhotograph(dir.file("a.jpg")).width(), 48);
    EXPECT_EQ(RotationJob::loadPhotograph(dir.file("c.jpg")).width(), 45);
    EXPECT_TRUE(outcome.errors.contains(RotationJob::notLosslessMessage(dir.file("c.jpg"))))
        << outcome.errors.toStdString();
    EXPECT_FALSE(outcome.errors.contains(RotationJob::notLosslessMessage(dir.file("a.jpg"))));
}

TEST_F(BatchTest, RotateTakesItsQualityFromTheSettings) {
    TempDir settingsDir;
    CatalogSettings settings;
    settings.appFolder = settingsDir.path();
    settings.rotateQuality = 50;
    saveSettings(settings);
    // -s takes a settings file of any name, not the Quorvel.ini beside it.
    ASSERT_TRUE(QFile::rename(settingsDir.file("Quorvel.ini"), settingsDir.file("low.ini")));
    settings.rotateQuality = 100;
    saveSettings(settings);
    test::writeTestJpeg(dir.file("low.jpg"), 64, 64);
    test::writeTestJpeg(dir.file("high.jpg"), 64, 64);
    EXPECT_EQ(runBatch({"--rotate", "right", "--settings", settingsDir.file("low.ini"),
                        dir.file("low.jpg")})
                  .status,
              0);
    EXPECT_EQ(
        runBatch({"--rotate", "right", "--settings", settingsDir.path(), dir.file("high.jpg")})
            .status,
        0);
    EXPECT_LT(dir.read("low.jpg").size(), dir.read("high.jpg").size());
    EXPECT_EQ(
        runBatch({"--rotate", "right", "--settings", dir.file("none"), dir.file("low.jpg")}).status,
        2);
    // A settings path that cannot be read is named as given; a folder without a settings file
    // says the defaults are used.
    settingsDir.write("empty.ini", QByteArray());
    QDir().mkdir(settingsDir.file("bare"));
    const struct {
        QString given;
        bool works;
        QString said;
    } paths[] = {{"/dev/null", false, "/dev/null"},
                 {settingsDir.file("empty.ini"), false, settingsDir.file("empty.ini")},
                 {settingsDir.file("bare"), true, "default settings are used"}};
    for (const auto& path : paths) {
        const BatchOutcome run =
            runBatch({"--rotate", "right", "--settings", path.given, dir.file("low.jpg")});
        EXPECT_EQ(run.status == 0, path.works) << path.given.toStdString();
        EXPECT_TRUE(run.errors.contains(path.said)) << run.errors.toStdString();
    }
}

}  // namespace
}  // namespace tessaly
