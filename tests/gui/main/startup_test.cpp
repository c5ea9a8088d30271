#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>

#include "core/settings/catalogsettings.h"
#include "gui/comments/commenteditor.h"
#include "gui/common/folderlist.h"
#include "gui/common/qtjapanese.h"
#include "gui/imaging/bmpconverterwindow.h"
#include "gui/imaging/rotationwindow.h"
#include "gui/main/aboutbox.h"
#include "gui/main/folderpicker.h"
#include "gui/main/helpviewer.h"
#include "gui/main/instanceguard.h"
#include "gui/main/windowset.h"
#include "gui/main/windowsounds.h"
#include "gui/options/optionsdialog.h"
#include "gui/support/accessibility.h"
#include "gui/toc/contentswindow.h"
#include "mainfixture.h"
#include "support/tempdir.h"
#include "support/testformats.h"
#include "support/testimages.h"

namespace tessaly::test {
namespace {

QString uniqueName(const char* what) {
    return QString("QUVLX-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(what);
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QString& value)
        : name_(name), old_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name)) {
        qputenv(name, value.toUtf8());
    }
    ~ScopedEnv() {
        if (had_) {
            qputenv(name_, old_);
        } else {
            qunsetenv(name_);
        }
    }

private:
    const char* name_;
    QByteArray old_;
    bool had_;
};

TEST(InstanceGuard, SecondGuardSeesTheFirstAndAsksItToComeForward) {
    InstanceGuard first(uniqueName("pair"));
    int raised = 0;
    QObject::connect(&first, &InstanceGuard::activationRequested, [&] { ++raised; });
    ASSERT_TRUE(first.acquire());
    {
        InstanceGuard second(uniqueName("pair"));
        EXPECT_FALSE(second.acquire());
        EXPECT_FALSE(second.isFirst());
    }
    for (int i = 0; i < 200 && raised == 0; ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_EQ(raised, 1);
    EXPECT_TRUE(first.isFirst());
}

TEST(InstanceGuard, TheNameIsFreeAgainOnceTheFirstEnds) {
    {
        InstanceGuard first(uniqueName("release"));
        ASSERT_TRUE(first.acquire());
    }
    InstanceGuard next(uniqueName("release"));
    EXPECT_TRUE(next.acquire());
    InstanceGuard other(uniqueName("other"));
    EXPECT_TRUE(other.acquire());
}

using Startup = MainFixture;

// Each secondary window opens over the main window, below and right of its corner; the About
// box and the folder picker are named for screen readers and read in Japanese.
TEST_F(Startup, SecondaryWindowsOpenOverTheMainWindow) {
    window->move(200, 100);
    WindowSet windows(*window);
    const QRect main = window->frameGeometry();
    for (QWidget* dialog : std::initializer_list<QWidget*>{
             windows.folderPicker(), windows.about(), windows.options(), windows.rotation(),
             windows.contents(), windows.converter(), windows.comments()}) {
        ASSERT_NE(dialog, nullptr);
        const QPoint at = dialog->pos();
        EXPECT_TRUE(main.contains(at) && at.x() > main.x() && at.y() > main.y())
            << dialog->metaObject()->className();
    }
    for (QDialog* dialog :
         {static_cast<QDialog*>(windows.about()), static_cast<QDialog*>(windows.folderPicker())}) {
        EXPECT_FALSE(dialog->windowFlags() & Qt::WindowMaximizeButtonHint);
        expectEveryControlNamed(dialog);
        expectJapaneseCaptions(dialog);
    }
    EXPECT_EQ(windows.about()->windowTitle(), "バージョン情報");
    EXPECT_EQ(child<QLabel>(*windows.about(), "Label1")->text(), "Tessaly Ver1.60 ");
    EXPECT_EQ(windows.folderPicker()->windowTitle(), "フォルダ選択");
    // Options and the menu items of the rotation, contents, converter and comment windows.
    for (const char* command : {"Object1", "N1", "N3", "BMP1", "N9"})
        EXPECT_TRUE(control<QAction>(command)->isEnabled()) << command;
    EXPECT_TRUE(control<QPushButton>("Button6")->isEnabled());
}

TEST_F(Startup, MissingCommentFileOpensTheCommentEditorOnYes) {
    WindowSet windows(*window);
    const QString photos = folder("comments");
    writeTestJpeg(photos + "/a.jpg", 40, 30);
    window->openFolder(photos);
    control<QCheckBox>("CommentBox")->setChecked(true);
    prompts.answers = {true};
    QString opened;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened = modal->objectName();
            modal->close();
        }
    });
    closer.start(10);
    runCatalogue();
    EXPECT_EQ(opened, "Tcomment");
    ASSERT_EQ(prompts.log.size(), 1);
    EXPECT_TRUE(prompts.log.first().startsWith("question: コメントファイルが見つかりません。"));
    EXPECT_FALSE(QFile::exists(photos + "/index.htm"));
    EXPECT_FALSE(window->runActive());
    EXPECT_FALSE(executeButton()->isHidden());
    // No: the run ends without a page, and the status line says so.
    prompts.answers = {false};
    runCatalogue();
    EXPECT_EQ(opened, "Tcomment");
    EXPECT_FALSE(QFile::exists(photos + "/index.htm"));
    EXPECT_EQ(statusPanel(0)->text(), "コメントファイルがないため中止しました");
    EXPECT_EQ(statusPanel(2)->text(), "");
}

