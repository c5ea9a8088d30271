// A failed write never costs the user data: files replaced in place (settings, comment file,
// a turned photograph) stay byte-identical when the disk is full, the folder is read-only or
// the file's own write permission is gone.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <memory>

#include "core/comments/commenttable.h"
#include "core/imaging/jobs/rotationjob.h"
#include "core/settings/catalogsettings.h"
#include "core/text/errors.h"
#include "core/text/filecopy.h"
#include "core/text/textfile.h"
#include "support/faultsupport.h"
#include "support/tempdir.h"
#include "support/testimages.h"

namespace tessaly::test {
namespace {

enum class FullDiskKind { SmallTmpfs, SizeLimit };

// A folder whose disk can be made full: a small tmpfs filled up (where mounting is allowed),
// or a per-process file size limit that stops every write past the first bytes.
class FullDiskTest : public ::testing::TestWithParam<FullDiskKind> {
protected:
    void SetUp() override {
        if (GetParam() == FullDiskKind::SmallTmpfs) {
            disk = std::make_unique<SmallDisk>(256);
            if (!disk->mounted()) GTEST_SKIP() << "skipped: tmpfs cannot be mounted here";
            folder = disk->path() + "/photos";
        } else {
            folder = dir.file("photos");
        }
        ASSERT_TRUE(QDir().mkpath(folder));
    }
    void fillDisk() {
        if (disk) {
            disk->fill();
        } else {
            limit = std::make_unique<FileSizeLimit>(64);
        }
    }
    void freeDisk() {
        limit.reset();
        if (disk) QFile::remove(disk->path() + "/.filler");
    }
    QStringList files() const {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }

    TempDir dir;
    std::unique_ptr<SmallDisk> disk;
    std::unique_ptr<FileSizeLimit> limit;
    QString folder;
};

TEST_P(FullDiskTest, SettingsFileStaysAsItWas) {
    CatalogSettings settings;
    settings.appFolder = folder;
    saveSettings(settings);
    const QByteArray old = readFile(folder + "/Quorvel.ini");
    settings.headerText = QStringLiteral("新しいヘッダー").repeated(20);
    fillDisk();
    const QString message = errorOf([&] { saveSettings(settings); });
    freeDisk();
    EXPECT_FALSE(message.isEmpty());
    EXPECT_TRUE(message.contains("Quorvel.ini")) << message.toStdString();
    EXPECT_EQ(readFile(folder + "/Quorvel.ini"), old);
    EXPECT_EQ(files(), QStringList{"Quorvel.ini"});
    saveSettings(settings);  // room again: the save goes through
    EXPECT_EQ(loadSettings(folder).headerText, settings.headerText);
}

TEST_P(FullDiskTest, CommentFileStaysAsItWas) {
    CommentTable table;
    table.set("a.jpg", QStringLiteral("山の朝"), QStringLiteral("二行目"));
    table.save(folder, {"a.jpg"});
    const QByteArray old = readFile(CommentTable::filePath(folder));
    table.set("a.jpg", QStringLiteral("書き直した説明").repeated(30), QString());
    fillDisk();
    const QString message = errorOf([&] { table.save(folder, {"a.jpg"}); });
    freeDisk();
    EXPECT_EQ(message, cannotWriteMessage(CommentTable::filePath(folder)));
    EXPECT_EQ(readFile(CommentTable::filePath(folder)), old);
    EXPECT_EQ(files(), QStringList{"PicComment.txt"});
}

TEST_P(FullDiskTest, TurnedPhotographAndItsBackupStayWhole) {
    writeTestJpeg(folder + "/a.jpg", 120, 80);
    const QByteArray old = readFile(folder + "/a.jpg");
    fillDisk();
    const QString withBackup =
        errorOf([&] { RotationJob(folder, 90, true).rotateFile("a.jpg", Turn::Right); });
    const QString withoutBackup =
        errorOf([&] { RotationJob(folder, 90, false).rotateFile("a.jpg", Turn::Right); });
    freeDisk();
    EXPECT_FALSE(withBackup.isEmpty());
    EXPECT_FALSE(withoutBackup.isEmpty());
    EXPECT_EQ(readFile(folder + "/a.jpg"), old);
    EXPECT_FALSE(QFileInfo::exists(folder + "/_backup/a.jpg"));  // no half copy as the backup
    EXPECT_EQ(files(), QStringList{"a.jpg"});
}

INSTANTIATE_TEST_SUITE_P(Faults, FullDiskTest,
                         ::testing::Values(FullDiskKind::SmallTmpfs, FullDiskKind::SizeLimit),
                         [](const auto& info) {
                             return info.param == FullDiskKind::SmallTmpfs ? "SmallTmpfs"
                                                                           : "SizeLimit";
                         });

// Permission problems: the tests act as an ordinary user, since the superuser writes anywhere.
class PermissionTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = dir.file("photos");
        ASSERT_TRUE(QDir().mkpath(folder));
        writeTestJpeg(folder + "/a.jpg", 60, 40);
        CommentTable table;
        table.set("a.jpg", QStringLiteral("古い説明"), QString());
        table.save(folder, {"a.jpg"});
        CatalogSettings settings;
        settings.appFolder = folder;
        saveSettings(settings);
        openUp(dir.path());
        for (const QString& name : files()) old[name] = readFile(folder + "/" + name);
    }
    QStringList files() const {
        QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
        names.sort();
        return names;
    }
    // Every write of the three kinds, acting as the ordinary user; the messages they raised.
    QStringList writeAll() {
        AsOtherUser user;
        if (!user.active()) return {QStringLiteral("not switched")};
        CatalogSettings settings;
        settings.appFolder = folder;
        settings.headerText = QStringLiteral("changed");
        CommentTable table;
        table.set("a.jpg", QStringLiteral("新しい説明"), QString());
        return {errorOf([&] { saveSettings(settings); }),
                errorOf([&] { table.save(folder, {"a.jpg"}); }),
                errorOf([&] { RotationJob(folder, 90, false).rotateFile("a.jpg", Turn::Left); })};
    }
    void expectUnchanged() const {
        EXPECT_EQ(files(), old.keys());
        for (const QString& name : old.keys()) {
            EXPECT_EQ(readFile(folder + "/" + name), old[name]) << name.toStdString();
        }
    }

