// Data safety at the edges, tried as a hostile user or a fault injector would: names that point
// outside the folder, kills during a backup, damaged or hostile files, memory running out,
// signals, long names, concurrent runs. No photograph or backup is ever lost or replaced by a
// damaged picture, and no run ends in an abort or a hang.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <cstdio>

#include "core/catalog/catalogrun_fixture.h"
#include "core/comments/commenttable.h"
#include "core/conversion/bmpconversion.h"
#include "core/imaging/files/photolock.h"
#include "core/imaging/jobs/rotationjob.h"
#include "core/settings/outputnames.h"
#include "core/text/errors.h"
#include "core/text/undecodablenames.h"
#include "core/toc/tocgenerator.h"
#include "support/faultsupport.h"

namespace tessaly::test {
namespace {

using Outcome = BatchOutcome;

Outcome batch(const QStringList& args) { return batchWith(QStringLiteral(":"), args); }

bool haveBatch() { return QFileInfo(batchProgram()).isExecutable(); }

// Files whose names start with ".tessaly-" (temporary files) anywhere under the folder.
QStringList strayTemporaries(const QString& folder) {
    QStringList found;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (it.fileName().endsWith(".tmp")) found << path;
    }
    return found;
}

// A progressive JPEG with many scans: a real file whose last scan is repeated `extra` times.
QByteArray progressiveWithScans(int extra) {
    JpegLayout layout;
    layout.progressive = true;
    const QByteArray file = makePhotoJpeg(32, 32, layout);
    const int lastScan = file.lastIndexOf("\xFF\xDA");
    const QByteArray scan = file.mid(lastScan, file.size() - 2 - lastScan);
    return file.left(file.size() - 2) + scan.repeated(extra) + QByteArray("\xFF\xD9", 2);
}

// ---- 1. names that point outside the photo folder ----

class OutsideNameTest : public CatalogRunTest {
protected:
    void SetUp() override {
        CatalogRunTest::SetUp();
        QDir().mkdir(dir.file("photos"));
        input.folder = dir.file("photos");
        for (const QString name : {"a.jpg", "b.jpg"}) {
            writeTestJpeg(dir.file("photos/" + name), 60, 40);
            input.names << name;
            input.selected.push_back(true);
        }
        writeTestJpeg(dir.file("a.jpg"), 30, 20);  // a same-named photograph one level up
        writeFile(dir.file("notes.txt"), "keep");
        before = snapshot();
    }
    // The run was refused with a message naming the setting, and nothing was written.
    void expectRefused(const QString& label) {
        EXPECT_EQ(run(), CatalogRunOutcome::Failed);
        const QStringList shown = host.matching("error:");
        ASSERT_EQ(shown.size(), 1) << host.log.join('\n').toStdString();
        EXPECT_TRUE(shown[0].contains(label)) << shown[0].toStdString();
        EXPECT_EQ(snapshot(), before);
    }
    QStringList snapshot() const {
        QStringList all;
        QDirIterator it(dir.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            all << path + ":" + QString::number(qHash(readFile(path)));
        }
        all.sort();
        return all;
    }
    QStringList before;
};

TocOptions contentsOf(const QString& folder) {
    TocOptions options;
    options.folder = folder;
    options.title = QStringLiteral("t");
    return options;
}

TEST_F(OutsideNameTest, NameSettingsThatLeaveTheFolderRefuseTheWholeRun) {
    struct Row {
        QString CatalogSettings::*field;
        QString value;
        QString label;
    };
    const Row rows[] = {
        {&CatalogSettings::thumbPrefix, "../", "サムネイル画像に付加する文字列"},
        {&CatalogSettings::thumbPrefix, "..", "サムネイル画像に付加する文字列"},
        {&CatalogSettings::thumbFolderName, "..", "サムネイル画像フォルダ名"},
        {&CatalogSettings::thumbFolderName, ".", "サムネイル画像フォルダ名"},
        {&CatalogSettings::thumbFolderName, "a\\b", "サムネイル画像フォルダ名"},
        {&CatalogSettings::htmlFileName, "../notes.txt", "HTMLファイル名"},
        {&CatalogSettings::htmlFileName, "", "HTMLファイル名"},
        {&CatalogSettings::htmlFileName, QStringLiteral("x") + QChar(0), "HTMLファイル名"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value.toStdString());
        settings = CatalogSettings();
        settings.noBrowserLaunch = "on";
        settings.*row.field = row.value;
        host.log.clear();
        expectRefused(row.label);
        EXPECT_THROW(TocGenerator(settings).run(contentsOf(dir.path()), {}), SettingsError);
    }
}

TEST_F(OutsideNameTest, LinksInPlaceOfOutputsNeverReachAPhotographOrOutside) {
    const QString photos = dir.file("photos/");
    QDir().mkdir(photos + "htm_image");
    struct Row {
        QString link;    // made in the photo folder
        QString target;  // where it points
        QString label;
    };
    const Row rows[] = {
        {"index.htm", photos + "a.jpg", "HTMLファイル名"},
        {"index.htm", dir.file("notes.txt"), "HTMLファイル名"},
        {"index.htm", dir.file("new.txt"), "HTMLファイル名"},  // dangling: would be created
        {"htm_image/a.jpg", dir.file("a.jpg"), "サムネイル画像フォルダ名"},
        {"htm_image/b.jpg", photos + "b.jpg", "サムネイル画像フォルダ名"},
        // Links that stay inside are not written through either.
        {"index.htm", photos + "page.htm", "シンボリックリンク"},
        {"htm_image/a.jpg", photos + "htm_image/other.jpg", "シンボリックリンク"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.link.toStdString());
        ASSERT_TRUE(QFile::link(row.target, photos + row.link));
        before = snapshot();
        host.log.clear();
        expectRefused(row.label);
        QFile::remove(photos + row.link);
    }
    // A chain that leaves the folder on its way: the link outside is the user's, even when the
    // chain comes back in.
    QDir().mkdir(dir.file("out"));
    ASSERT_TRUE(QFile::link(photos + "page.htm", dir.file("out/a.htm")));
    ASSERT_TRUE(QFile::link(dir.file("out/a.htm"), photos + "index.htm"));
    before = snapshot();
    host.log.clear();
    expectRefused("HTMLファイル名");
    EXPECT_TRUE(QFileInfo(dir.file("out/a.htm")).isSymLink());
    QFile::remove(photos + "index.htm");
    // A second name (hard link) of a photograph is refused as well.
    ASSERT_EQ(::link(QFile::encodeName(photos + "b.jpg"), QFile::encodeName(photos + "index.htm")),
              0);
    before = snapshot();
    host.log.clear();
    expectRefused("HTMLファイル名");
}

TEST_F(OutsideNameTest, ThumbnailsBesideThePhotographsMayNotReplaceOneOfThem) {
    settings.thumbFolderName = "";
    settings.thumbPrefix = "s_";
    writeTestJpeg(dir.file("photos/s_a.jpg"), 20, 20);
    input.names << "s_a.jpg";
    input.selected.push_back(true);
    before = snapshot();
    expectRefused("s_a.jpg");
    // Not selected, it is no photograph of this run: its name is free for the thumbnail.
    input.selected.back() = false;
    host.log.clear();
    EXPECT_EQ(run(), CatalogRunOutcome::Completed);
}

TEST(OutsideNames, BatchRefusesAHandEditedSettingsFileWithStatusOne) {
    ASSERT_TRUE(haveBatch());
    TempDir dir;
    QDir().mkdir(dir.file("photos"));
    writeTestJpeg(dir.file("photos/a.jpg"), 60, 40);
    writeTestJpeg(dir.file("a.jpg"), 30, 20);
    const QByteArray parent = readFile(dir.file("a.jpg"));
    CatalogSettings settings;
    settings.appFolder = dir.file("settings");
    settings.thumbFolderName = "..";
    QDir().mkdir(settings.appFolder);
    saveSettings(settings);
    const Outcome outcome = batch({"-q", "-s", settings.appFolder, dir.file("photos")});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_TRUE(outcome.errors.contains("サムネイル画像フォルダ名"))
        << outcome.errors.toStdString();
    EXPECT_EQ(readFile(dir.file("a.jpg")), parent);
    EXPECT_FALSE(QFileInfo::exists(dir.file("photos/index.htm")));
}

// ---- 2, 9, 11. rotation backups, long names, owner and mode ----

TEST(RotationEdges, KilledDuringTheBackupCopyNeverLeavesATruncatedBackup) {
    ASSERT_TRUE(haveBatch());
    TempDir dir;
    writeTestJpeg(dir.file("a.jpg"), 400, 300);
    const QByteArray original = readFile(dir.file("a.jpg"));
    ASSERT_GT(original.size(), 8192);
    // The size limit kills the process (SIGXFSZ) in the middle of the backup copy.
    const Outcome killed = batchWith("ulimit -f 8", {"--rotate", "right", dir.file("a.jpg")});
    EXPECT_EQ(killed.status, -1);
    EXPECT_EQ(readFile(dir.file("a.jpg")), original);
    EXPECT_FALSE(QFileInfo::exists(dir.file("_backup/a.jpg")));
    const Outcome again = batch({"--rotate", "right", dir.file("a.jpg")});
    EXPECT_EQ(again.status, 0) << again.errors.toStdString();
    EXPECT_EQ(readFile(dir.file("_backup/a.jpg")), original);
    EXPECT_NE(readFile(dir.file("a.jpg")), original);
}

TEST(RotationEdges, LongNamesAreTurnedAndConverted) {
    TempDir dir;
    const QString stem(250, QLatin1Char('n'));
    writeTestJpeg(dir.file(stem + ".jpg"), 40, 30);
    RotationJob(dir.path(), 90, true).rotateFile(stem + ".jpg", Turn::Right);
    EXPECT_EQ(jpegSize(dir.file(stem + ".jpg")), QSize(30, 40));
    EXPECT_TRUE(QFileInfo::exists(dir.file("_backup/" + stem + ".jpg")));
    dir.write(stem + ".bmp", makeTestBmp24(8, 6));
    QFile::remove(dir.file(stem + ".jpg"));
    const BmpConversion::Result result = BmpConversion(90).run(dir.path(), {stem + ".bmp"}, {});
    EXPECT_EQ(result.failure, BmpConversion::Failure::None) << result.message.toStdString();
    EXPECT_EQ(jpegSize(dir.file(stem + ".jpg")), QSize(8, 6));
    EXPECT_TRUE(strayTemporaries(dir.path()).isEmpty());
}

TEST(RotationEdges, TurnedPhotographKeepsItsOwnerGroupAndMode) {
    TempDir dir;
    writeTestJpeg(dir.file("a.jpg"), 40, 30);
    const QByteArray path = QFile::encodeName(dir.file("a.jpg"));
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(path.constData(), 65534, 65534), 0);
    }
    ASSERT_EQ(::chmod(path.constData(), root ? 0444 : 0640), 0);
    RotationJob(dir.path(), 90, true).rotateFile("a.jpg", Turn::Left);
    for (const QString& file : {dir.file("a.jpg"), dir.file("_backup/a.jpg")}) {
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, root ? 0444u : 0640u) << file.toStdString();
        if (root) {
            EXPECT_EQ(info.st_uid, 65534u) << file.toStdString();
            EXPECT_EQ(info.st_gid, 65534u) << file.toStdString();
        }
    }
    EXPECT_EQ(jpegSize(dir.file("a.jpg")), QSize(30, 40));
}