TEST_F(Startup, FolderPickerReturnsTheOpenFolderOrNothing) {
    FolderPicker picker(window->context(), window.get());
    EXPECT_EQ(picker.chosenFolder(), "");
    const QString sub = QDir::cleanPath(data.path()) + "/選択";
    QDir().mkpath(sub);
    auto* folders = child<FolderList>(picker, "Dir2");
    ASSERT_TRUE(folders->setDirectory(data.path()));
    // A highlighted entry does not count: the open folder is returned.
    folders->setCurrentRow(folders->openIndex() + 1);
    picker.selectFolder();
    EXPECT_EQ(picker.chosenFolder(), QDir::cleanPath(data.path()));
    folders->openEntry(folders->openIndex() + 1);
    picker.selectFolder();
    EXPECT_EQ(picker.chosenFolder(), sub);
    // The next use starts where this one ended.
    EXPECT_EQ(folders->directory(), sub);
    picker.cancelChoice();
    EXPECT_EQ(picker.chosenFolder(), "");
    folders->setDirectory("/");
    picker.selectFolder();
    EXPECT_EQ(picker.chosenFolder(), "/");
}

TEST_F(Startup, HelpShowsTheContentsPageOrReportsAMissingFile) {
    WindowSet windows(*window);
    control<QAction>("Contents1")->trigger();
    ASSERT_EQ(prompts.log.size(), 1);
    EXPECT_TRUE(prompts.log.first().contains("Quorvel.hlp"));

    app.write("Quorvel.hlp",
              "<html><body><h1><a name=\"contents\">目次</a></h1>"
              "<p>Tessaly の使い方</p></body></html>");
    control<QAction>("Contents1")->trigger();
    EXPECT_EQ(prompts.log.size(), 1);
    auto* viewer = window->findChild<HelpViewer*>();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    expectEveryControlNamed(viewer);
    EXPECT_TRUE(
        child<QTextBrowser>(*viewer, "HelpText")->toPlainText().contains("Tessaly の使い方"));
    viewer->close();
}

TEST(ShippedHelp, CoversTheWholeProgram) {
    const QString source = test::projectFolder();
    if (!QFileInfo::exists(source + "/data")) GTEST_SKIP() << "skipped: project folder not found";
    const QByteArray bytes = readFile(source + "/data/Quorvel.hlp");
    ASSERT_FALSE(bytes.isEmpty());
    const QString text = QString::fromUtf8(bytes);
    EXPECT_TRUE(text.contains("name=\"contents\""));
    for (const char* topic : {"実行", "中止", "オプション", "目次作成", "コメント", "回転", "BMP",
                              "スライドショー", "次のフォルダ", "HEIC"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(topic))) << topic;
}

TEST(ShippedHelp, FoundBesideTheProgramElseInTheInstalledDataFolder) {
    TempDir root;
    const QString bin = root.file("bin"), data = root.file("share/tessaly");
    QDir().mkpath(bin);
    QDir().mkpath(data);
    EXPECT_EQ(HelpViewer::helpFileFor(bin), bin + "/Quorvel.hlp");  // neither: the usual place
    writeFile(data + "/Quorvel.hlp", "installed");
    EXPECT_EQ(HelpViewer::helpFileFor(bin), data + "/Quorvel.hlp");
    writeFile(bin + "/Quorvel.hlp", "portable");
    EXPECT_EQ(HelpViewer::helpFileFor(bin), bin + "/Quorvel.hlp");
}

// An installed copy (no Quorvel.ini beside the program): 登録 writes the user's settings
// folder and runs its name test there, the program's folder is never written, and the main
// window starts in the home folder.
TEST(InstalledCopy, KeepsItsSettingsInTheUsersFolder) {
    TempDir root;
    const ScopedEnv home("HOME", root.file("home"));
    const ScopedEnv config("XDG_CONFIG_HOME", root.file("config"));
    const QString program = root.file("usr/bin");
    QDir().mkpath(program);
    QDir().mkpath(root.file("home"));
    ScriptedPrompts prompts;
    RecordingShell shell;
    const QString settingsFolder = settingsFolderFor(program);
    ASSERT_EQ(settingsFolder, root.file("config/tessaly"));
    {
        MainWindow window(program, settingsFolder, prompts, shell);
        EXPECT_EQ(window.currentFolder(), root.file("home"));
        OptionsDialog options(window.context(), &window);
        options.findChild<QLineEdit*>("htmlfilebox")->setText("mine.htm");
        options.storeAndClose();
        EXPECT_EQ(options.result(), QDialog::Accepted);
    }
    EXPECT_TRUE(QDir(program).isEmpty());
    EXPECT_TRUE(QFileInfo(root.file("config/tessaly/temp")).isDir());
    MainWindow again(program, settingsFolderFor(program), prompts, shell);
    EXPECT_EQ(again.settings().htmlFileName, "mine.htm");
    EXPECT_TRUE(prompts.log.isEmpty()) << prompts.log.join("\n").toStdString();
}

