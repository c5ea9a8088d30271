// End-to-end runs of tessaly-batch's catalogue mode.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QThread>
#include <QUrl>
#include <vector>

#include "core/imaging/jobs/rotationjob.h"
#include "core/imaging/jpeg/jpegimage.h"
#include "core/imaging/metadata/capturedetails.h"
#include "core/imaging/metadata/privacyfilter.h"
#include "core/settings/catalogsettings.h"
#include "support/batchprocess.h"
#include "support/tempdir.h"
#include "support/testformats.h"
#include "support/testheif.h"
#include "support/testimages.h"

namespace tessaly::test {
namespace {

class BatchCatalogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QFileInfo(batchProgram()).isExecutable()) << "no tessaly-batch";
        QDir(dir.path()).mkdir(QStringLiteral("秋の旅"));
        folder = dir.file(QStringLiteral("秋の旅"));
    }
    void image(const QString& name, int width = 90, int height = 60) {
        writeTestJpeg(folder + "/" + name, width, height);
    }
    // A settings folder holding Quorvel.ini with the given changes.
    QString settingsFolder(const std::function<void(CatalogSettings&)>& change) {
        CatalogSettings settings;
        settings.appFolder = dir.file("settings");
        QDir().mkpath(settings.appFolder);
        change(settings);
        saveSettings(settings);
        return settings.appFolder;
    }
    QStringList page() const { return sjisLines(readFile(folder + "/index.htm")); }
    QStringList links() const {
        QStringList found;
        for (const QString& line : page()) {
            if (line.contains("<IMG src=")) found << line.section('"', 5, 5);
        }
        return found;
    }

    TempDir dir;
    QString folder;
};

TEST_F(BatchCatalogTest, UsageHelpAndVersion) {
    BatchOutcome none = runBatch({});
    EXPECT_EQ(none.status, 2);
    EXPECT_TRUE(none.errors.contains("Usage: tessaly-batch"));
    BatchOutcome help = runBatch({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains("--per-row"));
    EXPECT_EQ(runBatch({"--version"}).out, "tessaly-batch 1.60\n");
    EXPECT_EQ(runBatch({"--per-row", "11", folder}).status, 2);
    EXPECT_EQ(runBatch({"--jobs", "0", folder}).status, 2);
    EXPECT_EQ(runBatch({"--date", "5.1.2026", folder}).status, 2);
    EXPECT_EQ(runBatch({"--bogus", folder}).status, 2);
    EXPECT_EQ(runBatch({folder, "sub/a.jpg"}).status, 2);
    EXPECT_EQ(runBatch({dir.file("missing")}).status, 1);
}

TEST_F(BatchCatalogTest, FolderListIsItsJpegFilesSortedIgnoringCase) {
    for (const char* name : {"b.jpg", "A.JPG", "c.Jpg", ".hidden.jpg", "d.jpeg"}) image(name);
    writeFile(folder + "/notes.txt", "x");
    BatchOutcome result = runBatch({folder, "--date", "2026-12-25", "-q"});
    EXPECT_EQ(result.status, 0) << result.errors.toStdString();
    EXPECT_EQ(links(), QStringList({"A.JPG", "b.jpg", "c.Jpg"}));
    EXPECT_TRUE(page().contains("<TITLE>秋の旅</TITLE>"));
    EXPECT_TRUE(page().contains("<!-- 2026.12.25 -->"));
    EXPECT_TRUE(result.errors.isEmpty()) << result.errors.toStdString();
}

// Photographs of other formats join the catalogue only with --all-formats: each gets a JPEG
// thumbnail of its own (no JPEG's thumbnail renamed or changed), a HEIC one a JPEG copy with
// its capture date that the page and the slide show link to; broken ones are named, status 3.
// Without the switch the page stays byte for byte what it was for the JPEG files alone.
TEST_F(BatchCatalogTest, OtherFormatsOnlyWithTheSwitch) {
    image("a.jpg", 120, 80);
    const QString settings = settingsFolder([](CatalogSettings& s) { s.makeSlideShow = "on"; });
    const QStringList args = {folder, "-q", "-s", settings, "--date", "2026-1-5"};
    ASSERT_EQ(runBatch(args).status, 0);
    const QByteArray jpegOnlyPage = readFile(folder + "/index.htm");
    const QByteArray jpegThumbnail = readFile(folder + "/htm_image/a.jpg");
    PngOptions dated;
    dated.exif = makeTestExif("Maker", "2020:01:02 03:04:05", 1).mid(6);
    writeFile(folder + "/a.png", makeTestPng(64, 48, dated));
    writeFile(folder + "/b.WEBP", makeTestWebp(50, 40));
    HeicOptions phone;
    phone.exif = makeTestExif("Phone", "2021:01:02 03:04:05", 1);
    writeFile(folder + "/c.heic", makeTestHeic(64, 48, phone));
    writeFile(folder + "/cut.png", makeTestPng(64, 48).left(60));
    writeFile(folder + "/z.webp", "RIFF....WEBPVP8 nothing");
    ASSERT_EQ(runBatch(args).status, 0);
    EXPECT_EQ(readFile(folder + "/index.htm"), jpegOnlyPage);
    writeFile(folder + "/a.png.jpg", makeTestJpeg(40, 30));  // a JPEG with a thumbnail's name

    BatchOutcome all =
        runBatch(args + QStringList{"--all-formats", "--keep-going", "--sort", "date"});
    EXPECT_EQ(all.status, 3) << all.errors.toStdString();
    EXPECT_TRUE(all.errors.contains("cut.png: PNG")) << all.errors.toStdString();
    EXPECT_TRUE(all.errors.contains("z.webp: WebP")) << all.errors.toStdString();
    EXPECT_EQ(links(),
              QStringList({"a.png", "htm_image/c.heic.view.jpg", "a.jpg", "a.png.jpg", "b.WEBP"}));
    for (const char* thumbnail : {"a.png_.jpg", "c.heic.jpg", "a.png.jpg", "b.WEBP.jpg"})
        EXPECT_TRUE(page().join('\n').contains(QStringLiteral("src=\"htm_image/") + thumbnail));
    EXPECT_EQ(readFile(folder + "/htm_image/a.jpg"), jpegThumbnail);
    const QString copy = folder + "/htm_image/c.heic.view.jpg";
    EXPECT_EQ(CaptureDetails::read(copy).taken.date(), QDate(2021, 1, 2));
    EXPECT_TRUE(readFile(folder + "/SShow.htm").contains("imag[2]=\"htm_image/c.heic.view.jpg\""));
    // With web copies every photograph links its own copy in web/, at most the chosen size,
    // without a position; no other JPEG copy is made. A JPEG under another name gets its own.
    writeFile(folder + "/e.jpg", makeTestJpeg(40, 30));
    writeFile(folder + "/e.webp", makeTestJpeg(44, 30));
    HeicOptions located;
    located.exif = privateCameraSegments(640, 480, 1)[0].second;
    located.iccProfile = iccProfile("RGB ", 600);
    writeFile(folder + "/g.heic", makeTestHeic(640, 480, located));
    QFile::remove(copy);
    all = runBatch(
        args + QStringList{"--all-formats", "--keep-going", "--sort", "date", "--web-copies=320"});
    EXPECT_EQ(all.status, 3) << all.errors.toStdString();
    EXPECT_EQ(links(),
              QStringList({"htm_image/web/a_.jpg", "htm_image/web/c.jpg", "htm_image/web/g.jpg",
                           "htm_image/web/a.jpg", "htm_image/web/a.png.jpg", "htm_image/web/b.jpg",
                           "htm_image/web/e.jpg", "htm_image/web/e_.jpg"}));
    EXPECT_EQ(QDir(folder + "/htm_image/web").entryList({"*.jpg"}, QDir::Files),
              QStringList(
                  {"a.jpg", "a.png.jpg", "a_.jpg", "b.jpg", "c.jpg", "e.jpg", "e_.jpg", "g.jpg"}));
    EXPECT_TRUE(QDir(folder + "/htm_image").entryList({"*.view.jpg"}).isEmpty());
    EXPECT_TRUE(readFile(folder + "/SShow.htm").contains("imag[3]=\"htm_image/web/g.jpg\""));
    EXPECT_EQ(JpegImage::readHeader(readFile(folder + "/htm_image/web/e_.jpg")).width(), 44);
    const QString web = folder + "/htm_image/web/g.jpg";
    const JpegHeader header = JpegImage::readHeader(readFile(web));
    EXPECT_EQ(std::make_pair(header.width(), header.height()), std::make_pair(320, 240));
    const JpegSegments kept = JpegImage::readSegments(readFile(web));
    EXPECT_FALSE(PrivacyFilter::find(kept).any());
    EXPECT_FALSE(kept.iccProfile().isEmpty());
    EXPECT_EQ(CaptureDetails::read(web).taken.date(), QDate(2024, 5, 6));
}

TEST_F(BatchCatalogTest, NamesGiveTheListInTheirOrder) {
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) image(name);
    BatchOutcome result = runBatch({"-t", "題 <名>", "-r", "2", folder, "c.jpg", "a.jpg"});
    EXPECT_EQ(result.status, 0) << result.errors.toStdString();
    EXPECT_EQ(links(), QStringList({"c.jpg", "a.jpg"}));
    EXPECT_TRUE(page().contains("<TITLE>題 <名></TITLE>"));
    EXPECT_TRUE(result.errors.contains("001/002 c.jpg"));
    EXPECT_FALSE(QFileInfo::exists(folder + "/htm_image/b.jpg"));
    // A long run counts with every digit, to the end.
    const QByteArray tiny = makeTestJpeg(8, 8);
    for (int i = 0; i < 1197; ++i) writeFile(folder + QStringLiteral("/n%1.jpg").arg(i), tiny);
    result = runBatch({folder, "-j", "2"});
    EXPECT_EQ(result.status, 0) << result.errors.toStdString();
    EXPECT_TRUE(result.errors.contains("001/1200 a.jpg\n"))
        << result.errors.left(200).toStdString();
    EXPECT_TRUE(result.errors.endsWith("1200/1200 n999.jpg\n"))
        << result.errors.right(200).toStdString();
}