// ---- 3, 5. damaged and hostile photographs ----

TEST(DamagedPhotographs, DamagedDecodesAreNeverSavedOverThePhotograph) {
    const QByteArray whole = makeTestJpeg(64, 48);
    const int scan = whole.indexOf("\xFF\xDA");
    QByteArray marker = whole;
    marker.replace(scan + 40, 2, QByteArray("\xFF\xD0", 2));  // a marker inside the data
    struct Row {
        const char* name;
        QByteArray bytes;
        bool refused;
    };
    const Row rows[] = {
        {"truncated.jpg", whole.left(whole.size() * 2 / 3), true},
        {"marker.jpg", marker, true},
        // Bytes before a marker, as intact camera files often carry, do not block.
        {"extraneous.jpg", whole.left(2) + QByteArray(3, '\0') + whole.mid(2), false},
    };
    TempDir dir;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        dir.write(row.name, row.bytes);
        const QString message =
            errorOf([&] { RotationJob(dir.path(), 90, true).rotateFile(row.name, Turn::Right); });
        EXPECT_EQ(message.contains(QStringLiteral("回転できません")), row.refused)
            << message.toStdString();
        EXPECT_EQ(message.contains(row.name), row.refused);
        EXPECT_EQ(dir.read(row.name) == row.bytes, row.refused);
        EXPECT_EQ(QFileInfo::exists(dir.file(QStringLiteral("_backup/") + row.name)), !row.refused);
    }
    ASSERT_TRUE(haveBatch());
    const Outcome outcome = batch({"--rotate", "180", dir.file("truncated.jpg")});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(dir.read("truncated.jpg"), rows[0].bytes);
}

