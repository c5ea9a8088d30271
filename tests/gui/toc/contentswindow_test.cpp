#include "gui/toc/contentswindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QThread>

#include "core/settings/catalogsettings.h"
#include "gui/support/findchild.h"
#include "gui/support/readability.h"
#include "gui/support/scriptedprompts.h"
#include "support/tempdir.h"

using namespace tessaly;
using tessaly::test::sjisBytes;
using tessaly::test::sjisLines;
using tessaly::test::TempDir;

namespace {

// The leading lines of a catalogue page as the generator reads them.
QByteArray cataloguePage(const QString& title, bool marked = true) {
    const QStringList lines = {
        QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">"),
        marked ? QStringLiteral("<!-- Tessaly Version 1.60 -->") : QStringLiteral("<!-- other -->"),
        QStringLiteral("<!-- FILE=012 IMG_0001.jpg -->"),
        QStringLiteral("<!-- 2026.12.07 -->"),
        QStringLiteral("<HTML>"),
        QStringLiteral("<HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
                       "charset=Shift_JIS\">"),
        QStringLiteral("<TITLE>") + title + QStringLiteral("</TITLE>"),
        QStringLiteral("</HEAD>")};
    return sjisBytes(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

class TocWindow : public ::testing::Test {
protected:
    TocWindow() : context{settings, prompts, shell}, window(context, &mainWindow) {}

    template <typename W>
    W* child(const char* name) {
        return test::child<W>(window, name);
    }
    QCheckBox* check(const char* name) { return child<QCheckBox>(name); }
    // Clicks a button; after Button1 (実行) waits until the run is over (a guard of a minute
    // keeps a broken run from hanging the suite).
    void click(const char* name) {
        child<QPushButton>(name)->click();
        const QDeadlineTimer guard(60000);
        while (window.isRunning() && !guard.hasExpired()) {
            QApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(2);
        }
        ASSERT_FALSE(window.isRunning());
    }

    // Two catalogues (one Japanese title) and one unmarked page.
    void makeCatalogues(const TempDir& dir) {
        for (const char* name : {"b_trip", "A_sea", "c_none"}) QDir(dir.path()).mkdir(name);
        dir.write(QStringLiteral("A_sea/index.htm"), cataloguePage(QStringLiteral("海の写真")));
        dir.write(QStringLiteral("b_trip/index.htm"), cataloguePage(QStringLiteral("Trip")));
        dir.write(QStringLiteral("c_none/index.htm"), cataloguePage(QStringLiteral("x"), false));
    }

    CatalogSettings settings;
    test::ScriptedPrompts prompts;
    test::RecordingShell shell;
    AppContext context;
    QWidget mainWindow;
    ContentsWindow window;
};

TEST_F(TocWindow, StartsWithoutBackgroundImageOnGrey) {
    EXPECT_FALSE(check("Check3")->isChecked());
    EXPECT_FALSE(child<QLineEdit>("Edit2")->isEnabled());
    EXPECT_TRUE(child<QLineEdit>("Edit2")->isReadOnly());
    EXPECT_FALSE(child<QPushButton>("Button4")->isEnabled());
    EXPECT_TRUE(child<QLineEdit>("HPtytlebox")->isEnabled());
    EXPECT_EQ(window.backgroundColour(), 8421504);
    window.show();
    QApplication::processEvents();
    test::expectReadable(&window);
    window.hide();
}

TEST_F(TocWindow, SwitchesEnableTheirControls) {
    check("framecheck")->setChecked(true);
    EXPECT_FALSE(check("Check2")->isEnabled());
    check("framecheck")->setChecked(false);
    EXPECT_TRUE(check("Check2")->isEnabled());
    check("Check3")->setChecked(true);
    EXPECT_TRUE(child<QLineEdit>("Edit2")->isEnabled());
    EXPECT_TRUE(child<QPushButton>("Button4")->isEnabled());
}

TEST_F(TocWindow, ColourAndBackgroundChoosersKeepTheOldValueOnCancel) {
    TempDir dir;
    window.setFolder(dir.path());
    prompts.colours = {std::nullopt, 0x0000FF};
    click("Button3");
    EXPECT_EQ(window.backgroundColour(), 8421504);
    click("Button3");
    EXPECT_EQ(window.backgroundColour(), 0x0000FF);
    EXPECT_EQ(child<QLabel>("Panel2")->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_EQ(prompts.log,
              QStringList({QStringLiteral("colour: 8421504"), QStringLiteral("colour: 8421504")}));

    check("Check3")->setChecked(true);
    prompts.fileNames = {QStringLiteral("/pics/back.gif"), QString()};
    click("Button4");
    click("Button4");
    EXPECT_EQ(child<QLineEdit>("Edit2")->text(), QStringLiteral("/pics/back.gif"));
    EXPECT_EQ(prompts.log[2], QStringLiteral("file: 開く|") + dir.path() +
                                  QStringLiteral("|画像ファイル (*.jpg *.gif *.JPG *.GIF)"));
    EXPECT_EQ(prompts.log[3],
              QStringLiteral("file: 開く|/pics|画像ファイル (*.jpg *.gif *.JPG *.GIF)"));
}

TEST_F(TocWindow, ChecksAreShownAsNoticesBeforeAnythingIsWritten) {
    TempDir dir;
    window.setFolder(dir.path());
    click("Button1");
    child<QLineEdit>("HPtytlebox")->setText(QStringLiteral("目次"));
    click("Button1");
    QDir(dir.path()).mkdir(QStringLiteral("empty"));
    click("Button1");
    EXPECT_EQ(prompts.log,
              QStringList({QStringLiteral("information: 目次のタイトルが指定されていません。"),
                           QStringLiteral("information: フォルダがありません。"),
                           QStringLiteral("information: 対象のフォルダがありません。")}));
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("index.htm"))));
}