TEST_F(BatchCatalogTest, WorkerCountsGiveIdenticalFiles) {
    for (int i = 0; i < 7; ++i) image(QStringLiteral("p%1.jpg").arg(i), 300 + 41 * i, 200 + 13 * i);
    const QString settings = settingsFolder([](CatalogSettings& s) {
        s.makeSlideShow = "on";
        s.thumbFilter = "on";
        s.useScriptPopup = "on";
    });
    QList<QByteArray> first;
    for (const char* jobs : {"1", "2", "4"}) {
        QDir(folder + "/htm_image").removeRecursively();
        BatchOutcome result = runBatch({folder, "-j", jobs, "-s", settings, "--date", "2026-1-5"});
        ASSERT_EQ(result.status, 0) << result.errors.toStdString();
        QList<QByteArray> files{readFile(folder + "/index.htm"), readFile(folder + "/SShow.htm")};
        for (int i = 0; i < 7; ++i)
            files << readFile(folder + QStringLiteral("/htm_image/p%1.jpg").arg(i));
        if (first.isEmpty()) first = files;
        EXPECT_EQ(files, first) << "jobs " << jobs;
    }
}

TEST_F(BatchCatalogTest, CommentsWithoutCommentFileEndTheRun) {
    image("a.jpg");
    BatchOutcome result = runBatch({"-c", folder});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.errors.contains("コメントファイルが見つかりません。"));
    EXPECT_FALSE(QFileInfo::exists(folder + "/index.htm"));
}

// The thumbnail folder, the backups, the web copies and the second thumbnails hold no album:
// a run in one says why it makes no catalogue there (status 1).
TEST_F(BatchCatalogTest, NoCatalogueInTheProgramsOwnFolders) {
    image("a.jpg");
    ASSERT_EQ(runBatch({folder, "-q", "--web-copies", "--style", "modern"}).status, 0);
    QDir(folder).mkdir("_backup");
    image("_backup/a.jpg");
    for (const char* own : {"htm_image", "htm_image/web", "htm_image/2x", "_backup"}) {
        const QString path = folder + "/" + own;
        ASSERT_TRUE(QFileInfo(path).isDir()) << own;
        const BatchOutcome result = runBatch({path, "-q"});
        EXPECT_EQ(result.status, 1) << own;
        EXPECT_TRUE(result.errors.startsWith("このフォルダにはカタログを作りません。\n「" +
                                             QFileInfo(path).fileName() + "」は Tessaly が"))
            << result.errors.toStdString();
        EXPECT_FALSE(QFileInfo::exists(path + "/index.htm")) << own;
    }
}

TEST_F(BatchCatalogTest, WriteFailureAndCorruptPhotographFailTheRun) {
    image("a.jpg");
    QDir(folder).mkdir("index.htm");
    BatchOutcome blocked = runBatch({folder, "-q"});
    EXPECT_EQ(blocked.status, 1);
    EXPECT_TRUE(blocked.errors.contains(
        "ファイル書き込みエラーが発生しました。\n処理は中断されました。\nindex.htm "
        "はフォルダのため書き込めません"))
        << blocked.errors.toStdString();
    QDir(folder).rmdir("index.htm");
    writeFile(folder + "/b.jpg", "broken");
    BatchOutcome corrupt = runBatch({folder, "-q"});
    EXPECT_EQ(corrupt.status, 1);
    EXPECT_FALSE(corrupt.errors.isEmpty());
}

