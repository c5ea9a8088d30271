// The catalogue run under faults: full disk, read-only thumbnail folder, the folder removed
// or a photograph lost in the middle of a run. A run that could not write everything never
// reports success, always closes its pages and always gives the window back.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QThread>
#include <memory>

#include "core/catalog/catalogrun_fixture.h"
#include "core/text/textfile.h"
#include "core/toc/tocgenerator.h"
#include "support/faultsupport.h"

namespace tessaly::test {
namespace {

class RunFaultTest : public CatalogRunTest {
protected:
    // Writes the photographs into a folder of the caller's choice.
    void photographs(const QString& folder, int count, int width = 90, int height = 60) {
        input.folder = folder;
        input.names.clear();
        input.selected.clear();
        for (int i = 0; i < count; ++i) {
            const QString name = QStringLiteral("p%1.jpg").arg(i);
            writeTestJpeg(folder + "/" + name, width, height);
            input.names << name;
            input.selected.push_back(true);
        }
    }
    // The run failed, said so, and ended the way every run ends.
    void expectFailedRun(CatalogRunOutcome outcome) const {
        EXPECT_EQ(outcome, CatalogRunOutcome::Failed);
        EXPECT_TRUE(host.log.contains("failed"));
        for (const QString& question : host.matching("question:"))  // only "leave it out?"
            EXPECT_TRUE(question.endsWith("\nこの画像を除いて続けますか？"))
                << question.toStdString();
        EXPECT_EQ(host.matching("info:").size() + host.matching("error:").size(), 1)
            << host.log.join('\n').toStdString();
        ASSERT_FALSE(host.log.isEmpty());
        EXPECT_EQ(host.log.last(), "ended:failed");
        EXPECT_TRUE(shell.calls.isEmpty());
    }
    QString firstMessage() const {
        const QStringList shown = host.matching("info:") + host.matching("error:");
        return shown.isEmpty() ? QString() : shown.first();
    }
};

TEST_F(RunFaultTest, FullTmpfsStopsTheRunWithTheWriteError) {
    SmallDisk disk(256);
    if (!disk.mounted()) GTEST_SKIP() << "skipped: tmpfs cannot be mounted here";
    photographs(disk.path(), 3);
    for (const int jobs : {1, 3}) {
        host.log.clear();
        input.jobs = jobs;
        disk.fill();
        expectFailedRun(run());
        QFile::remove(disk.path() + "/.filler");
        const QStringList left =
            QDir(disk.path() + "/htm_image")
                .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        EXPECT_EQ(left, QStringList());  // no empty thumbnails, no scratch files
    }
    EXPECT_EQ(run(), CatalogRunOutcome::Completed);  // room again
}

TEST_F(RunFaultTest, WriteLimitStopsTheRunWithTheWriteErrorAndKeepsTheEarlierPages) {
    settings.makeSlideShow = QStringLiteral("on");
    photographs(dir.path(), 3);
    writeEarlierPages();
    for (const int jobs : {1, 3}) {
        host.log.clear();
        input.jobs = jobs;
        CatalogRunOutcome outcome;
        {
            FileSizeLimit limit(200);
            outcome = run();
        }
        expectFailedRun(outcome);
        EXPECT_TRUE(firstMessage().startsWith(kWriteError)) << firstMessage().toStdString();
        expectEarlierPages();
    }
}

TEST_F(RunFaultTest, PageOrSlideShowThatCannotBeWrittenIsNeverASuccess) {
    settings.makeSlideShow = QStringLiteral("on");
    photographs(dir.path(), 2);
    for (const char* page : {"index.htm", "SShow.htm"}) {
        host.log.clear();
        QFile::remove(dir.file("index.htm"));
        QFile::remove(dir.file("SShow.htm"));
        if (!placeFullDevice(dir.file(page))) GTEST_SKIP() << "skipped: no full device";
        expectFailedRun(run());
        const QString message = firstMessage();
        EXPECT_TRUE(message.startsWith(kWriteError) ||
                    message == "error:" + cannotWriteMessage(dir.file(page)))
            << page << ": " << message.toStdString();
    }
}

TEST_F(RunFaultTest, ReadOnlyThumbnailFolderStopsTheRunAndLeavesThePhotographs) {
    photographs(dir.path(), 3);
    ASSERT_TRUE(QDir(dir.path()).mkdir("htm_image"));
    openUp(dir.path());
    makeReadOnly(dir.file("htm_image"));
    const QByteArray photo = dir.read("p0.jpg");
    for (const int jobs : {1, 3}) {
        host.log.clear();
        input.jobs = jobs;
        CatalogRunOutcome outcome;
        {
            AsOtherUser user;
            if (!user.active()) {
                GTEST_SKIP() << "skipped: cannot switch user";
            }
            outcome = run();
        }
        expectFailedRun(outcome);
        EXPECT_EQ(firstMessage(),
                  kWriteError + QStringLiteral("\nhtm_image フォルダに書き込み権限がありません"));
    }
    openUp(dir.path());
    EXPECT_EQ(dir.read("p0.jpg"), photo);
    EXPECT_TRUE(QDir(dir.file("htm_image")).isEmpty());
}

TEST_F(RunFaultTest, FolderRemovedDuringTheRun) {
    for (const int jobs : {1, 3}) {
        const QString folder = dir.file(QStringLiteral("消える %1").arg(jobs));
        ASSERT_TRUE(QDir().mkpath(folder));
        photographs(folder, 4);
        input.jobs = jobs;
        host.log.clear();
        int events = 0;
        host.onLog = [&](const QString& line) {
            if (line != "events" || ++events != 2) return;
            // Workers may still be adding files while the folder goes: try until it is gone.
            for (int tries = 0; tries < 200 && !QDir(folder).removeRecursively(); ++tries) {
                QThread::msleep(1);
            }
        };
        expectFailedRun(run());
        host.onLog = nullptr;
        EXPECT_FALSE(QFileInfo::exists(folder));
    }
}

TEST_F(RunFaultTest, PhotographLostBetweenListingAndDecoding) {
    photographs(dir.path(), 3);
    writeEarlierPages();
    host.onLog = [&](const QString& line) {
        if (line == "events") QFile::remove(dir.file("p1.jpg"));
    };
    expectFailedRun(run());
    EXPECT_EQ(firstMessage(), "error:" + cannotOpenMessage(dir.file("p1.jpg")));
    expectEarlierPages();
}

TEST_F(RunFaultTest, PhotographTruncatedBetweenListingAndDecoding) {
    photographs(dir.path(), 3, 160, 120);
    const QByteArray whole = dir.read("p1.jpg");
    // Cut inside the scan data: decoded as far as it goes, the rest grey, as a viewer shows it.
    host.onLog = [&](const QString& line) {
        if (line == "events") writeFile(dir.file("p1.jpg"), whole.left(whole.size() / 2));
    };
    EXPECT_EQ(run(), CatalogRunOutcome::Completed);
    EXPECT_EQ(cells().size(), 3);
    EXPECT_TRUE(QFileInfo::exists(thumb("p1.jpg")));
    // Cut inside the headers: nothing to show, the codec's own text stops the run.
    host.log.clear();
    host.onLog = [&](const QString& line) {
        if (line == "events") writeFile(dir.file("p1.jpg"), whole.left(40));
    };
    expectFailedRun(run());
    EXPECT_TRUE(firstMessage().startsWith("error:")) << firstMessage().toStdString();
}

TEST_F(RunFaultTest, PhotographThatClaimsAnEnormousSizeIsRefusedWithAClearMessage) {
    photographs(dir.path(), 2);
    QByteArray data = dir.read("p1.jpg");
    const int sof = data.indexOf("\xFF\xC0");
    ASSERT_GT(sof, 0);
    data[sof + 5] = char(0xEA), data[sof + 6] = char(0x60);  // 60000 x 60000
    data[sof + 7] = char(0xEA), data[sof + 8] = char(0x60);
    dir.write("p1.jpg", data);
    writeEarlierPages();
    expectFailedRun(run());
    EXPECT_TRUE(firstMessage().contains("画像が大きすぎるため読み込めません"))
        << firstMessage().toStdString();
    expectEarlierPages();
}

}  // namespace
}  // namespace tessaly::test