TEST(DamagedPhotographs, ProgressiveFilesWithTooManyScansAreRefused) {
    TempDir dir;
    dir.write("fine.jpg", progressiveWithScans(0));
    EXPECT_EQ(jpegSize(dir.file("fine.jpg")), QSize(32, 32));
    dir.write("scans.jpg", progressiveWithScans(600));
    const QString message = errorOf([&] { jpegSize(dir.file("scans.jpg")); });
    EXPECT_TRUE(message.startsWith("scans.jpg: ")) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("スキャン"))) << message.toStdString();
}

// ---- 4. memory running out ----

TEST(MemoryEdges, OutOfMemoryEndsEveryModeWithAMessageNotAnAbort) {
    ASSERT_TRUE(haveBatch());
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP()
        << "skipped: the sanitizers cannot start under ulimit -v (the plain build runs it)";
#endif
    TempDir dir;
    writeTestJpeg(dir.file("big.jpg"), 6000, 4000, false, 50);
    dir.write("big.bmp", makeTestBmp24(6000, 4000));
    const QByteArray photo = readFile(dir.file("big.jpg"));
    const QString limit = QStringLiteral("ulimit -v 140000");
    for (const QStringList& args :
         {QStringList{"--rotate", "right", dir.file("big.jpg")},
          QStringList{"--convert-bmp", "--overwrite", dir.file("big.bmp")}}) {
        SCOPED_TRACE(args.first().toStdString());
        const Outcome outcome = batchWith(limit, args);
        EXPECT_EQ(outcome.status, 1) << outcome.errors.toStdString();
        EXPECT_TRUE(outcome.errors.contains(QStringLiteral("メモリが足りません")))
            << outcome.errors.toStdString();
    }
    EXPECT_EQ(readFile(dir.file("big.jpg")), photo);
    EXPECT_FALSE(QFileInfo::exists(dir.file("_backup/big.jpg")));
    EXPECT_TRUE(strayTemporaries(dir.path()).isEmpty());
}