// With --keep-going photographs that cannot be read are left out of the page, named as they
// happen and again at the end (status 3); one cut short inside its data is kept.
TEST_F(BatchCatalogTest, KeepGoingLeavesOutUnreadablePhotographs) {
    writeFile(folder + "/a.jpg", "");
    image("b.jpg");
    const QByteArray whole = makeTestJpeg(90, 60);
    writeFile(folder + "/c.jpg", whole.left(100));                   // cut in its header
    writeFile(folder + "/d.jpg", whole.left(whole.size() * 2 / 3));  // cut in its data
    writeFile(folder + "/e.jpg", "not a jpeg");
    EXPECT_EQ(runBatch({folder, "-q"}).status, 1);
    EXPECT_EQ(runBatch({folder, "-q", "--keep-going", "b.jpg"}).status, 0);
    for (const char* jobs : {"1", "3"}) {
        QDir(folder + "/htm_image").removeRecursively();
        BatchOutcome result = runBatch({folder, "-q", "--keep-going", "-j", jobs});
        EXPECT_EQ(result.status, 3) << result.errors.toStdString();
        EXPECT_EQ(links(), QStringList({"b.jpg", "d.jpg"}));
        EXPECT_EQ(page().at(2), "<!-- FILE=002 b.jpg -->");
        for (const char* name : {"a.jpg", "c.jpg", "e.jpg"}) {
            EXPECT_TRUE(result.errors.contains(QString("left out: ") + name)) << name;
            EXPECT_FALSE(QFileInfo::exists(folder + "/htm_image/" + name)) << name;
        }
        EXPECT_TRUE(result.errors.contains("3 photo(s) left out:\n  a.jpg\n  c.jpg\n  e.jpg"))
            << result.errors.toStdString();
    }
}

// With photographs whose EXIF data odd software wrote, each turned right first: two
// Orientation entries, a width no SHORT field holds, an EXIF pointer outside the block, fill
// bytes before the APP1 segment.
TEST_F(BatchCatalogTest, SortByDateOrdersByCaptureTime) {
    const QStringList taken = writeDatedPhotos(folder);
    const TiffEntry date = textEntry(0x0132, "2019:01:01 00:00:00");
    const QByteArray odd[] = {
        handMadeExif({shortEntry(0x0112, 3, 0), shortEntry(0x0112, 6), date}),
        handMadeExif({}, {textEntry(0x9003, "2019:02:01 00:00:00"), shortEntry(0xA002, 64),
                          longEntry(0xA003, 70000)}),
        handMadeExif({textEntry(0x0132, "2019:03:01 00:00:00")},
                     {textEntry(0x9003, "2019:03:01 00:00:00")}, 0xFFFFFF00),
        handMadeExif({shortEntry(0x0112, 8), textEntry(0x0132, "2019:04:01 00:00:00")})};
    QStringList turn{"--rotate", "right", "--no-backup"}, oddNames;
    for (int i = 0; i < 4; ++i) {
        JpegLayout layout;
        layout.segments = {{0xE1, odd[i]}};
        QByteArray bytes = makePhotoJpeg(64, 48, layout);
        if (i == 3) bytes.insert(bytes.indexOf("\xFF\xE1"), "\xFF\xFF");
        oddNames << QStringLiteral("o%1.jpg").arg(i);
        writeFile(folder + "/" + oddNames.last(), bytes);
        turn << folder + "/" + oddNames.last();
    }
    const BatchOutcome turned = runBatch(turn);
    EXPECT_EQ(turned.status, 0) << turned.errors.toStdString();
    EXPECT_TRUE(
        turned.errors.contains(RotationJob::exifUnchangedMessage("o2.jpg", {"ExifIFDPointer"})))
        << turned.errors.toStdString();
    BatchOutcome result = runBatch({folder, "-q", "--sort", "date"});
    EXPECT_EQ(result.status, 0) << result.errors.toStdString();
    EXPECT_EQ(links(), oddNames + taken);
    EXPECT_EQ(runBatch({folder, "--sort", "time"}).status, 2);
}

// --style overrides the settings file's page style for the run, either way; a frame set has
// only the classic style.
TEST_F(BatchCatalogTest, StyleChoosesThePageStyle) {
    image("a.jpg", 300, 200);
    const QString modern =
        settingsFolder([](CatalogSettings& s) { s.pageStyle = QStringLiteral("modern"); });
    EXPECT_EQ(runBatch({folder, "-q", "-s", modern, "--style", "classic"}).status, 0);
    EXPECT_TRUE(page().value(0).startsWith("<!DOCTYPE HTML PUBLIC"));
    EXPECT_FALSE(QFileInfo::exists(folder + "/htm_image/2x"));
    EXPECT_EQ(runBatch({folder, "-q", "-s", modern}).status, 0);
    EXPECT_TRUE(readFile(folder + "/index.htm").startsWith("<!DOCTYPE html>\r\n"));
    EXPECT_TRUE(QFileInfo(folder + "/htm_image/2x/a.jpg").isFile());
    EXPECT_EQ(runBatch({folder, "--style", "fancy"}).status, 2);
    const BatchOutcome frames =
        runBatch({"--toc", "-t", "T", "--frames", "--style", "modern", dir.path()});
    EXPECT_EQ(frames.status, 2);
    EXPECT_TRUE(frames.errors.contains("--frames")) << frames.errors.toStdString();
}

TEST_F(BatchCatalogTest, OpenStartsTheConfiguredBrowser) {
    image("a.jpg");
    const QString script = dir.file("browser.sh");
    // Written aside and renamed, so the file is never seen half written.
    writeFile(script, "#!/bin/sh\necho \"$1|$PWD\" > \"$0.part\" && mv \"$0.part\" \"$0.out\"\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString settings = settingsFolder([&](CatalogSettings& s) {
        s.browserPath = script;
        s.noBrowserLaunch = "on";  // --open still opens
    });
    BatchOutcome result = runBatch({folder, "--open", "-s", settings + "/Quorvel.ini"});
    EXPECT_EQ(result.status, 0) << result.errors.toStdString();
    for (int i = 0; i < 100 && !QFileInfo::exists(script + ".out"); ++i) QThread::msleep(50);
    EXPECT_EQ(readFile(script + ".out"), (folder + "/index.htm|" + folder + "\n").toUtf8());
}

