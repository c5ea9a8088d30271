// tessaly-batch with odd names, damaged or enormous images and full disks: every mode either
// does its work or stops with a message and a failing exit status, never a crash.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include "core/settings/catalogsettings.h"
#include "support/faultsupport.h"
#include "support/tempdir.h"
#include "support/testimages.h"

namespace tessaly::test {
namespace {

using Outcome = BatchOutcome;

class BatchFaultTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QFileInfo(batchProgram()).isExecutable()) << "no tessaly-batch";
        CatalogSettings settings;
        settings.appFolder = dir.file("settings");
        QDir().mkpath(settings.appFolder);
        saveSettings(settings);
    }
    Outcome batch(const QStringList& args) const { return batchWith(QStringLiteral(":"), args); }
    QString folder(const QString& name) const {
        QDir().mkpath(dir.file(name));
        return dir.file(name);
    }

    TempDir dir;
};

const QStringList kNames = {QStringLiteral("line\nbreak.jpg"), QStringLiteral("it's \"q\".jpg"),
                            QStringLiteral("#1 100%?.jpg"), QStringLiteral("夏の海 😀.jpg"),
                            QStringLiteral("é.jpg")};

TEST_F(BatchFaultTest, CatalogueAndContentsOfOddlyNamedFoldersAndPhotographs) {
    const QString photos = folder(QStringLiteral("旅 #1 100%? 😀"));
    for (const QString& name : kNames) writeTestJpeg(photos + "/" + name, 60, 40);
    const Outcome made = batch({"-q", "-j", "2", "-s", dir.file("settings"), photos});
    ASSERT_EQ(made.status, 0) << made.errors.toStdString();
    for (const QString& name : kNames) {
        EXPECT_TRUE(QFileInfo::exists(photos + "/htm_image/" + name)) << name.toStdString();
    }
    const Outcome contents = batch({"--toc", "--grid", "--title", QStringLiteral("目次 😀"), "-q",
                                    "-s", dir.file("settings"), dir.path()});
    ASSERT_EQ(contents.status, 0) << contents.errors.toStdString();
    EXPECT_EQ(contents.out.trimmed(), dir.file("index.htm"));
    // A name that would command the terminal is shown with its control characters escaped.
    const Outcome missing =
        batch({"-q", "-s", dir.file("settings"), photos, QStringLiteral("\x1b]0;x\x07\x7f.jpg")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.errors.contains("\\x1b]0;x\\x07\\x7f.jpg")) << missing.errors.toStdString();
    EXPECT_FALSE(missing.errors.contains(QChar(0x1b)));
}

TEST_F(BatchFaultTest, ConvertAndRotateOddNames) {
    const QString files = folder(QStringLiteral("it's #2 😀"));
    const QString bmp = files + QStringLiteral("/夏 😀 #1?\n.bmp");
    writeFile(bmp, makeTestBmp24(20, 10));
    const Outcome converted = batch({"--convert-bmp", "--overwrite", bmp});
    ASSERT_EQ(converted.status, 0) << converted.errors.toStdString();
    const QString jpeg = files + QStringLiteral("/夏 😀 #1?\n.jpg");
    ASSERT_TRUE(QFileInfo::exists(jpeg));
    const QByteArray before = readFile(jpeg);
    const Outcome turned = batch({"--rotate", "right", "-s", dir.file("settings"), jpeg});
    ASSERT_EQ(turned.status, 0) << turned.errors.toStdString();
    EXPECT_EQ(readFile(files + QStringLiteral("/_backup/夏 😀 #1?\n.jpg")), before);
    EXPECT_NE(readFile(jpeg), before);
    // A name that would command the terminal is shown with its control characters escaped.
    const Outcome missing = batch({"--rotate", "right", "-s", dir.file("settings"),
                                   files + QStringLiteral("/\x1b]0;x\x07.jpg")});
    EXPECT_TRUE(missing.errors.contains("\\x1b]0;x\\x07.jpg")) << missing.errors.toStdString();
    EXPECT_FALSE(missing.errors.contains(QChar(0x1b)));
}

TEST_F(BatchFaultTest, EnormousOrDamagedBitmapsAreRefusedWithTheirReason) {
    const QString files = folder("bmp");
    QByteArray huge = makeTestBmp24(4, 4);
    huge[18] = char(0x40), huge[19] = char(0x9C), huge[20] = 0, huge[21] = 0;  // 40000 wide
    huge[22] = char(0x40), huge[23] = char(0x9C), huge[24] = 0, huge[25] = 0;  // 40000 high
    writeFile(files + "/huge.bmp", huge);
    const QByteArray good = makeTestBmp24(30, 20);
    writeFile(files + "/short.bmp", good.left(good.size() - 100));
    QByteArray offset = good;
    offset[10] = char(0xF0), offset[11] = char(0xFF), offset[12] = char(0x7F);  // data beyond
    writeFile(files + "/offset.bmp", offset);
    const struct {
        const char* name;
        const char* reason;
    } cases[] = {{"huge", "too large"}, {"short", "truncated"}, {"offset", "offsets"}};
    for (const auto& c : cases) {
        const Outcome outcome =
            batch({"--convert-bmp", "--overwrite", files + "/" + c.name + ".bmp"});
        EXPECT_EQ(outcome.status, 1) << c.name;
        EXPECT_TRUE(outcome.errors.contains(c.reason)) << outcome.errors.toStdString();
        EXPECT_FALSE(QFileInfo::exists(files + "/" + c.name + ".jpg")) << c.name;
    }
}

TEST_F(BatchFaultTest, FullDiskFailsTheRunAndKeepsThePhotographs) {
    const QString photos = folder("photos");
    writeTestJpeg(photos + "/a.jpg", 120, 90);
    const QByteArray old = readFile(photos + "/a.jpg");
    Outcome catalogue, rotate, rotateNoBackup;
    {
        FileSizeLimit limit(256);  // inherited by the child process
        catalogue = batch({"-q", "-s", dir.file("settings"), photos});
        rotate = batch({"--rotate", "left", "-s", dir.file("settings"), photos + "/a.jpg"});
        rotateNoBackup = batch(
            {"--rotate", "left", "--no-backup", "-s", dir.file("settings"), photos + "/a.jpg"});
    }
    EXPECT_EQ(catalogue.status, 1);
    EXPECT_TRUE(catalogue.errors.contains(QStringLiteral("ファイル書き込みエラーが発生しました。")))
        << catalogue.errors.toStdString();
    EXPECT_EQ(rotate.status, 1);
    EXPECT_TRUE(rotate.errors.contains(
        QStringLiteral("バックアップファイルの書き込みでエラーが発生しました。")))
        << rotate.errors.toStdString();
    EXPECT_EQ(rotateNoBackup.status, 1);
    EXPECT_TRUE(rotateNoBackup.errors.contains(
        QStringLiteral("ファイルの書き込みでエラーが発生しました。")))
        << rotateNoBackup.errors.toStdString();
    EXPECT_EQ(readFile(photos + "/a.jpg"), old);
    EXPECT_FALSE(QFileInfo::exists(photos + "/_backup/a.jpg"));
}

}  // namespace
}  // namespace tessaly::test