// ---- 6, 12. files that are too large, empty or binary ----

TEST(InputLimits, OversizedEmptyOrBinaryInputsAreRefusedByName) {
    TempDir dir;
    QFile comments(dir.file("PicComment.txt"));
    ASSERT_TRUE(comments.open(QIODevice::WriteOnly));
    ASSERT_TRUE(comments.resize(CommentTable::kMaxFileBytes + 1));  // sparse
    comments.close();
    CommentTable table;
    EXPECT_TRUE(errorOf([&] { table.load(dir.path()); }).contains("PicComment.txt"));

    const QString ini = settingsFilePath(dir.path());
    for (const QByteArray& bytes : {QByteArray(), QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
                                    QByteArray(int(kMaxSettingsFileBytes) + 1, 'x')}) {
        writeFile(ini, bytes);
        EXPECT_THROW(loadSettings(dir.path()), SettingsError) << bytes.size();
        EXPECT_TRUE(errorOf([&] { loadSettings(dir.path()); }).contains("Quorvel.ini"));
    }
    ASSERT_TRUE(haveBatch());
    writeFile(ini, QByteArray());
    writeTestJpeg(dir.file("a.jpg"), 20, 20);
    const Outcome outcome = batch({"-q", "-s", dir.path(), dir.path()});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_TRUE(outcome.errors.contains("Quorvel.ini")) << outcome.errors.toStdString();
    EXPECT_FALSE(outcome.errors.contains(QStringLiteral("書き込みエラー")));
}

// ---- 7. names that are not UTF-8 ----

