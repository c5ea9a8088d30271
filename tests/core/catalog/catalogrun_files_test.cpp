#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <thread>

#include "catalogrun_fixture.h"
#include "core/text/errors.h"
#include "support/otheruser.h"

namespace tessaly::test {
namespace {

// Background image, failures and the files a run leaves behind.
class CatalogRunFilesTest : public CatalogRunTest {
protected:
    void SetUp() override {
        CatalogRunTest::SetUp();
        addImage("a.jpg");
        addImage("b.jpg");
        settings.useBackgroundImage = QStringLiteral("on");
    }
    QString mkdir(const QString& relative) {
        QDir(dir.path()).mkpath(relative);
        return dir.file(relative);
    }
};

TEST_F(CatalogRunFilesTest, BackgroundTakesItsTargetNameAndStaleCopiesGo) {
    TempDir elsewhere;
    elsewhere.write("Sky.JPG", "sky bytes");
    mkdir("htm_image");
    writeFile(thumb("back.gif"), "stale gif");
    settings.backgroundFile = elsewhere.file("Sky.JPG");
    EXPECT_EQ(run(), CatalogRunOutcome::Completed);
    EXPECT_EQ(readFile(thumb("back.jpg")), QByteArray("sky bytes"));
    EXPECT_FALSE(QFileInfo::exists(thumb("back.gif")));
    EXPECT_FALSE(QFileInfo::exists(thumb("Sky.JPG")));
    EXPECT_EQ(elsewhere.read("Sky.JPG"), QByteArray("sky bytes"));
    EXPECT_TRUE(page().contains(R"(<BODY background="htm_image/back.jpg" bgcolor="#808080">)"));
    EXPECT_TRUE(QDir(dir.file("htm_image"))
                    .entryList(QDir::Hidden | QDir::AllDirs | QDir::NoDotAndDotDot)
                    .isEmpty());
}

TEST_F(CatalogRunFilesTest, BackgroundAlreadyNamedBackJpgOrInsideTheThumbnailFolder) {
    dir.write("back.jpg", "own back");
    settings.backgroundFile = dir.file("back.jpg");
    EXPECT_EQ(run(), CatalogRunOutcome::Completed);
    EXPECT_EQ(readFile(thumb("back.jpg")), QByteArray("own back"));
    EXPECT_EQ(dir.read("back.jpg"), QByteArray("own back"));

    // The copy made last time is the source now.
    writeFile(thumb("back.jpg"), "in place");
    settings.backgroundFile = thumb("back.jpg");
    EXPECT_EQ(run(), CatalogRunOutcome::Completed);
    EXPECT_EQ(readFile(thumb("back.jpg")), QByteArray("in place"));

    // A file of the thumbnail folder under another name stays where it is.
    writeFile(thumb("Pattern.GIF"), "gif bytes");
    settings.backgroundFile = thumb("Pattern.GIF");
    EXPECT_EQ(run(), CatalogRunOutcome::Completed);
    EXPECT_EQ(readFile(thumb("back.gif")), QByteArray("gif bytes"));
    EXPECT_EQ(readFile(thumb("Pattern.GIF")), QByteArray("gif bytes"));
    EXPECT_FALSE(QFileInfo::exists(thumb("back.jpg")));

    // Any other extension keeps its own name.
    dir.write("tile.png", "png bytes");
    settings.backgroundFile = dir.file("tile.png");
    EXPECT_EQ(run(), CatalogRunOutcome::Completed);
    EXPECT_EQ(readFile(thumb("tile.png")), QByteArray("png bytes"));
    EXPECT_FALSE(QFileInfo::exists(thumb("back.gif")));
}

TEST_F(CatalogRunFilesTest, MissingBackgroundIsReportedAndTheRunGoesOn) {
    settings.backgroundFile = dir.file("gone.jpg");
    EXPECT_EQ(run(), CatalogRunOutcome::Completed);
    EXPECT_TRUE(host.log.contains("info:背景ファイルが存在しません。\n再設定が必要です。"));
    EXPECT_TRUE(page().contains(R"(<BODY background="htm_image/back.jpg" bgcolor="#808080">)"));
    EXPECT_EQ(cells().size(), 2);
}

TEST_F(CatalogRunFilesTest, BackgroundThatCannotBePutInPlaceStopsBeforeThePage) {
    dir.write("sky.jpg", "sky");
    settings.backgroundFile = dir.file("sky.jpg");
    mkdir("htm_image/back.jpg/blocker");
    EXPECT_EQ(run(), CatalogRunOutcome::Failed);
    EXPECT_TRUE(writeErrorShown());
    EXPECT_EQ(host.log.last(), "ended:failed");
    EXPECT_FALSE(QFileInfo::exists(dir.file("index.htm")));
}

TEST_F(CatalogRunFilesTest, ThumbnailFolderThatCannotBeCreated) {
    settings.useBackgroundImage = QStringLiteral("off");
    dir.write("htm_image", "a file in the way");
    EXPECT_EQ(run(), CatalogRunOutcome::Failed);
    EXPECT_TRUE(writeErrorShown());
    EXPECT_FALSE(QFileInfo::exists(dir.file("index.htm")));
    EXPECT_EQ(host.log.last(), "ended:failed");
}

TEST_F(CatalogRunFilesTest, ThumbnailFolderThatIsTheImageFolderNeedsAPrefix) {
    settings.useBackgroundImage = QStringLiteral("off");
    settings.thumbFolderName = QString();
    const QByteArray original = dir.read("a.jpg");
    EXPECT_EQ(run(), CatalogRunOutcome::Failed);
    EXPECT_TRUE(writeErrorShown());
    EXPECT_EQ(dir.read("a.jpg"), original);

    settings.thumbPrefix = QStringLiteral("t_");
    EXPECT_EQ(run(), CatalogRunOutcome::Completed);
    EXPECT_EQ(dir.read("a.jpg"), original);
    EXPECT_EQ(jpegSize(dir.file("t_a.jpg")), QSize(110, 75));
}

TEST_F(CatalogRunFilesTest, PageThatCannotBeCreatedLeavesTheThumbnailFolder) {
    settings.useBackgroundImage = QStringLiteral("off");
    mkdir("index.htm");
    EXPECT_EQ(run(), CatalogRunOutcome::Failed);
    EXPECT_TRUE(writeErrorShown());
    EXPECT_TRUE(QFileInfo(dir.file("htm_image")).isDir());
    EXPECT_FALSE(QFileInfo::exists(thumb("a.jpg")));
}

TEST_F(CatalogRunFilesTest, SlideShowThatCannotBeCreatedLeavesNoPage) {
    settings.useBackgroundImage = QStringLiteral("off");
    settings.makeSlideShow = QStringLiteral("on");
    mkdir("SShow.htm/SShow.htm/blocker");
    EXPECT_EQ(run(), CatalogRunOutcome::Failed);
    EXPECT_TRUE(writeErrorShown());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({"a.jpg", "b.jpg"}));
    EXPECT_FALSE(QFileInfo::exists(thumb("a.jpg")));
    EXPECT_EQ(host.log.last(), "ended:failed");
}

// Whatever stops a write, the line after the write error names the file and says why.
TEST_F(CatalogRunFilesTest, WriteErrorsNameTheFileAndTheReason) {
    settings.useBackgroundImage = QStringLiteral("off");
    settings.makeSlideShow = QStringLiteral("on");
    const QString folderName = QFileInfo(dir.path()).fileName();
    const auto fifo = [this](const char* name) {
        ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file(name)).constData(), 0644), 0);
    };
    const struct Row {
        const char* what;
        std::function<void()> arrange;
        bool otherUser;
        QString problem;
    } rows[] = {
        {"page name taken by a folder", [&] { mkdir("index.htm"); }, false,
         "index.htm はフォルダのため書き込めません"},
        {"page name taken by a pipe", [&] { fifo("index.htm"); }, false,
         "index.htm は通常のファイルではないため書き込めません"},
        {"slide show name taken by a folder", [&] { mkdir("SShow.htm"); }, false,
         "SShow.htm はフォルダのため書き込めません"},
        {"thumbnail folder name taken by a file", [&] { dir.write("htm_image", "x"); }, false,
         "htm_image はフォルダではないため使えません"},
        {"read-only folder", [&] { makeReadOnly(dir.path()); }, true,
         folderName + " フォルダに書き込み権限がありません"},
        {"read-only thumbnail folder", [&] { makeReadOnly(mkdir("htm_image")); }, true,
         "htm_image フォルダに書き込み権限がありません"},
        {"read-only page",
         [&] {
             dir.write("index.htm", "earlier");
             ASSERT_TRUE(QFile::setPermissions(
                 dir.file("index.htm"), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
         },
         true, "index.htm に書き込み権限がありません"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        openUp(dir.path());
        for (const char* name : {"index.htm", "SShow.htm", "htm_image"}) {
            QDir(dir.file(name)).removeRecursively();
            QFile::remove(dir.file(name));
        }
        openUp(dir.path());
        row.arrange();
        host.log.clear();
        CatalogRunOutcome outcome;
        {
            std::unique_ptr<AsOtherUser> user;
            if (row.otherUser) user = std::make_unique<AsOtherUser>();
            outcome = run();
        }
        EXPECT_EQ(outcome, CatalogRunOutcome::Failed);
        EXPECT_TRUE(writeErrorShown(row.problem)) << host.log.join(" | ").toStdString();
    }
    openUp(dir.path());
}

TEST_F(CatalogRunFilesTest, NewPagesTakeThePlaceAndTheModeOfTheEarlierOnes) {
    settings.useBackgroundImage = QStringLiteral("off");
    settings.makeSlideShow = QStringLiteral("on");
    writeEarlierPages();
    const auto mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(dir.file("index.htm"), mode));
    ASSERT_TRUE(QFile::setPermissions(dir.file("SShow.htm"), mode | QFile::ReadOther));
    EXPECT_EQ(run(), CatalogRunOutcome::Completed);
    EXPECT_EQ(page().last(), "</HTML>");
    EXPECT_EQ(slides().last(), "</HTML>");
    EXPECT_EQ(QFile::permissions(dir.file("index.htm")) & 0x7077, mode);
    EXPECT_EQ(QFile::permissions(dir.file("SShow.htm")) & 0x7077, mode | QFile::ReadOther);
}

TEST_F(CatalogRunFilesTest, ThumbnailThatCannotBeSavedKeepsWhatWasMade) {
    settings.useBackgroundImage = QStringLiteral("off");
    settings.makeSlideShow = QStringLiteral("on");
    mkdir("htm_image/b.jpg/blocker");
    writeEarlierPages();
    EXPECT_EQ(run(), CatalogRunOutcome::Failed);
    EXPECT_TRUE(writeErrorShown());
    EXPECT_TRUE(QFileInfo::exists(thumb("a.jpg")));
    expectEarlierPages();
    EXPECT_EQ(host.log.last(), "ended:failed");
}

TEST_F(CatalogRunFilesTest, CorruptPhotographIsShownWithItsOwnError) {
    settings.useBackgroundImage = QStringLiteral("off");
    dir.write("b.jpg", "not a jpeg at all");
    EXPECT_EQ(run(), CatalogRunOutcome::Failed);
    const QStringList errors = host.matching("error:");
    ASSERT_EQ(errors.size(), 1);
    // The file named and a sentence in the program's language; the decoder's own text goes to
    // standard error only.
    EXPECT_EQ(errors[0], QStringLiteral("error:b.jpg: JPEG ファイルではありません"));
    EXPECT_FALSE(writeErrorShown());
    // The failure is announced before it is shown, and b.jpg was never read.
    EXPECT_LT(host.log.indexOf("failed"), host.log.indexOf(errors[0]));
    EXPECT_FALSE(host.log.contains("read:2 b.jpg"));
    EXPECT_FALSE(QFileInfo::exists(dir.file("index.htm")));
    EXPECT_EQ(host.log.last(), "ended:failed");
}

TEST_F(CatalogRunFilesTest, FailureInsideTheLoopClosesThePagesAndRestoresTheWindow) {
    settings.useBackgroundImage = QStringLiteral("off");
    settings.makeSlideShow = QStringLiteral("on");
    int events = 0;
    host.onLog = [&](const QString& line) {
        if (line == "events" && ++events == 2) throw IoError(QStringLiteral("読めません"));
    };
    writeEarlierPages();
    EXPECT_EQ(run(), CatalogRunOutcome::Failed);
    EXPECT_EQ(host.log.mid(host.log.size() - 3),
              QStringList({"failed", "error:読めません", "ended:failed"}));
    expectEarlierPages();
}

TEST_F(CatalogRunFilesTest, FolderWithAJapaneseName) {
    settings.useBackgroundImage = QStringLiteral("off");
    const QString folder = mkdir("写真 二〇二六");
    writeTestJpeg(folder + "/朝の海.jpg", 300, 200);
    input.folder = folder;
    input.names = QStringList{"朝の海.jpg"};
    input.selected = {true};
    settings.noBrowserLaunch = QStringLiteral("off");
    host.answer = true;
    EXPECT_EQ(run(), CatalogRunOutcome::Completed);
    EXPECT_EQ(jpegSize(folder + "/htm_image/朝の海.jpg"), QSize(110, 73));
    EXPECT_EQ(shell.calls, QStringList({"open " + folder + "/index.htm"}));
    EXPECT_TRUE(
        sjisLines(readFile(folder + "/index.htm")).contains("<!-- FILE=001 朝の海.jpg -->"));
}

// Several workers, and thumbnails made from the decoder's rows, must leave exactly the files
// one worker decoding whole pictures leaves: photographs of every kind, on both paths.
TEST_F(CatalogRunFilesTest, WorkerCountAndDecodingDoNotChangeTheOutput) {
    settings.useBackgroundImage = QStringLiteral("off");
    settings.makeSlideShow = QStringLiteral("on");
    input.names.clear();
    input.selected.clear();
    for (int i = 0; i < 9; ++i) addImage(QStringLiteral("x%1.jpg").arg(i), 200 + 37 * i, 150 + i);
    input.selected[4] = false;
    JpegLayout grey, turned, progressive, wide;
    grey.components = 1, grey.noise = turned.noise = progressive.noise = wide.noise = 30;
    turned.orientation = 6, progressive.progressive = true, progressive.orientation = 3;
    wide.h[0] = 4, wide.v[0] = 2;
    const std::pair<const char*, JpegLayout> kinds[] = {
        {"grey.jpg", grey}, {"turned.jpg", turned}, {"prog.jpg", progressive}, {"wide.jpg", wide}};
    for (const auto& [name, layout] : kinds) {
        dir.write(name, makePhotoJpeg(611, 407, layout));
        input.names << name;
        input.selected.push_back(true);
    }
    // The modern page adds a double-size thumbnail of each, its stylesheet and script.
    for (const auto& [style, filter] :
         {std::pair{"", "off"}, {"", "on"}, {"modern", "off"}, {"modern", "on"}}) {
        const bool modern = *style != '\0';
        settings.pageStyle = QString::fromLatin1(style);
        QStringList outputs{"index.htm", modern ? "htm_image/tessaly.js" : "SShow.htm"};
        for (const QString& name : input.names) {
            if (name == "x4.jpg") continue;
            outputs << "htm_image/" + name;
            if (modern) outputs << "htm_image/2x/" + name;
        }
        settings.thumbFilter = QString::fromLatin1(filter);
        QList<QByteArray> first;
        for (const auto& [jobs, decoding] : {std::pair{1, ThumbnailMaker::Decoding::FullPicture},
                                             {1, ThumbnailMaker::Decoding::Streamed},
                                             {3, ThumbnailMaker::Decoding::Streamed}}) {
            SCOPED_TRACE(testing::Message()
                         << "style " << style << ", filter " << filter << ", jobs " << jobs);
            QDir(dir.file("htm_image")).removeRecursively();
            input.jobs = jobs;
            input.decoding = decoding;
            host.log.clear();
            host.previews.clear();
            EXPECT_EQ(run(), CatalogRunOutcome::Completed);
            QList<QByteArray> bytes;
            for (const QString& name : outputs) bytes << dir.read(name);
            if (first.isEmpty()) {
                first = bytes;
            } else {
                EXPECT_EQ(bytes, first);
            }
            EXPECT_EQ(host.previews.size(), 12u);
            EXPECT_FALSE(QFileInfo::exists(thumb("x4.jpg")));
            EXPECT_EQ(QDir(dir.file("htm_image"))
                          .entryList(QDir::Hidden | QDir::AllEntries | QDir::NoDotAndDotDot)
                          .size(),
                      modern ? 15 : 12);
        }
    }
    settings.pageStyle.clear();
    EXPECT_EQ(run(), CatalogRunOutcome::Completed);
    const QStringList found = cells().filter("htm_image/turned.jpg");
    ASSERT_EQ(found.size(), 1);
    EXPECT_TRUE(found[0].contains(R"(height="150" width="100")")) << found[0].toStdString();
}

// Photographs each larger than the whole decode budget are made one at a time by two workers,
// with everything made of them (double thumbnails, web copies) under one admission each, and
// leave what one worker leaves. A run that hangs is stopped after a long while, and fails.
TEST_F(CatalogRunFilesTest, PhotographsOverTheDecodeBudgetRunAloneAtTwoJobs) {
    settings.useBackgroundImage = QStringLiteral("off");
    settings.webCopies = QStringLiteral("on");
    settings.webCopyLongSide = QStringLiteral("320");
    addImage("large.jpg", 900, 700);
    for (const char* style : {"", "modern"}) {
        settings.pageStyle = QString::fromLatin1(style);
        QList<QByteArray> first;
        for (const int jobs : {1, 2}) {
            SCOPED_TRACE(testing::Message() << "style " << style << ", jobs " << jobs);
            QDir(dir.file("htm_image")).removeRecursively();
            input.jobs = jobs;
            input.decodeLimit = 1;  // every photograph is over it
            input.stop = StopToken();
            std::promise<CatalogRunOutcome> outcome;
            std::future<CatalogRunOutcome> ended = outcome.get_future();
            std::thread running([&] { outcome.set_value(run()); });
            const bool finished =
                ended.wait_for(std::chrono::minutes(5)) == std::future_status::ready;
            if (!finished) input.stop.requestStop();  // wakes the waiting decodes
            running.join();
            ASSERT_TRUE(finished) << "the run waited for its decode budget";
            EXPECT_EQ(ended.get(), CatalogRunOutcome::Completed);
            QList<QByteArray> bytes;
            for (const QString& name : input.names) {
                bytes << readFile(thumb(name)) << readFile(thumb("web/" + name));
            }
            EXPECT_FALSE(readFile(thumb("web/large.jpg")).isEmpty());
            if (first.isEmpty()) {
                first = bytes;
            } else {
                EXPECT_EQ(bytes, first);
            }
        }
    }
}

TEST_F(CatalogRunFilesTest, CancelWithWorkersLeavesNoThumbnailsBeyondTheCancel) {
    settings.useBackgroundImage = QStringLiteral("off");
    for (int i = 0; i < 8; ++i) addImage(QStringLiteral("y%1.jpg").arg(i), 400, 300);
    input.jobs = 4;
    {
        CatalogRun catalogRun(settings, host, shell);
        host.onLog = [&](const QString& line) {
            if (line.startsWith("image:3/10 ")) input.stop.requestStop();
        };
        EXPECT_EQ(catalogRun.execute(input), CatalogRunOutcome::Cancelled);
    }  // the decodes it left behind are finished and their scratch folder is gone
    // The third image is on the page with its thumbnail, or (its decode still running when
    // the cancel came) neither.
    const int cellCount = int(cells().size());
    EXPECT_TRUE(cellCount == 2 || cellCount == 3) << cellCount;
    EXPECT_EQ(QFileInfo::exists(thumb("y0.jpg")), cellCount == 3);
    EXPECT_FALSE(QFileInfo::exists(thumb("y1.jpg")));
    EXPECT_EQ(QDir(dir.file("htm_image"))
                  .entryList(QDir::Hidden | QDir::AllEntries | QDir::NoDotAndDotDot)
                  .size(),
              cellCount);
}

}  // namespace
}  // namespace tessaly::test
