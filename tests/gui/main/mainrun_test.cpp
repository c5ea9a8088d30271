#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPixmap>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <condition_variable>
#include <cstdio>
#include <mutex>

#include "core/catalog/catalogrun.h"
#include "gui/main/mainrunner.h"
#include "mainfixture.h"
#include "support/recordingrunhost.h"
#include "support/testimages.h"

namespace tessaly::test {
namespace {

class MainRun : public MainFixture {
protected:
    // A folder of generated photographs named p01.jpg ... and a stray text file. Photographs
    // of the same size are started by the workers in list order.
    QString photoFolder(const QString& name, int count, bool sameSize = false) {
        const QString path = folder(name);
        for (int i = 1; i <= count; ++i)
            writeTestJpeg(path + QString("/p%1.jpg").arg(i, 2, 10, QChar('0')),
                          sameSize ? 96 : 64 + i * 8, 48);
        writeFile(path + "/readme.txt", "x");
        return path;
    }

    // A slow decoder: each photograph waits before it is read until the test lets it through
    // by name (all of them once the test ends, so no decode is left waiting).
    struct Gate {
        void letAll() {
            std::lock_guard<std::mutex> lock(mutex);
            all = true;
            opened.notify_all();
        }
        std::mutex mutex;
        std::condition_variable opened;
        QStringList through;
        bool all = false;
        int round = 0;
        void let(const QString& name) {
            std::lock_guard<std::mutex> lock(mutex);
            through << name;
            opened.notify_all();
        }
        // Lets the decodes waiting now through (those a stopped run left behind).
        void letWaiting() {
            std::lock_guard<std::mutex> lock(mutex);
            ++round;
            opened.notify_all();
        }
        void wait(const QString& photo) {
            std::unique_lock<std::mutex> lock(mutex);
            const int arrived = round;
            opened.wait(lock, [&] {
                return all || round > arrived || through.contains(QFileInfo(photo).fileName());
            });
        }
    };
    Gate& slowDecoder() {
        gate_ = std::make_shared<Gate>();
        window->runner().setBeforeMaking(
            [gate = gate_](const QString& photo) { gate->wait(photo); });
        return *gate_;
    }
    void TearDown() override {
        if (gate_) gate_->letAll();
    }
    std::shared_ptr<Gate> gate_;
    bool counterShows(const QString& text) {
        return waitUntil([&] { return statusPanel(2)->text() == text; });
    }
    QProgressBar* progressBar() const { return control<QProgressBar>("RunProgress"); }

    // Same catalogue page and thumbnails, byte for byte.
    static void expectSameOutput(const QString& folder, const QString& other, int images) {
        const QByteArray page = readFile(folder + "/index.htm");
        ASSERT_FALSE(page.isEmpty());
        EXPECT_EQ(page, readFile(other + "/index.htm"));
        const QStringList thumbs = QDir(folder + "/htm_image").entryList(QDir::Files);
        EXPECT_EQ(thumbs, QDir(other + "/htm_image").entryList(QDir::Files));
        EXPECT_EQ(thumbs.size(), images);
        for (const QString& thumb : thumbs)
            EXPECT_EQ(readFile(folder + "/htm_image/" + thumb),
                      readFile(other + "/htm_image/" + thumb))
                << thumb.toStdString();
    }