// A question box's Yes and No buttons and its caption.
QString questionTexts() {
    QMessageBox box(QMessageBox::Question, "Tessaly", "?", QMessageBox::Yes | QMessageBox::No);
    return box.button(QMessageBox::Yes)->text() + "|" + box.button(QMessageBox::No)->text() + "|" +
           box.windowTitle();
}

// Qt's own texts come in Japanese once the translation is installed; captions set by the
// program stay as they are.
TEST(QtJapanese, QuestionBoxesSayHaiAndIie) {
    const QLocale before;
    EXPECT_EQ(questionTexts(), "&Yes|&No|Tessaly");
    {
        QtJapanese japanese;
        ASSERT_TRUE(japanese.install()) << "qtbase_ja missing (Debian: qt6-translations-l10n)";
        EXPECT_EQ(questionTexts(), "はい(&Y)|いいえ(&N)|Tessaly");
        // Qt's own choosers, which the translation reaches, not the desktop's.
        EXPECT_TRUE(QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs));
        // Dates and numbers as a Japanese user reads them, whatever the system's language.
        EXPECT_EQ(QLocale().language(), QLocale::Japanese);
        EXPECT_TRUE(QLocale().toString(QDate(2024, 5, 6), QLocale::LongFormat).contains("年"));
    }
    EXPECT_EQ(questionTexts(), "&Yes|&No|Tessaly");  // removed again with its owner
    EXPECT_EQ(QLocale(), before);
    EXPECT_FALSE(QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs));
}

TEST_F(Startup, MinimiseAndRestorePlayTheirSounds) {
    window->show();
    window->setWindowState(Qt::WindowMinimized);
    const auto* sounds = control<WindowSounds>("WindowSounds");
    EXPECT_EQ(sounds->lastEvent(), "Minimize");
    window->setWindowState(Qt::WindowNoState);
    EXPECT_EQ(sounds->lastEvent(), "RestoreUp");
}

TEST_F(Startup, KeysOnTheBareWindowGoToExecute) {
    window->show();
    auto* selectAll = control<QPushButton>("Button3");
    selectAll->setFocus();
    selectAll->clearFocus();
    ASSERT_EQ(window->focusWidget(), nullptr);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &key);
    EXPECT_EQ(window->focusWidget(), executeButton());
}

// The windows opened from the main window work on their own copy of the list's selection:
// closing them, even with Esc and nothing done, leaves the user's selection as it was, and
// the comment editor lists every photograph the list takes.
TEST_F(Startup, SecondaryWindowsLeaveTheMainListSelectionAlone) {
    WindowSet windows(*window);
    const QString photos = folder("phone");
    for (const char* name : {"a.jpg", "d.jpg"}) writeTestJpeg(photos + "/" + name, 40, 30);
    writeFile(photos + "/b.png", makeTestPng(40, 30));
    writeFile(photos + "/c.webp", makeTestWebp(40, 30));
    control<QCheckBox>("otherFormatsCheck")->setChecked(true);
    window->openFolder(photos);
    ASSERT_EQ(listed(), (QStringList{"a.jpg", "b.png", "c.webp", "d.jpg"}));
    imageList()->item(3)->setSelected(false);
    QStringList opened;
    QStringList forComments;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == window.get()) return;
        opened << modal->objectName();
        if (modal == windows.comments()) forComments = windows.comments()->fileNames();
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(modal, &esc);
    });
    closer.start(10);
    for (const char* command : {"N1", "N9", "N3", "BMP1"}) {
        control<QAction>(command)->trigger();
        EXPECT_EQ(selection(), "***.") << command;
    }
    control<QPushButton>("Button6")->click();
    EXPECT_EQ(selection(), "***.");
    EXPECT_EQ(opened.size(), 5) << opened.join(' ').toStdString();
    EXPECT_EQ(opened.count("Toption2"), 2);
    EXPECT_EQ(forComments, listed());
    EXPECT_TRUE(prompts.log.isEmpty()) << prompts.log.join('|').toStdString();
}

}  // namespace
}  // namespace tessaly::test