// The first run, stopped, ends its page with the images done; the later ones, stopped over
// that page, leave it byte for byte and say so.
TEST_F(BatchCatalogTest, InterruptEndsThePagesAndExitsWith128PlusTheSignal) {
    for (int i = 0; i < 60; ++i)
        image(QStringLiteral("q%1.jpg").arg(i, 2, 10, QChar('0')), 800, 600);
    for (const int number : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(number);
        const QByteArray earlier = readFile(folder + "/index.htm");
        QProcess process;
        process.setReadChannel(QProcess::StandardError);
        process.start(batchProgram(), {folder, "-j", "1"});
        ASSERT_TRUE(process.waitForStarted());
        QByteArray err;
        while (!err.contains("002/060") && process.waitForReadyRead(20000)) {
            err += process.readAllStandardError();
        }
        ASSERT_GT(process.processId(), 0) << "ended before the signal: " << err.toStdString();
        ::kill(static_cast<pid_t>(process.processId()), number);
        process.waitForFinished(60000);
        err += process.readAllStandardError();
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 128 + number);
        EXPECT_TRUE(QString::fromUtf8(err).contains("処理は中断されました。"));
        EXPECT_EQ(page().last(), "</HTML>");
        EXPECT_LT(links().size(), 60);
        if (number != SIGINT) {
            EXPECT_EQ(readFile(folder + "/index.htm"), earlier);
            EXPECT_TRUE(QString::fromUtf8(err).contains(
                QStringLiteral("前回のページ（index.htm）は元のまま残しています。")))
                << err.toStdString();
        }
        EXPECT_TRUE(QDir(folder).entryList({".tessaly-*"}, QDir::Files | QDir::Hidden).isEmpty());
        // No temporary file or scratch folder stays behind.
        const QStringList left =
            QDir(folder + "/htm_image")
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        for (const QString& name : left) EXPECT_TRUE(name.startsWith('q')) << name.toStdString();
    }
}

// Web copies: the pages link to upright, light copies without what tells about the owner;
// --check-privacy finds the positions on pages without them; a second run rewrites no copy,
// a changed photograph gets a new one, and one no longer catalogued loses its copy.
TEST_F(BatchCatalogTest, WebCopiesArePrivateIncrementalAndChecked) {
    JpegLayout layout;
    layout.segments = privateCameraSegments(1600, 1200, 6);
    writeFile(folder + "/a.jpg", makePhotoJpeg(1600, 1200, layout));
    writeFile(folder + "/b.jpg", makePhotoJpeg(1600, 1200, layout));
    const QString settings = settingsFolder([](CatalogSettings& s) {
        s.setOn(&CatalogSettings::makeSlideShow, true);
        s.setOn(&CatalogSettings::openInNewWindow, true);
        s.setOn(&CatalogSettings::useScriptPopup, true);
    });
    // The closing lines say, as the window's closing question does, how many linked
    // photographs carry a position; copies leave none.
    const BatchOutcome linked = runBatch({"-q", "-s", settings, folder});
    ASSERT_EQ(linked.status, 0);
    EXPECT_TRUE(linked.errors.contains("位置情報を含む画像が 2 枚リンクされています"))
        << linked.errors.toStdString();
    BatchOutcome check = runBatch({"--check-privacy", "-s", settings, folder});
    EXPECT_EQ(check.status, 4);
    EXPECT_TRUE(check.out.contains("a.jpg: 位置情報、シリアル番号、所有者名"))
        << check.out.toStdString();
    EXPECT_TRUE(check.out.contains("b.jpg")) << check.out.toStdString();

    const BatchOutcome copied = runBatch({"-q", "-s", settings, "--web-copies=1024", folder});
    ASSERT_EQ(copied.status, 0);
    EXPECT_FALSE(copied.errors.contains("位置情報")) << copied.errors.toStdString();
    const QString web = folder + "/htm_image/web/";
    EXPECT_TRUE(readFile(folder + "/index.htm").contains("href=\"htm_image/web/a.jpg\""));
    EXPECT_TRUE(readFile(folder + "/index.htm").contains("disp('htm_image/web/a.jpg',768,1024)"));
    EXPECT_TRUE(readFile(folder + "/SShow.htm").contains("imag[1]=\"htm_image/web/a.jpg\""));
    const QByteArray copy = readFile(web + "a.jpg");
    const JpegHeader header = JpegImage::readHeader(copy);
    EXPECT_EQ(header.orientation, 1);
    EXPECT_EQ(header.storedWidth, 768);
    EXPECT_EQ(header.storedHeight, 1024);
    EXPECT_FALSE(JpegImage::readSegments(copy).iccProfile().isEmpty());
    // The copies tell nothing; the originals beside them, which no page links, still do.
    check = runBatch({"--check-privacy", "-s", settings, folder});
    EXPECT_EQ(check.status, 4);
    EXPECT_EQ(check.out,
              "a.jpg: 位置情報、シリアル番号、所有者名（ページからのリンクなし）\n"
              "b.jpg: 位置情報、シリアル番号、所有者名（ページからのリンクなし）\n");
    // The modern page links the same copies and puts them in place as well.
    QDir(web).removeRecursively();
    ASSERT_EQ(
        runBatch({"-q", "-s", settings, "--web-copies=1024", "--style", "modern", folder}).status,
        0);
    EXPECT_TRUE(readFile(folder + "/index.htm").contains("href=\"htm_image/web/a.jpg\""));
    EXPECT_EQ(JpegImage::readHeader(readFile(web + "b.jpg")).storedHeight, 1024);
    EXPECT_TRUE(QFileInfo::exists(web + "copies.txt"));

    const QDateTime old = QDateTime::currentDateTime().addSecs(600);
    QFile a(web + "a.jpg");
    ASSERT_TRUE(a.open(QIODevice::ReadWrite) &&
                a.setFileTime(old, QFileDevice::FileModificationTime));
    a.close();
    QFile b(web + "b.jpg");
    ASSERT_TRUE(b.open(QIODevice::ReadWrite) &&
                b.setFileTime(old, QFileDevice::FileModificationTime));
    b.close();
    QFile photo(folder + "/b.jpg");
    ASSERT_TRUE(photo.open(QIODevice::ReadWrite) &&
                photo.setFileTime(old.addSecs(60), QFileDevice::FileModificationTime));
    photo.close();
    ASSERT_EQ(
        runBatch({"-q", "-s", settings, "--web-copies=1024", folder, "a.jpg", "b.jpg"}).status, 0);
    EXPECT_EQ(QFileInfo(web + "a.jpg").lastModified(), old);  // kept
    EXPECT_NE(QFileInfo(web + "b.jpg").lastModified(), old);  // made again

    ASSERT_EQ(runBatch({"-q", "-s", settings, "--web-copies=1024", folder, "b.jpg"}).status, 0);
    EXPECT_FALSE(QFileInfo::exists(web + "a.jpg"));
    ASSERT_EQ(
        runBatch({"-q", "-s", settings, "--web-copies=800", "--keep-location", folder, "b.jpg"})
            .status,
        0);
    EXPECT_EQ(JpegImage::readHeader(readFile(web + "b.jpg")).storedHeight, 800);  // a new policy
    check = runBatch({"--check-privacy", "-s", settings, folder});
    EXPECT_EQ(check.status, 4);
    EXPECT_TRUE(check.out.contains("htm_image/web/b.jpg: 位置情報\n")) << check.out.toStdString();
    // The folder above holds no catalogue of its own; -R reads those below it.
    EXPECT_EQ(runBatch({"--check-privacy", "-s", settings, dir.path()}).status, 1);
    check = runBatch({"--check-privacy", "-R", "-s", settings, dir.path()});
    EXPECT_EQ(check.status, 4);
    EXPECT_TRUE(check.out.contains("秋の旅/htm_image/web/b.jpg: 位置情報\n"))
        << check.out.toStdString();
    // A run that fails on a later photograph keeps the earlier copy of a changed one.
    const QDateTime made = QFileInfo(web + "b.jpg").lastModified();
    ASSERT_TRUE(photo.open(QIODevice::ReadWrite) &&
                photo.setFileTime(made.addSecs(60), QFileDevice::FileModificationTime));
    photo.close();
    writeFile(folder + "/c.jpg", "not a photograph");
    EXPECT_EQ(runBatch({"-q", "-s", settings, "--web-copies=800", "--keep-location", folder,
                        "b.jpg", "c.jpg"})
                  .status,
              1);
    EXPECT_EQ(QFileInfo(web + "b.jpg").lastModified(), made);
    // A photograph of another format keeps its copy as well, upright and without a position.
    PngOptions png;
    png.exif = layout.segments[0].second.mid(6);
    writeFile(folder + "/p.png", makeTestPng(400, 300, png));
    const QStringList pngRun = {"-q",   "-s",   settings, "--all-formats", "--web-copies=320",
                                folder, "p.png"};
    ASSERT_EQ(runBatch(pngRun).status, 0);
    QFile pngCopy(web + "p.jpg");
    ASSERT_TRUE(pngCopy.open(QIODevice::ReadWrite) &&
                pngCopy.setFileTime(old, QFileDevice::FileModificationTime));
    pngCopy.close();
    ASSERT_EQ(runBatch(pngRun).status, 0);
    EXPECT_EQ(QFileInfo(web + "p.jpg").lastModified(), old);
    const JpegHeader upright = JpegImage::readHeader(readFile(web + "p.jpg"));  // orientation 6
    EXPECT_EQ(std::make_pair(upright.width(), upright.orientation), std::make_pair(240, 1));
    check = runBatch({"--check-privacy", "-s", settings, folder});
    EXPECT_FALSE(check.out.contains("htm_image/web/")) << check.out.toStdString();
    EXPECT_TRUE(
        check.out.contains("p.png: 位置情報、シリアル番号、所有者名（ページからのリンクなし）"))
        << check.out.toStdString();
}