TEST(UndecodableNames, AreReportedEvenWhenQuiet) {
    EXPECT_EQ(escapedFileName("\x8e\xca.jpg"), "\\x8e\\xca.jpg");
    EXPECT_EQ(escapedFileName("旅\xff.JPG"), "旅\\xff.JPG");
    EXPECT_EQ(escapedFileName("a\xe6\x97.jpg"), "a\\xe6\\x97.jpg");  // a cut-off character
    ASSERT_TRUE(haveBatch());
    TempDir dir;
    writeTestJpeg(dir.file("a.jpg"), 20, 20);
    const QByteArray raw = QFile::encodeName(dir.path()) + "/\x8e\xca.jpg";
    const int fd = ::open(raw.constData(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    const QByteArray photo = makeTestJpeg(20, 20);
    ASSERT_EQ(::write(fd, photo.constData(), size_t(photo.size())), photo.size());
    ::close(fd);
    EXPECT_EQ(undecodableFileNames(dir.path(), ".jpg"), QStringList{"\\x8e\\xca.jpg"});
    const Outcome outcome = batch({"-q", dir.path()});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_TRUE(outcome.errors.contains("\\x8e\\xca.jpg")) << outcome.errors.toStdString();
    ::unlink(raw.constData());  // a name the temporary folder's own clean-up cannot reach
}

// ---- 10. concurrent runs ----

TEST(ConcurrentRuns, TwoCataloguesOfOneFolderBothSucceed) {
    ASSERT_TRUE(haveBatch());
    for (int attempt = 0; attempt < 5; ++attempt) {
        TempDir dir;
        writeTestJpeg(dir.file("a.jpg"), 20, 20);
        QProcess first, second;
        for (QProcess* process : {&first, &second}) {
            process->setStandardInputFile(QProcess::nullDevice());
            process->start(batchProgram(), {"-q", "-j", "1", dir.path()});
        }
        for (QProcess* process : {&first, &second}) {
            process->waitForFinished(60000);
            EXPECT_EQ(process->exitCode(), 0) << process->readAllStandardError().toStdString();
        }
    }
}

TEST(ConcurrentRuns, ASecondRotationOfTheSameFileRefuses) {
    TempDir dir;
    writeTestJpeg(dir.file("a.jpg"), 40, 30);
    const QByteArray photo = readFile(dir.file("a.jpg"));
    const PhotoLock held(dir.file("a.jpg"));  // a rotation in progress
    EXPECT_EQ(errorOf([&] { RotationJob(dir.path(), 90, true).rotateFile("a.jpg", Turn::Right); }),
              PhotoLock::busyMessage(dir.file("a.jpg")));
    ASSERT_TRUE(haveBatch());
    const Outcome outcome = batch({"--rotate", "right", dir.file("a.jpg")});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_TRUE(outcome.errors.contains(QStringLiteral("使用中"))) << outcome.errors.toStdString();
    EXPECT_EQ(readFile(dir.file("a.jpg")), photo);
}

// ---- 12, 13. usage texts, a folder in place of the slide show ----

TEST(Messages, ModeHelpPrintsItsUsage) {
    ASSERT_TRUE(haveBatch());
    for (const QStringList& args : {QStringList{"--rotate", "--help"},
                                    QStringList{"--toc", "--help"}, QStringList{"--toc", "-h"}}) {
        const Outcome outcome = batch(args);
        EXPECT_EQ(outcome.status, 0) << args.join(' ').toStdString();
        EXPECT_TRUE(outcome.out.startsWith("Usage: tessaly-batch " + args.first()));
    }
}

// ---- 14. temporary files of killed runs ----

class AbandonedTemporaryTest : public CatalogRunTest {};

TEST_F(AbandonedTemporaryTest, ALaterRunRemovesOnlyOursOnceADayOld) {
    QDir().mkpath(dir.file("photos/htm_image"));
    input.folder = dir.file("photos");
    writeTestJpeg(dir.file("photos/a.jpg"), 20, 20);
    input.names = {"a.jpg"};
    input.selected = {true};
    const struct {
        const char* path;
        bool old;
        bool removed;
    } rows[] = {
        {"photos/.tessaly-Ab12Cd.tmp", true, true},
        {"photos/htm_image/.tessaly-Ab12Cd.tmp", true, true},
        {".tessaly-Xy34Zw.tmp", true, true},           // beside the contents page
        {"photos/.tessaly-Ab12Ce.tmp", false, false},  // young: a run may be writing it
        {"photos/.tessaly-notours.tmp", true, false},
    };
    const timespec dayAndHourAgo{::time(nullptr) - 25 * 3600, 0};
    const timespec times[2] = {dayAndHourAgo, dayAndHourAgo};
    for (const auto& row : rows) {
        writeFile(dir.file(row.path), "left by a killed run");
        if (row.old) ::utimensat(AT_FDCWD, QFile::encodeName(dir.file(row.path)), times, 0);
    }
    // Work folders of killed runs: a day-old one goes whole, whatever it holds (the double
    // thumbnails of a killed modern run, a folder), a link in it as a link.
    for (const char* work : {"photos/htm_image/.work-Ab12Cd", "photos/htm_image/.work-Ab12Ce"}) {
        QDir().mkpath(dir.file(work));
        writeFile(dir.file(work) + "/0.jpg", "thumbnail of a killed run");
    }
    QDir().mkpath(dir.file("photos/htm_image/.work-Ab12Cd/inner"));
    writeFile(dir.file("photos/htm_image/.work-Ab12Cd/3-2x.jpg"), "double of a killed run");
    writeFile(dir.file("photos/htm_image/.work-Ab12Cd/inner/x"), "left inside");
    QDir().mkpath(dir.file("kept"));
    writeFile(dir.file("kept/x.jpg"), "someone else's");
    ASSERT_TRUE(QFile::link(dir.file("kept"), dir.file("photos/htm_image/.work-Ab12Cd/out")));
    for (const char* old : {"photos/htm_image/.work-Ab12Cd/0.jpg", "photos/htm_image/.work-Ab12Cd",
                            "photos/htm_image/.work-Ab12Ce/0.jpg"}) {
        ::utimensat(AT_FDCWD, QFile::encodeName(dir.file(old)), times, 0);
    }
    ASSERT_EQ(run(), CatalogRunOutcome::Completed);
    TocGenerator(settings).run(contentsOf(dir.path()));
    for (const auto& row : rows) {
        EXPECT_NE(QFileInfo::exists(dir.file(row.path)), row.removed) << row.path;
    }
    EXPECT_FALSE(QFileInfo::exists(dir.file("photos/htm_image/.work-Ab12Cd")));
    EXPECT_EQ(readFile(dir.file("kept/x.jpg")), "someone else's");
    EXPECT_TRUE(QFileInfo::exists(dir.file("photos/htm_image/.work-Ab12Ce/0.jpg")));  // young

    // A thumbnail folder that is a link to another folder: the run is refused, and nothing
    // there is ours to clean.
    const QStringList elsewhere = {"elsewhere/.tessaly-Ab12Cd.tmp", "elsewhere/.work-Ab12Cd/0.jpg"};
    QDir().mkpath(dir.file("elsewhere/.work-Ab12Cd"));
    for (const QString& path : elsewhere) {
        writeFile(dir.file(path), "someone else's");
        ::utimensat(AT_FDCWD, QFile::encodeName(dir.file(path)), times, 0);
    }
    ::utimensat(AT_FDCWD, QFile::encodeName(dir.file("elsewhere/.work-Ab12Cd")), times, 0);
    ASSERT_TRUE(QFile::link(dir.file("elsewhere"), dir.file("photos/linked")));
    settings.thumbFolderName = "linked";
    ASSERT_EQ(run(), CatalogRunOutcome::Failed);
    for (const QString& path : elsewhere)
        EXPECT_TRUE(QFileInfo::exists(dir.file(path))) << path.toStdString();
}

class SlideShowFolderTest : public CatalogRunTest {};

TEST_F(SlideShowFolderTest, AFolderNamedLikeTheSlideShowIsAnError) {
    addImage("a.jpg");
    settings.makeSlideShow = "on";
    QDir().mkdir(dir.file("SShow.htm"));
    EXPECT_EQ(run(), CatalogRunOutcome::Failed);
    EXPECT_TRUE(QDir(dir.file("SShow.htm")).isEmpty());
}

}  // namespace
}  // namespace tessaly::test