TEST_F(TocWindow, RunWritesThePageShowsProgressAndOpensTheBrowser) {
    TempDir dir;
    makeCatalogues(dir);
    window.setFolder(dir.path());
    EXPECT_EQ(window.folder(), dir.path());
    child<QLineEdit>("HPtytlebox")->setText(QStringLiteral("旅の目次"));
    prompts.answers = {true};
    click("Button1");
    EXPECT_EQ(child<QLabel>("Label2")->text(), QStringLiteral("002/002"));
    EXPECT_EQ(prompts.log,
              QStringList{QStringLiteral("question: 　　　　ファイル作成終了　　　　\n") +
                          dir.file(QStringLiteral("index.htm")) +
                          QStringLiteral("\nブラウザを起動しますか？")});
    EXPECT_EQ(shell.calls,
              QStringList{QStringLiteral("open ") + dir.file(QStringLiteral("index.htm"))});
    const QStringList page = sjisLines(dir.read(QStringLiteral("index.htm")));
    EXPECT_TRUE(page.contains(QStringLiteral("<TITLE>旅の目次</TITLE>")));
    EXPECT_TRUE(page.join(QString()).contains(QStringLiteral(">海の写真</A>")));
    EXPECT_FALSE(page.join(QString()).contains(QStringLiteral("c_none")));

    // Frames, with a browser program set and the question answered No.
    settings.browserPath = QStringLiteral("/usr/bin/browser");
    check("framecheck")->setChecked(true);
    prompts.answers = {false};
    click("Button1");
    EXPECT_EQ(shell.calls.size(), 1);
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("title.htm"))));
    prompts.answers = {true};
    click("Button1");
    ASSERT_EQ(shell.calls.size(), 2);
    EXPECT_TRUE(shell.calls[1].startsWith(QStringLiteral("start /usr/bin/browser|") +
                                          dir.file(QStringLiteral("index.htm"))));
}

TEST_F(TocWindow, ChoosingADriveOpensItsRoot) {
    TempDir dir;
    window.setFolder(dir.path());
    auto* drives = child<QComboBox>("Drive1");
    ASSERT_GT(drives->count(), 0);
    EXPECT_EQ(drives->itemText(0), QStringLiteral("/"));
    emit drives->activated(0);
    EXPECT_EQ(window.folder(), QStringLiteral("/"));
}

TEST_F(TocWindow, BackgroundImageProblemsEndTheRun) {
    TempDir dir;
    makeCatalogues(dir);
    dir.write(QStringLiteral("back.jpg"), "old background");
    window.setFolder(dir.path());
    child<QLineEdit>("HPtytlebox")->setText(QStringLiteral("t"));
    check("Check3")->setChecked(true);
    click("Button1");  // no file chosen yet
    prompts.fileNames = {dir.file(QStringLiteral("back.jpg")), QStringLiteral("/nowhere/sky.jpg")};
    click("Button4");
    click("Button1");  // an image that already lies in the folder
    click("Button4");
    click("Button1");  // a source that cannot be opened
    const QStringList shown =
        prompts.log.filter(QRegularExpression(QStringLiteral("^(information|error)")));
    ASSERT_EQ(shown.size(), 3) << prompts.log.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(shown[0], QStringLiteral("information: 背景の画像ファイルが指定されていません。"));
    EXPECT_EQ(
        shown[1],
        QStringLiteral("information: 背景ファイルコピーに失敗しました。\n処理は中断されました。"));
    EXPECT_TRUE(shown[2].startsWith(QStringLiteral("error: "))) << shown[2].toStdString();
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("index.htm"))));
    EXPECT_TRUE(shell.calls.isEmpty());
}

TEST_F(TocWindow, KeepsItsValuesBetweenOpenings) {
    TempDir first;
    TempDir second;
    window.setFolder(first.path());
    child<QLineEdit>("HPtytlebox")->setText(QStringLiteral("title"));
    check("Check2")->setChecked(true);
    prompts.colours = {0x123456};
    click("Button3");
    window.show();
    click("Button2");
    EXPECT_FALSE(window.isVisible());
    window.setFolder(second.path());
    EXPECT_EQ(window.folder(), second.path());
    EXPECT_EQ(child<QLineEdit>("HPtytlebox")->text(), QStringLiteral("title"));
    EXPECT_TRUE(check("Check2")->isChecked());
    EXPECT_EQ(window.backgroundColour(), 0x123456);
}

TEST_F(TocWindow, OpenedFolderNotAHighlightedEntryIsTheChosenOne) {
    TempDir dir;
    makeCatalogues(dir);
    window.setFolder(dir.path());
    auto* list = child<QListWidget>("Dir1");
    list->setCurrentRow(list->count() - 1);  // a sub-folder highlighted, not opened
    child<QLineEdit>("HPtytlebox")->setText(QStringLiteral("t"));
    click("Button1");
    EXPECT_EQ(window.folder(), dir.path());
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("index.htm"))));
}

}  // namespace