// The files below root, by their path from it.
QStringList filesBelow(const QString& root) {
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

// The files of a published site its page and what it names reach (by their path from root);
// an address that leads outside root or to no file is named "missing: " + the address.
QSet<QString> reachedFiles(const QString& root) {
    static const QRegularExpression address(
        QStringLiteral("[^\"'()\\s=,]+\\.(?:jpg|jpeg|gif|png|webp|htm|html|css|js|zip)\\b"));
    QSet<QString> reached = {QStringLiteral("index.htm")};
    for (const QString& name : filesBelow(root)) {
        if (!name.endsWith(".htm") && !name.endsWith(".css") && !name.endsWith(".js")) continue;
        const QString text = QString::fromLatin1(readFile(root + "/" + name));
        const QString from = QFileInfo(root + "/" + name).absolutePath();
        auto found = address.globalMatch(text);
        while (found.hasNext()) {
            const QString link = QUrl::fromPercentEncoding(found.next().captured().toLatin1());
            if (link.contains("://")) continue;
            const QString path = QDir::cleanPath(from + "/" + link);
            const bool inside = path.startsWith(root + "/") && QFileInfo(path).isFile();
            // A bare name is also a photograph's name as the page shows it.
            if (inside)
                reached << QDir(root).relativeFilePath(path);
            else if (link.contains('/'))
                reached << "missing: " + link;
        }
    }
    return reached;
}

// What a publication must be: every file reached from a page, every address inside the site,
// no photograph's bytes, no position, serial or owner in any picture.
void expectPublishable(const QString& site, const QByteArrayList& originals) {
    const QSet<QString> reached = reachedFiles(site);
    for (const QString& name : filesBelow(site)) {
        EXPECT_TRUE(reached.contains(name)) << "not reached: " << name.toStdString();
        const QByteArray bytes = readFile(site + "/" + name);
        EXPECT_FALSE(originals.contains(bytes)) << "an original: " << name.toStdString();
        if (name.endsWith(".jpg")) {
            EXPECT_FALSE(PrivacyFilter::find(JpegImage::readSegments(bytes)).any())
                << name.toStdString();
        }
    }
    for (const QString& name : reached)
        EXPECT_FALSE(name.startsWith("missing: ")) << name.toStdString();
}

// A publication of either page style holds what its pages reach and nothing else, is left
// alone by a run that changes nothing (its zip too), and loses the outputs of a photograph no
// longer shown.
TEST_F(BatchCatalogTest, PublishWritesTheSiteAndOnlyTheSite) {
    JpegLayout layout;
    layout.segments = privateCameraSegments(800, 600, 1);
    const QByteArray photo = makePhotoJpeg(800, 600, layout);
    writeFile(folder + "/a.jpg", photo);
    writeFile(folder + "/b.jpg", photo);
    writeFile(dir.file("back.jpg"), makePhotoJpeg(64, 64, layout));
    writeFile(folder + "/PicComment.txt", "a.jpg\tcomment\n");
    const QString settings = settingsFolder([this](CatalogSettings& s) {
        s.setOn(&CatalogSettings::makeSlideShow, true);
        s.setOn(&CatalogSettings::useScriptPopup, true);
        s.setOn(&CatalogSettings::useBackgroundImage, true);
        s.backgroundFile = dir.file("back.jpg");
    });
    const QByteArrayList originals = {photo, readFile(dir.file("back.jpg"))};
    for (const QString style : {"classic", "modern"}) {
        SCOPED_TRACE(style.toStdString());
        writeFile(folder + "/b.jpg", photo);
        const QString site = dir.file("site-" + style);
        const QStringList run = {"-q",  "-s",        settings, "--date", "2026-1-5", "--style",
                                 style, "--publish", site,     "--zip",  folder};
        ASSERT_EQ(runBatch(run).status, 0);
        EXPECT_TRUE(QFileInfo::exists(site + "/htm_image/web/b.jpg"));
        const QString zip = site + "/htm_image/photos.zip";
        EXPECT_TRUE(readFile(zip).contains("b.jpg"));  // stored: the copies' names are there
        EXPECT_TRUE(readFile(zip).contains(readFile(site + "/htm_image/web/b.jpg")));
        expectPublishable(site, originals);
        const QDateTime old = QDateTime::currentDateTime().addSecs(-3600);
        for (const QString& name : filesBelow(site)) {
            QFile file(site + "/" + name);
            ASSERT_TRUE(file.open(QIODevice::ReadWrite) &&
                        file.setFileTime(old, QFileDevice::FileModificationTime));
        }
        ASSERT_EQ(runBatch(run).status, 0);
        for (const QString& name : filesBelow(site))
            EXPECT_EQ(QFileInfo(site + "/" + name).lastModified(), old) << name.toStdString();
        QFile::remove(folder + "/b.jpg");
        ASSERT_EQ(runBatch(run).status, 0);
        EXPECT_FALSE(filesBelow(site).join(' ').contains("b.jpg"))
            << filesBelow(site).join(' ').toStdString();
        expectPublishable(site, originals);
        EXPECT_FALSE(readFile(zip).contains("b.jpg"));
    }
    // Never over the photographs' pages: not into their folder, nor a folder above it.
    EXPECT_EQ(runBatch({"-q", "-s", settings, "--publish", dir.path(), folder}).status, 1);
    EXPECT_EQ(runBatch({"-q", "-s", settings, "--publish", folder, folder}).status, 1);
}

// Every entry below root (links not followed) with what it holds: a file's content, a link's
// target, or nothing for a folder.
QMap<QString, QByteArray> treeOf(const QString& root) {
    QMap<QString, QByteArray> tree;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        tree[entry.filePath()] = entry.isSymLink() ? entry.symLinkTarget().toUtf8()
                                 : entry.isFile()  ? readFile(entry.filePath())
                                                   : QByteArray("<folder>");
    }
    return tree;
}