    // Presses and releases a key where the window's keyboard focus is, as a user would.
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
               const QString& text = {}) {
        QWidget* target = window->focusWidget();
        ASSERT_NE(target, nullptr);
        QKeyEvent down(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(target, &down);
        QKeyEvent up(QEvent::KeyRelease, key, modifiers, text);
        QApplication::sendEvent(target, &up);
    }

    // The control the keys go to (a spin box rather than its inner line edit).
    QString focused() const {
        QWidget* focus = window->focusWidget();
        if (focus && qobject_cast<QAbstractSpinBox*>(focus->parentWidget()))
            focus = focus->parentWidget();
        return focus ? focus->objectName() : QString();
    }

    void expectIdle() {
        EXPECT_FALSE(executeButton()->isHidden());
        EXPECT_TRUE(cancelButton()->isHidden());
        // Drive box, folder list, image list, the buttons beside it, next folder, title, per row.
        for (const char* name :
             {"Drive1", "Dir1", "OldFile", "Button1", "Button2", "Button3", "Button4", "Button5",
              "Button9", "Button11", "UpDown1", "HPtytlebox"})
            EXPECT_TRUE(control<QWidget>(name)->isEnabled()) << name;
        EXPECT_TRUE(control<QMenu>("File2")->menuAction()->isEnabled());
        EXPECT_FALSE(window->runActive());
    }
};

TEST_F(MainRun, ExecuteWritesTheSameFilesAsARunWithoutWindow) {
    const QString photos = photoFolder("gui", 7);
    const QString reference = photoFolder("batch", 7);
    window->settings().noBrowserLaunch = "on";
    window->openFolder(photos);
    titleEdit()->setText("旅行の写真");
    perRowBox()->setValue(3);
    executeButton()->click();
    ASSERT_TRUE(waitUntil([this] { return !window->runActive(); }));
    EXPECT_TRUE(prompts.log.isEmpty()) << prompts.log.join('\n').toStdString();
    EXPECT_EQ(statusPanel(0)->text(), "ファイル作成終了");
    EXPECT_TRUE(statusPanel(1)->text().isEmpty());
    EXPECT_TRUE(statusPanel(2)->text().isEmpty());
    EXPECT_TRUE(shell.calls.isEmpty());
    expectIdle();
    // The preview holds the last thumbnail, the right way up and in its own colours.
    ASSERT_TRUE(previewImage()->isVisibleTo(window.get()));
    const QImage shown = previewImage()->pixmap().toImage();
    const QImage last(photos + "/htm_image/p07.jpg");
    ASSERT_EQ(shown.size(), last.size());
    // (the file went through JPEG compression, so colours agree only roughly)
    for (const QPoint at : {QPoint(0, 0), QPoint(last.width() - 1, last.height() - 1)}) {
        const QColor a = shown.pixelColor(at), b = last.pixelColor(at);
        EXPECT_NEAR(a.red(), b.red(), 16);
        EXPECT_NEAR(a.green(), b.green(), 16);
        EXPECT_NEAR(a.blue(), b.blue(), 16);
    }

    RecordingRunHost host;
    CatalogRun run(window->settings(), host, shell);
    CatalogRunInput input;
    input.folder = reference;
    for (int i = 1; i <= 7; ++i) input.names << QString("p%1.jpg").arg(i, 2, 10, QChar('0'));
    input.selected.assign(7, true);
    input.title = "旅行の写真";
    input.perRow = 3;
    ASSERT_EQ(run.execute(input), CatalogRunOutcome::Completed);
    EXPECT_TRUE(host.errors.isEmpty()) << host.errors.join('|').toStdString();

    expectSameOutput(photos, reference, 7);

    // The command-line program, when it is built beside this test, writes the same files.
    const QString batch = QCoreApplication::applicationDirPath() + "/../src/batch/tessaly-batch";
    if (!QFileInfo::exists(batch)) return;  // not built: the in-process comparison stands
    const QString byBatch = photoFolder("bybatch", 7);
    QProcess process;
    process.start(batch, {"-q", "-t", "旅行の写真", "-r", "3", "-s", app.path(), byBatch});
    ASSERT_TRUE(process.waitForFinished(60000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    expectSameOutput(photos, byBatch, 7);
}

// The whole job without a mouse: Tab walks the controls in the order of the work, a folder is
// opened from the folder list, photos are chosen in the image list, title and images per row
// are typed, Space starts the run and Esc stops it.
TEST_F(MainRun, TheMainJobIsDoneByKeyboardAlone) {
    photoFolder("trip", 4, true);
    window->openFolder(data.path());
    window->show();
    window->activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(focused(), "Button7");
    QStringList visited;
    const auto tab = [&] {
        press(Qt::Key_Tab);
        visited << focused();
    };
    tab();
    tab();
    press(Qt::Key_Down);  // the open folder's first sub-folder
    press(Qt::Key_Return);
    EXPECT_EQ(window->currentFolder(), folder("trip"));
    EXPECT_EQ(titleEdit()->text(), "trip");
    tab();
    tab();
    press(Qt::Key_Down);
    press(Qt::Key_Home);                     // p01 alone
    press(Qt::Key_Down, Qt::ShiftModifier);  // p01 p02
    press(Qt::Key_Down, Qt::ControlModifier);
    press(Qt::Key_Down, Qt::ControlModifier);
    press(Qt::Key_Space, Qt::ControlModifier, " ");  // and p04
    EXPECT_EQ(selection(), "**.*");
    while (visited.size() < 20 && visited.last() != "HPtytlebox") tab();
    press(Qt::Key_A, Qt::ControlModifier);
    press(0, Qt::NoModifier, "旅の写真");
    EXPECT_EQ(titleEdit()->text(), "旅の写真");
    tab();
    press(Qt::Key_A, Qt::ControlModifier);
    press(Qt::Key_1, Qt::NoModifier, "1");
    press(Qt::Key_2, Qt::NoModifier, "2");  // 12 lies outside 1..10: refused
    EXPECT_EQ(perRowBox()->value(), 1);
    press(Qt::Key_Up);
    press(Qt::Key_Up);
    EXPECT_EQ(perRowBox()->value(), 3);
    tab();
    tab();
    EXPECT_EQ(visited,
              QStringList({"Drive1", "Dir1", "Button5", "OldFile", "otherFormatsCheck", "Button11",
                           "Button3", "Button4", "Button1", "Button2", "sortByDateButton",
                           "Button9", "HPtytlebox", "UpDown1", "CommentBox", "Button7"}));
    Gate& gate = slowDecoder();
    gate.let("p01.jpg");
    gate.let("p02.jpg");
    press(Qt::Key_Space, Qt::NoModifier, " ");
    ASSERT_TRUE(counterShows("003/003   "));  // p04 is being decoded
    EXPECT_EQ(focused(), "Button8");
    press(Qt::Key_Escape);
    ASSERT_TRUE(waitUntil([this] { return !window->runActive(); }));
    EXPECT_EQ(prompts.log, QStringList({"information: 処理は中断されました。"}));
    const QByteArray page = readFile(folder("trip") + "/index.htm");
    EXPECT_TRUE(page.contains(test::sjisBytes("旅の写真")));
    EXPECT_TRUE(page.contains("p02.jpg"));
    EXPECT_FALSE(page.contains("p04.jpg"));
    EXPECT_EQ(focused(), "Button7");
    expectIdle();
}

TEST_F(MainRun, AsksAboutTheBrowserAndOpensThePage) {
    const QString photos = photoFolder("one", 2);
    window->openFolder(photos);
    prompts.answers = {true};
    runCatalogue();
    ASSERT_EQ(prompts.log.size(), 1);
    EXPECT_TRUE(prompts.log.first().startsWith("question: "));
    EXPECT_EQ(shell.calls, QStringList({"open " + photos + "/index.htm"}));
    // The question said the files are made: the status bar is left empty.
    for (int panel = 0; panel < 3; ++panel) EXPECT_TRUE(statusPanel(panel)->text().isEmpty());
    // The idle state rebuilt the list from the folder: all entries selected again.
    EXPECT_EQ(listed(), QStringList({"p01.jpg", "p02.jpg"}));
    EXPECT_EQ(selection(), "**");
}

// With a slow decoder the window stays live: the bar counts the thumbnails done, the
// counter the image in hand; Esc stops the run while decodes are still going, and the
// page ends with the images done.
TEST_F(MainRun, ProgressMovesWithTheThumbnailsAndEscStopsAtOnce) {
    const QString photos = photoFolder("ten", 10, true);
    window->openFolder(photos);
    window->show();
    Gate& gate = slowDecoder();
    window->execute();
    ASSERT_TRUE(counterShows("001/010   "));
    EXPECT_TRUE(executeButton()->isHidden());
    EXPECT_TRUE(cancelButton()->isVisible());
    EXPECT_EQ(cancelButton()->geometry(), executeButton()->geometry());
    EXPECT_FALSE(control<QWidget>("Dir1")->isEnabled());
    EXPECT_FALSE(imageList()->isEnabled());
    EXPECT_FALSE(titleEdit()->isEnabled());
    EXPECT_FALSE(control<QMenu>("Help1")->menuAction()->isEnabled());
    EXPECT_TRUE(control<QCheckBox>("CommentBox")->isEnabled());
    EXPECT_FALSE(control<QCheckBox>("otherFormatsCheck")->isEnabled());
    ASSERT_TRUE(progressBar()->isVisible());
    EXPECT_EQ(progressBar()->maximum(), 10);
    EXPECT_EQ(progressBar()->value(), 0);
    for (int done = 1; done <= 2; ++done) {
        gate.let(QString("p%1.jpg").arg(done, 2, 10, QChar('0')));
        ASSERT_TRUE(counterShows(QString("%1/010   ").arg(done + 1, 3, 10, QChar('0'))));
        EXPECT_EQ(progressBar()->value(), done);
    }
    QTest::keyClick(window.get(), Qt::Key_Escape);  // p03 is still being decoded
    ASSERT_TRUE(waitUntil([this] { return !window->runActive(); }));
    EXPECT_EQ(prompts.log, QStringList({"information: 処理は中断されました。"}));
    EXPECT_TRUE(shell.calls.isEmpty());
    const QByteArray page = readFile(photos + "/index.htm");
    EXPECT_TRUE(page.contains("p02.jpg"));
    EXPECT_FALSE(page.contains("p03.jpg"));
    EXPECT_TRUE(page.trimmed().toLower().endsWith("</html>"));
    EXPECT_EQ(QDir(photos + "/htm_image").entryList(QDir::Files).size(), 2);
    for (int panel = 0; panel < 3; ++panel) EXPECT_TRUE(statusPanel(panel)->text().isEmpty());
    EXPECT_FALSE(progressBar()->isVisible());
    expectIdle();

    // Stopped again over that page: it stays whole, also while the message is up.
    prompts.log.clear();
    QByteArray shownPage;
    prompts.onPrompt = [&](const QString&) { shownPage = readFile(photos + "/index.htm"); };
    gate.letWaiting();
    gate.let("p03.jpg");
    window->execute();
    ASSERT_TRUE(counterShows("004/010   "));
    cancelButton()->click();
    ASSERT_TRUE(waitUntil([this] { return !window->runActive(); }));
    EXPECT_EQ(prompts.log, QStringList({"information: 処理は中断されました。\n"
                                        "前回のページ（index.htm）は元のまま残しています。"}));
    EXPECT_EQ(shownPage, page);
    EXPECT_EQ(readFile(photos + "/index.htm"), page);
    expectIdle();
}

// The status bar shows the date and "画像読込中" before the first image, then the counter and
// how the last image went; after a failure the step panel says the run stopped and the others
// are empty.
TEST_F(MainRun, StatusBarFollowsEachImageAndAFailure) {
    const QString photos = photoFolder("status", 3, true);
    QDir().mkdir(photos + "/htm_image");
    writeFile(photos + "/htm_image/p02.jpg", "kept");  // newer than its photograph
    writeFile(photos + "/p03.jpg", "not a jpeg");
    window->settings().skipExistingThumbs = "on";
    window->openFolder(photos);
    Gate& gate = slowDecoder();
    const auto state = [this] {
        QStringList texts;
        for (int panel = 0; panel < 3; ++panel) texts << statusPanel(panel)->text();
        return texts.join('|') + '|' + QString::number(progressBar()->value());
    };
    window->execute();
    // The date reads the Japanese way whatever the locale: 2026/12/07.
    const QDate date = QDate::currentDate();
    const QString today = QString("%1/%2/%3")
                              .arg(date.year())
                              .arg(date.month(), 2, 10, QChar('0'))
                              .arg(date.day(), 2, 10, QChar('0'));
    ASSERT_TRUE(counterShows("001/003   "));
    EXPECT_EQ(state(), today + "|画像読込中|001/003   |0");
    gate.let("p01.jpg");
    ASSERT_TRUE(counterShows("002/003   "));
    EXPECT_EQ(state(), "通常圧縮|画像読込中|002/003   |1");
    gate.let("p02.jpg");
    ASSERT_TRUE(counterShows("003/003   "));
    EXPECT_EQ(state(), "ファイル作成スキップ|画像読込中|003/003   |2");
    gate.let("p03.jpg");
    ASSERT_TRUE(waitUntil([this] { return !window->runActive(); }));
    // Leaving the unreadable photograph out is refused: the run stops on it.
    ASSERT_EQ(prompts.log.size(), 2);
    EXPECT_TRUE(prompts.log[0].startsWith("question: p03.jpg: ")) << prompts.log[0].toStdString();
    EXPECT_TRUE(prompts.log[0].endsWith("\nこの画像を除いて続けますか？"));
    EXPECT_TRUE(prompts.log[1].startsWith("error: p03.jpg: ")) << prompts.log[1].toStdString();
    EXPECT_EQ(statusPanel(0)->text(), "処理は中断されました。");
    EXPECT_TRUE(statusPanel(1)->text().isEmpty());
    EXPECT_TRUE(statusPanel(2)->text().isEmpty());
    EXPECT_EQ(readFile(photos + "/htm_image/p02.jpg"), QByteArray("kept"));
    expectIdle();
}

// A Yes to the first unreadable photograph holds for the rest of the run; the closing question
// names the photographs left out.
TEST_F(MainRun, UnreadablePhotographsAreLeftOutOnceAgreed) {
    const QString photos = photoFolder("leftout", 4);
    writeFile(photos + "/p02.jpg", "");
    writeFile(photos + "/p04.jpg", "not a jpeg");
    window->openFolder(photos);
    prompts.answers = {true, false};
    runCatalogue();
    ASSERT_EQ(prompts.log.size(), 2) << prompts.log.join('\n').toStdString();
    EXPECT_TRUE(prompts.log[0].startsWith("question: p02.jpg: "));
    EXPECT_TRUE(prompts.log[1].endsWith("\n読み込めない画像 2 枚を除きました。\np02.jpg\np04.jpg"))
        << prompts.log[1].toStdString();
    EXPECT_EQ(QDir(photos + "/htm_image").entryList(QDir::Files),
              QStringList({"p01.jpg", "p03.jpg"}));
    expectIdle();
}

// Closing the window (as a window manager's close button does) during a long run, at its start
// or while a photograph is decoded: the window goes at once with no notice, and the program,
// which waits for the run as it ends, finds the earlier page byte for byte.
TEST_F(MainRun, ClosingDuringARunStopsItWithoutANotice) {
    const QString photos = photoFolder("closing", 300, true);
    writeFile(photos + "/index.htm", "earlier page\r\n");
    for (const bool atOnce : {true, false}) {
        SCOPED_TRACE(atOnce);
        makeWindow();
        window->openFolder(photos);
        window->show();
        Gate& gate = slowDecoder();
        window->execute();
        if (!atOnce) {
            gate.let("p01.jpg");
            ASSERT_TRUE(counterShows("002/300   "));
        }
        EXPECT_TRUE(window->close());
        EXPECT_FALSE(window->isVisible());
        gate.letAll();   // the decodes in hand end, as they do on their own
        window.reset();  // as the program ends
        EXPECT_TRUE(prompts.log.isEmpty()) << prompts.log.join('\n').toStdString();
        EXPECT_EQ(readFile(photos + "/index.htm"), QByteArray("earlier page\r\n"));
        EXPECT_TRUE(QDir(photos).entryList({".tessaly-*"}, QDir::Files | QDir::Hidden).isEmpty());
        EXPECT_TRUE(QDir(photos + "/htm_image")
                        .entryList({".work-*"}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)
                        .isEmpty());
    }
}

// What the options dialog stores as a run starts does not reach that run: the run works on its
// own copy of the settings, and the menus are locked from the moment Execute is pressed.
TEST_F(MainRun, SettingsStoredAsTheRunStartsDoNotReachIt) {
    const QString photos = photoFolder("options", 3, true);
    window->openFolder(photos);
    window->execute();
    EXPECT_FALSE(control<QMenu>("Edit1")->menuAction()->isEnabled());
    window->settings().htmlFileName = "other.htm";
    window->settings().thumbFolderName = "other";
    window->settings().thumbWidth = "40";
    window->settings().thumbHeight = "40";
    ASSERT_TRUE(waitUntil([this] { return !window->runActive(); }));
    EXPECT_FALSE(QFileInfo::exists(photos + "/other.htm"));
    EXPECT_FALSE(QFileInfo::exists(photos + "/other"));
    EXPECT_TRUE(readFile(photos + "/index.htm").contains("p03.jpg"));
    EXPECT_GT(QImage(photos + "/htm_image/p01.jpg").width(), 40);  // not fitted into 40
}

TEST_F(MainRun, NothingSelectedOrOnlyBackJpg) {
    const QString photos = folder("back");
    writeTestJpeg(photos + "/back.jpg", 32, 32);
    writeTestJpeg(photos + "/photo.jpg", 32, 32);
    window->openFolder(photos);
    imageList()->item(1)->setSelected(false);
    runCatalogue();
    EXPECT_EQ(prompts.log, QStringList({"information: ファイルが選択されていません。"}));
    EXPECT_FALSE(QFile::exists(photos + "/index.htm"));
    expectIdle();
    // The program's own folders hold no album: the window says why it makes none there.
    for (const char* own : {"/htm_image", "/_backup", "/htm_image/web", "/htm_image/2x"}) {
        prompts.log.clear();
        writeTestJpeg(folder(QString("back") + own) + "/photo.jpg", 32, 32);
        window->openFolder(photos + own);
        runCatalogue();
        ASSERT_EQ(prompts.log.size(), 1) << own;
        EXPECT_TRUE(
            prompts.log[0].startsWith("information: このフォルダにはカタログを作りません。"))
            << prompts.log[0].toStdString();
        EXPECT_FALSE(QFile::exists(photos + own + "/index.htm")) << own;
        EXPECT_EQ(statusPanel(0)->text(), "このフォルダにはカタログを作りません。");
    }
}

TEST_F(MainRun, PhotographsWithNamesThatAreNotUtf8AreReportedAfterTheRun) {
    const QString photos = photoFolder("sjis", 1);
    const QByteArray raw = QFile::encodeName(photos) + "/\x8e\xca.jpg";
    QFile::copy(photos + "/p01.jpg", photos + "/copy");
    ASSERT_EQ(::rename(QFile::encodeName(photos + "/copy").constData(), raw.constData()), 0);
    window->settings().noBrowserLaunch = "on";
    window->openFolder(photos);
    runCatalogue();
    ::unlink(raw.constData());
    ASSERT_EQ(prompts.log.size(), 1);
    EXPECT_TRUE(prompts.log[0].startsWith("information: ")) << prompts.log[0].toStdString();
    EXPECT_TRUE(prompts.log[0].contains("\\x8e\\xca.jpg")) << prompts.log[0].toStdString();
    expectIdle();
}

TEST_F(MainRun, RunInputComesFromTheControls) {
    const QString photos = photoFolder("input", 3);
    window->openFolder(photos);
    perRowBox()->setValue(8);
    imageList()->item(1)->setSelected(false);
    // The folder's own name in the title box is page text; a typed title is markup.
    EXPECT_TRUE(MainRunner(*window).inputFromWindow().titleIsName);
    titleEdit()->setText("題名");
    const CatalogRunInput input = MainRunner(*window).inputFromWindow();
    EXPECT_FALSE(input.titleIsName);
    EXPECT_EQ(input.folder, photos);
    EXPECT_EQ(input.names, QStringList({"p01.jpg", "p02.jpg", "p03.jpg"}));
    EXPECT_EQ(input.selected, std::vector<bool>({true, false, true}));
    EXPECT_EQ(input.title, "題名");
    EXPECT_EQ(input.perRow, 8);
    EXPECT_EQ(input.jobs, std::max(1, QThread::idealThreadCount()));  // the workers of a batch run
}

}  // namespace
}  // namespace tessaly::test