    TempDir dir;
    QString folder;
    QMap<QString, QByteArray> old;
};

TEST_F(PermissionTest, ReadOnlyFolderRefusesEveryReplacement) {
    makeReadOnly(folder);
    const QStringList messages = writeAll();
    openUp(folder);
    if (messages == QStringList{"not switched"}) GTEST_SKIP() << "skipped: cannot switch user";
    ASSERT_EQ(messages.size(), 3);
    EXPECT_EQ(messages[0], cannotCreateMessage(folder + "/Quorvel.ini"));
    EXPECT_EQ(messages[1], cannotCreateMessage(CommentTable::filePath(folder)));
    EXPECT_EQ(messages[2], cannotCreateMessage(folder + "/a.jpg"));
    expectUnchanged();
}

TEST_F(PermissionTest, FileWithoutWritePermissionIsNotReplaced) {
    for (const QString& name : files()) {
        QFile::setPermissions(folder + "/" + name,
                              QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    const QStringList messages = writeAll();
    if (messages == QStringList{"not switched"}) GTEST_SKIP() << "skipped: cannot switch user";
    ASSERT_EQ(messages.size(), 3);
    for (const QString& message : messages) EXPECT_FALSE(message.isEmpty());
    expectUnchanged();
}

}  // namespace
}  // namespace tessaly::test

namespace tessaly::test {
namespace {

TEST(CopyFaults, CopyOntoAFullDiskIsAnError) {
    TempDir source, target;
    writeTestJpeg(source.file("back.jpg"), 80, 60);
    if (!placeFullDevice(target.file("back.jpg"))) GTEST_SKIP() << "skipped: no full device";
    EXPECT_EQ(errorOf([&] { copyFileToFolder(source.file("back.jpg"), target.path()); }),
              cannotCreateMessage(target.file("back.jpg")));
}

}  // namespace
}  // namespace tessaly::test