// A link in place of an output folder or file stops the run before anything is written: not
// where it points, not beside the photographs, and no photograph is removed as a stale copy.
// The same for the contents page (of a folder holding a catalogue in a sub-folder).
TEST_F(BatchCatalogTest, LinksInPlaceOfOutputsStopTheRunAndTouchNothing) {
    const struct {
        const char* link;    // in the photo folder
        const char* target;  // relative to the link's folder
        QStringList options;
        QStringList names;
        bool contents = false;  // --toc over the folder
    } rows[] = {
        {"htm_image/web", "../../outside", {"--web-copies"}, {}},
        {"htm_image/web", "..", {"--all-formats", "--web-copies"}, {"c.png"}},
        {"htm_image/2x", "../../outside", {"--style", "modern"}, {}},
        {"htm_image/web/copies.txt", "../../../outside/precious.jpg", {"--web-copies"}, {}},
        {"htm_image", "../outside", {}, {}},
        {"index.htm", "../outside/precious.jpg", {"-t", "x"}, {}, true},
        {"index.htm", "../outside/precious.jpg", {"-t", "x", "--style", "modern"}, {}, true},
    };
    const QString settings = settingsFolder([](CatalogSettings&) {});
    const QString outside = dir.file("outside");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.link);
        QDir(folder).removeRecursively();
        QDir(outside).removeRecursively();
        QDir().mkpath(folder);
        QDir().mkpath(outside);
        writeTestJpeg(outside + "/precious.jpg", 40, 30);
        image("a.jpg");
        image("b.jpg");
        writeFile(folder + "/c.png", makeTestPng(60, 40));
        if (row.contents) {
            QDir().mkpath(folder + "/sub");
            writeTestJpeg(folder + "/sub/a.jpg", 40, 30);
            ASSERT_EQ(runBatch({"-q", "-s", settings, folder + "/sub"}).status, 0);
        }
        const QString link = folder + "/" + row.link;
        QDir().mkpath(QFileInfo(link).path());
        ASSERT_TRUE(QFile::link(row.target, link));
        const QMap<QString, QByteArray> photos = treeOf(folder), others = treeOf(outside);
        const BatchOutcome outcome = runBatch(
            (row.contents ? QStringList{"--toc"} : QStringList()) +
            QStringList{"-q", "-s", settings} + row.options + QStringList{folder} + row.names);
        EXPECT_EQ(outcome.status, 1);
        EXPECT_TRUE(outcome.errors.contains(QString(row.link) + " はシンボリックリンク"))
            << outcome.errors.toStdString();
        EXPECT_EQ(treeOf(outside), others);
        EXPECT_EQ(treeOf(folder), photos);
    }
}

// --check-privacy reads the pages of both styles and finds every photograph they link that
// carries a position, whatever its name and format.
TEST_F(BatchCatalogTest, PrivacyCheckFindsEveryLinkedPhotograph) {
    JpegLayout layout;
    layout.segments = privateCameraSegments(400, 300, 1);
    const QByteArray exif = layout.segments[0].second;
    ASSERT_TRUE(exif.startsWith(QByteArray("Exif\0\0", 6)));
    PngOptions png;
    png.exif = exif.mid(6);
    WebpOptions webp;
    webp.exif = exif.mid(6);
    // The position only in the XMP packet, as photo editors write it.
    const QByteArray xmp =
        "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>"
        "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
        "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"><rdf:Description "
        "rdf:about=\"\" xmlns:exif=\"http://ns.adobe.com/exif/1.0/\">"
        "<exif:GPSLatitude>35,40.5N</exif:GPSLatitude><exif:GPSLongitude>139,45.3E"
        "</exif:GPSLongitude></rdf:Description></rdf:RDF></x:xmpmeta><?xpacket end=\"w\"?>";
    PngOptions pngXmp;
    pngXmp.xmp = xmp;
    WebpOptions webpXmp;
    webpXmp.xmp = xmp;
    const std::pair<QString, QByteArray> photos[] = {
        {"xmp.png", makeTestPng(40, 30, pngXmp)},
        {"xmp.webp", makeTestWebp(40, 30, webpXmp)},
        {"写真.jpg", makePhotoJpeg(400, 300, layout)},
        {"q?x.jpg", makePhotoJpeg(400, 300, layout)},
        {"emoji\U0001F600.jpg", makePhotoJpeg(400, 300, layout)},
        {"p.png", makeTestPng(40, 30, png)},
        {"w.webp", makeTestWebp(40, 30, webp)},
        {QString(200, '<') + ".jpg", makePhotoJpeg(400, 300, layout)},  // first, long escaped
    };
    for (const auto& [name, bytes] : photos) writeFile(folder + "/" + name, bytes);
    for (const char* style : {"classic", "modern"}) {
        SCOPED_TRACE(style);
        ASSERT_EQ(runBatch({"-q", "--all-formats", "--style", style, folder}).status, 0);
        const BatchOutcome check = runBatch({"--check-privacy", folder});
        EXPECT_EQ(check.status, 4);
        for (const auto& [name, bytes] : photos) {
            EXPECT_TRUE(check.out.contains(name + ": 位置情報")) << check.out.toStdString();
        }
    }
}