namespace tessaly::test {
namespace {

TEST_F(RunFaultTest, EnormousThumbnailBoxOfAHandEditedSettingsFileIsRefused) {
    settings.thumbWidth = settings.thumbHeight = QStringLiteral("2000000000");
    photographs(dir.path(), 1);
    expectFailedRun(run());  // refused before any pixel storage is made
    EXPECT_FALSE(QFileInfo::exists(thumb("p0.jpg")));
}

TEST_F(RunFaultTest, SubFolderRemovedWhileTheContentsAreWritten) {
    for (int variant = 0; variant < 3; ++variant) {
        for (const char* sub : {"a", "b", "c"}) {
            ASSERT_TRUE(QDir().mkpath(dir.file(sub)));
            photographs(dir.file(sub), 1);
            ASSERT_EQ(run(), CatalogRunOutcome::Completed);
        }
        TocOptions options;
        options.folder = dir.path();
        options.title = QStringLiteral("目次");
        options.showImages = variant == 1;
        options.useFrames = variant == 2;
        const auto removeB = [this](const QString&) { QDir(dir.file("b")).removeRecursively(); };
        const QString message = errorOf([&] { TocGenerator(settings).run(options, removeB); });
        EXPECT_EQ(message, QString()) << variant;
        const QStringList lines =
            sjisLines(dir.read(variant == 2 ? QStringLiteral("title.htm") : "index.htm"));
        EXPECT_GE(lines.filter("a/index.htm").size(), 1) << variant;
        EXPECT_EQ(lines.filter("b/index.htm").size(), 0) << variant;
        EXPECT_EQ(lines.filter("c/index.htm").size(), lines.filter("a/index.htm").size());
        EXPECT_EQ(lines.last(), "</HTML>") << variant;
    }
}

TEST_F(RunFaultTest, ContentsPagesThatCannotBeWrittenFailTheRunAndKeepTheEarlierOnes) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    photographs(dir.file("sub"), 1);
    ASSERT_EQ(run(), CatalogRunOutcome::Completed);
    const struct {
        bool frames;
        int limit;  // bytes a file may reach
        const char* failing;
    } rows[] = {{false, 300, "index.htm"}, {true, 300, "index.htm"}, {true, 600, "title.htm"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.failing);
        dir.write("index.htm", "earlier index\r\n");
        dir.write("title.htm", "earlier title\r\n");
        TocOptions options;
        options.folder = dir.path();
        options.title = QStringLiteral("目次");
        options.useFrames = row.frames;
        QString message;
        {
            FileSizeLimit limit(row.limit);
            message = errorOf([&] { TocGenerator(settings).run(options); });
        }
        EXPECT_EQ(message, cannotWriteMessage(dir.file(row.failing)));
        EXPECT_EQ(dir.read("index.htm"), QByteArray("earlier index\r\n"));
        EXPECT_EQ(dir.read("title.htm"), QByteArray("earlier title\r\n"));
        EXPECT_EQ(QDir(dir.path()).entryList({".tessaly-*"}, QDir::Files | QDir::Hidden),
                  QStringList());
    }
}

}  // namespace
}  // namespace tessaly::test