// Little-endian or big-endian bytes of a number.
QByteArray numberBytes(quint32 value, int bytes, bool little) {
    QByteArray out;
    for (int i = 0; i < bytes; ++i) out.append(char(value >> (8 * (little ? i : bytes - 1 - i))));
    return out;
}

// A TIFF directory standing at `at` from the TIFF start, its longer values right after it (as
// a maker note holds it).
QByteArray directoryAt(quint32 at, const std::vector<TiffEntry>& entries) {
    QByteArray ifd = numberBytes(quint32(entries.size()), 2, true), data;
    const quint32 dataAt = at + 2 + 12 * quint32(entries.size()) + 4;
    for (const TiffEntry& entry : entries) {
        ifd += numberBytes(quint32(entry.tag), 2, true) +
               numberBytes(quint32(entry.type), 2, true) + numberBytes(entry.count, 4, true);
        ifd += entry.value.size() <= 4 ? entry.value.leftJustified(4, '\0')
                                       : numberBytes(dataAt + quint32(data.size()), 4, true);
        if (entry.value.size() > 4) data += entry.value;
    }
    return ifd + numberBytes(0, 4, true) + data;
}

// An EXIF block of a camera of `make` whose maker note is `note` placed by `makeNote`
// (given where the note stands from the TIFF start).
QByteArray makerNoteExif(const QByteArray& make,
                         const std::function<QByteArray(quint32)>& makeNote) {
    // IFD0 (Make, the EXIF pointer), the EXIF IFD (the maker note), then Make's text.
    const quint32 noteAt = 8 + 30 + 18 + quint32(make.size()) + 1;
    const QByteArray note = makeNote(noteAt);
    return handMadeExif({textEntry(0x010F, make)}, {{0x927C, 7, quint32(note.size()), note}});
}

QByteArray xmpPacket(const QByteArray& namespaces, const QByteArray& properties) {
    return "<?xpacket begin='\xEF\xBB\xBF' id='W5M0MpCehiHzreSzNTczkc9d'?>"
           "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF "
           "xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'><rdf:Description "
           "rdf:about='' " +
           namespaces + ">" + properties +
           "</rdf:Description></rdf:RDF></x:xmpmeta><?xpacket end='w'?>";
}

quint32 crc32Of(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFF;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (crc & 1 ? 0xEDB88320 : 0);
    }
    return ~crc;
}

// A PNG with the chunk put after the image data, just before its end.
QByteArray pngWithChunkAfterImage(const QByteArray& type, const QByteArray& data) {
    const QByteArray png = makeTestPng(40, 30);
    const QByteArray chunk = numberBytes(quint32(data.size()), 4, false) + type + data +
                             numberBytes(crc32Of(type + data), 4, false);
    return png.left(png.size() - 12) + chunk + png.right(12);
}

// A PNG text chunk as ImageMagick stores a raw profile: its type, length and hexadecimal.
QByteArray rawProfile(const QByteArray& type, const QByteArray& profile) {
    QByteArray text = "\n" + type + "\n" + QByteArray::number(profile.size()).rightJustified(8);
    const QByteArray hex = profile.toHex();
    for (qsizetype at = 0; at < hex.size(); at += 72) text += "\n" + hex.mid(at, 72);
    return text + "\n";
}

// --check-privacy reads every file a web server would serve from the folder, linked or not,
// by its content, and every carrier of a position, a serial number or an owner name in it;
// it never follows a link and names no clean file.
TEST_F(BatchCatalogTest, PrivacyCheckReadsEveryCarrierOfEveryServedFile) {
    const QByteArray gpsExif = privateCameraSegments(400, 300, 1)[0].second;  // all three
    const QByteArray all = "位置情報、シリアル番号、所有者名";
    const QByteArray exifNs = "xmlns:exif='http://ns.adobe.com/exif/1.0/'";
    const QByteArray gpsXmp = xmpPacket(exifNs, "<exif:GPSLatitude>35,40.5N</exif:GPSLatitude>");
    const QByteArray ownerXmp = xmpPacket("xmlns:aux='http://ns.adobe.com/exif/1.0/aux/'",
                                          "<aux:OwnerName>Hana Owner</aux:OwnerName>");
    const QByteArray canon = makerNoteExif("Canon", [](quint32 at) {
        return directoryAt(at, {textEntry(0x0009, "Hana Owner"), longEntry(0x000C, 1234567)});
    });
    const QByteArray panasonic = makerNoteExif("Panasonic", [](quint32 at) {
        return QByteArray("Panasonic\0\0\0", 12) +
               directoryAt(at + 12, {{0x0025, 7, 16, "F1612345678901AB"}});
    });
    // An extended XMP packet in two parts, the position in the second.
    const QByteArray guid = "0123456789ABCDEF0123456789ABCDEF";
    const QByteArray extended = xmpPacket(exifNs, QByteArray(300, ' ') +
                                                      "<exif:GPSLongitude>139,45.3E"
                                                      "</exif:GPSLongitude>");
    const auto extendedPart = [&](qsizetype at, qsizetype size) {
        return QByteArray("http://ns.adobe.com/xmp/extension/\0", 35) + guid +
               numberBytes(quint32(extended.size()), 4, false) +
               numberBytes(quint32(at), 4, false) + extended.mid(at, size);
    };
    JpegLayout extendedLayout;
    extendedLayout.segments = {
        {0xE1, QByteArray("http://ns.adobe.com/xap/1.0/\0", 29) +
                   xmpPacket("xmlns:xmpNote='http://ns.adobe.com/xmp/note/'",
                             "<xmpNote:HasExtendedXMP>" + guid + "</xmpNote:HasExtendedXMP>")},
        {0xE1, extendedPart(0, 200)},
        {0xE1, extendedPart(200, extended.size())}};
    // Photoshop resources holding EXIF with a body serial number.
    const QByteArray serialExif = handMadeExif({}, {textEntry(0xA431, "SN-4711")}).mid(6);
    JpegLayout photoshopLayout;
    photoshopLayout.segments = {{0xED, QByteArray("Photoshop 3.0\0"
                                                  "8BIM\x04\x22\0\0",
                                                  22) +
                                           numberBytes(quint32(serialExif.size()), 4, false) +
                                           serialExif + QByteArray(serialExif.size() % 2, '\0')}};
    // XMP inside the EXIF block, a Darwin Core position in it.
    const QByteArray dwc = xmpPacket("xmlns:dwc='http://rs.tdwg.org/dwc/terms/'",
                                     "<dwc:decimalLatitude>35.675</dwc:decimalLatitude>");
    JpegLayout packetLayout;
    packetLayout.segments = {{0xE1, handMadeExif({{0x02BC, 7, quint32(dwc.size()), dwc}})}};
    JpegLayout gpsLayout;
    gpsLayout.segments = {{0xE1, gpsExif}};
    const QByteArray gpsJpeg = makePhotoJpeg(64, 48, gpsLayout);
    // The simple WebP format (no VP8X header, so no flag says EXIF follows) with an EXIF chunk.
    QByteArray webp = makeTestWebp(40, 30);
    ASSERT_EQ(webp.mid(12, 4), "VP8 ");
    webp += "EXIF" + numberBytes(quint32(gpsExif.size() - 6), 4, true) + gpsExif.mid(6);
    webp += QByteArray(webp.size() % 2, '\0');
    webp.replace(4, 4, numberBytes(quint32(webp.size() - 8), 4, true));
    HeicOptions heic;
    heic.exif = gpsExif;
    const auto jpegWith = [](const QByteArray& exif) {
        JpegLayout layout;
        layout.segments = {{0xE1, exif}};
        return makePhotoJpeg(64, 48, layout);
    };
    const QByteArray drone = xmpPacket("xmlns:drone-dji='http://www.dji.com/drone-dji/1.0/'",
                                       "<drone-dji:GpsLatitude>+35.6751</drone-dji:GpsLatitude>");
    const struct {
        QString name;
        QByteArray bytes;
        QByteArray carries;  // empty: clean
        bool linked = true;
    } rows[] = {
        {"canon.jpg", jpegWith(canon), "シリアル番号、所有者名"},
        {"panasonic.jpg", jpegWith(panasonic), "シリアル番号"},
        {"extended.jpg", makePhotoJpeg(64, 48, extendedLayout), "位置情報"},
        {"photoshop.jpg", makePhotoJpeg(64, 48, photoshopLayout), "シリアル番号"},
        {"packet.jpg", makePhotoJpeg(64, 48, packetLayout), "位置情報"},
        {"itxt-after.png",
         pngWithChunkAfterImage("iTXt", QByteArray("XML:com.adobe.xmp\0\0\0\0\0", 22) + gpsXmp),
         "位置情報"},
        {"text.png",
         pngWithChunkAfterImage("tEXt", QByteArray("XML:com.adobe.xmp\0", 18) + ownerXmp),
         "所有者名"},
        {"ztxt.png",
         pngWithChunkAfterImage("zTXt",
                                QByteArray("XML:com.adobe.xmp\0\0", 19) + qCompress(drone).mid(4)),
         "位置情報"},
        {"exif-after.png", pngWithChunkAfterImage("eXIf", gpsExif), all},
        {"raw-exif.png",
         pngWithChunkAfterImage("zTXt", QByteArray("Raw profile type exif\0\0", 23) +
                                            qCompress(rawProfile("exif", gpsExif)).mid(4)),
         all},
        {"raw-xmp.png",
         pngWithChunkAfterImage(
             "tEXt", QByteArray("Raw profile type xmp\0", 21) + rawProfile("xmp", ownerXmp)),
         "所有者名"},
        {"noflag.webp", webp, all},
        {"original.heic", makeTestHeic(64, 64, heic), all, false},
        {"_backup/old.jpg", gpsJpeg, all, false},
        {"htm_image/back.jpg", gpsJpeg, all},  // the page's background
        {"notes.txt", gpsJpeg, all, false},    // told by its content
        {"clean.jpg", makeTestJpeg(64, 48), {}},
        {"clean.png", makeTestPng(40, 30), {}},
        {"clean.webp", makeTestWebp(40, 30), {}},
        {"link.jpg", {}, {}},  // a link to a photograph outside
    };
    QByteArray page = "<HTML><BODY background=\"htm_image/back.jpg\">\n";
    for (const auto& row : rows) {
        if (row.linked && !row.name.startsWith("htm_image/")) {
            page += "<A HREF=\"" + row.name.toUtf8() + "\">x</A>\n";
        }
        QDir().mkpath(QFileInfo(folder + "/" + row.name).path());
        if (!row.bytes.isEmpty()) writeFile(folder + "/" + row.name, row.bytes);
    }
    writeFile(folder + "/index.htm", page + "</BODY></HTML>\n");
    writeFile(dir.file("outside.jpg"), gpsJpeg);
    ASSERT_TRUE(QFile::link(dir.file("outside.jpg"), folder + "/link.jpg"));
    const BatchOutcome check = runBatch({"--check-privacy", folder});
    EXPECT_EQ(check.status, 4);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name.toStdString());
        const QString line =
            row.name + ": " + QString::fromUtf8(row.carries) +
            (row.linked ? QString() : QStringLiteral("（ページからのリンクなし）")) + "\n";
        if (row.carries.isEmpty()) {
            EXPECT_FALSE(check.out.contains(row.name + ":")) << check.out.toStdString();
        } else {
            EXPECT_TRUE(check.out.contains(line)) << check.out.toStdString();
        }
    }
}

// Starts tessaly-batch with its output thrown away; 128 + the signal when a signal ended it,
// as a shell reports it.
pid_t startQuietBatch(const QStringList& args) {
    std::vector<QByteArray> words{QFile::encodeName(batchProgram())};
    for (const QString& arg : args) words.push_back(QFile::encodeName(arg));
    std::vector<char*> argv;
    for (QByteArray& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_RDWR);
        for (int fd = 0; fd <= 2; ++fd) ::dup2(null, fd);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

int shellStatus(pid_t pid) {
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) return -1;
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

// Ctrl-C at any moment of a long run, from the program's first instants on: the status is 130,
// never 0, and the earlier page stays byte for byte with nothing of the run beside it.
TEST_F(BatchCatalogTest, InterruptAtAnyMomentExits130AndKeepsTheEarlierPage) {
    for (int i = 0; i < 40; ++i)
        image(QStringLiteral("r%1.jpg").arg(i, 2, 10, QChar('0')), 800, 600);
    writeFile(folder + "/index.htm", "earlier page\r\n");
    for (int moment = 0; moment <= 50; moment += 5) {
        SCOPED_TRACE(moment);
        const pid_t pid = startQuietBatch({folder, "-j", "1"});
        ASSERT_GT(pid, 0);
        QThread::msleep(static_cast<unsigned long>(moment));
        ::kill(pid, SIGINT);
        EXPECT_EQ(shellStatus(pid), 130);
        EXPECT_EQ(readFile(folder + "/index.htm"), QByteArray("earlier page\r\n"));
        EXPECT_TRUE(QDir(folder).entryList({".tessaly-*"}, QDir::Files | QDir::Hidden).isEmpty());
        EXPECT_FALSE(QFileInfo::exists(folder + "/SShow.htm"));
    }
}

}  // namespace
}  // namespace tessaly::test
