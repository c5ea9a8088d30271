#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>

#include "gui/comments/tcomment.h"
#include "gui/common/folderlist.h"
#include "gui/imaging/tbmptojpeg.h"
#include "gui/imaging/toption2.h"
#include "gui/main/helpviewer.h"
#include "gui/main/instanceguard.h"
#include "gui/main/tabout.h"
#include "gui/main/topenfolda.h"
#include "gui/main/windowset.h"
#include "gui/main/windowsounds.h"
#include "gui/options/toption.h"
#include "gui/toc/tmokuji.h"
#include "mainfixture.h"
#include "support/testimages.h"

namespace tessaly::test {
namespace {

QString uniqueName(const char* what) {
    return QString("QUVLX-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(what);
}

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

TEST_F(Startup, SecondaryWindowsArePlacedFromTheMainWindow) {
    window->move(200, 100);
    WindowSet windows(*window);
    EXPECT_EQ(windows.folderPicker()->pos(), QPoint(280, 210));
    EXPECT_EQ(windows.about()->pos(), QPoint(330, 230));
    EXPECT_FALSE(windows.folderPicker()->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(windows.about()->windowTitle(), "バージョン情報");
    EXPECT_EQ(windows.about()->Label1->text(), "Tessaly Ver1.60 ");
    EXPECT_TRUE(windows.about()->Label1->font().italic());
    EXPECT_EQ(windows.folderPicker()->windowTitle(), "フォルダ選択");
    const std::pair<QWidget*, QPoint> placed[] = {{windows.options(), {250, 195}},
                                                  {windows.rotation(), {280, 195}},
                                                  {windows.contents(), {250, 195}},
                                                  {windows.converter(), {250, 195}},
                                                  {windows.comments(), {280, 195}}};
    for (const auto& [dialog, at] : placed) {
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->pos(), at) << dialog->metaObject()->className();
    }
    for (QAction* command : {window->Object1, window->N1, window->N3, window->BMP1, window->N9})
        EXPECT_TRUE(command->isEnabled()) << command->objectName().toStdString();
    EXPECT_TRUE(window->Button6->isEnabled());
}

TEST_F(Startup, MissingCommentFileOpensTheCommentEditorOnYes) {
    WindowSet windows(*window);
    window->setWindowSet(&windows);
    const QString photos = folder("comments");
    writeTestJpeg(photos + "/a.jpg", 40, 30);
    window->openFolder(photos);
    window->CommentBox->setChecked(true);
    prompts.answers = {true};
    QString opened;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened = modal->metaObject()->className();
            modal->close();
        }
    });
    closer.start(10);
    window->Button7Click();
    EXPECT_EQ(opened, "tessaly::Tcomment");
    ASSERT_EQ(prompts.log.size(), 1);
    EXPECT_TRUE(prompts.log.first().startsWith("question: コメントファイルが見つかりません。"));
    EXPECT_FALSE(QFile::exists(photos + "/index.htm"));
    EXPECT_FALSE(window->runActive());
    EXPECT_FALSE(window->Button7->isHidden());
}

TEST_F(Startup, FolderPickerReturnsTheOpenFolderOrNothing) {
    TOpenfolda picker(window->context(), window.get());
    EXPECT_EQ(picker.chosenFolder(), "");
    const QString sub = QDir::cleanPath(data.path()) + "/選択";
    QDir().mkpath(sub);
    ASSERT_TRUE(picker.Dir2->setDirectory(data.path()));
    // A highlighted entry does not count: the open folder is returned.
    picker.Dir2->setCurrentRow(picker.Dir2->openIndex() + 1);
    picker.Button1Click();
    EXPECT_EQ(picker.chosenFolder(), QDir::cleanPath(data.path()));
    picker.Dir2->openEntry(picker.Dir2->openIndex() + 1);
    picker.Button1Click();
    EXPECT_EQ(picker.chosenFolder(), sub);
    // The next use starts where this one ended.
    EXPECT_EQ(picker.Dir2->directory(), sub);
    picker.Button2Click();
    EXPECT_EQ(picker.chosenFolder(), "");
    picker.Dir2->setDirectory("/");
    picker.Button1Click();
    EXPECT_EQ(picker.chosenFolder(), "/");
}

TEST_F(Startup, HelpShowsTheContentsPageOrReportsAMissingFile) {
    WindowSet windows(*window);
    window->Contents1->trigger();
    ASSERT_EQ(prompts.log.size(), 1);
    EXPECT_TRUE(prompts.log.first().contains("Quorvel.hlp"));

    app.write("Quorvel.hlp",
              "<html><body><h1><a name=\"contents\">目次</a></h1>"
              "<p>Tessaly の使い方</p></body></html>");
    window->Contents1->trigger();
    EXPECT_EQ(prompts.log.size(), 1);
    auto* viewer = window->findChild<HelpViewer*>();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_TRUE(viewer->HelpText->toPlainText().contains("Tessaly の使い方"));
    viewer->close();
}

TEST(ShippedHelp, CoversTheWholeProgram) {
    // The project folder: from the environment, else three levels above this file's folder.
    QString source = qEnvironmentVariable("TESSALY_SOURCE_DIR");
    if (source.isEmpty())
        source = QFileInfo(QString::fromUtf8(__FILE__)).absoluteDir().filePath("../../..");
    if (!QFileInfo::exists(source + "/data")) GTEST_SKIP() << "skipped: project folder not found";
    const QByteArray bytes = readFile(source + "/data/Quorvel.hlp");
    ASSERT_FALSE(bytes.isEmpty());
    const QString text = QString::fromUtf8(bytes);
    EXPECT_TRUE(text.contains("name=\"contents\""));
    for (const char* topic : {"実行", "中止", "オプション", "目次作成", "コメント", "回転", "BMP",
                              "スライドショー", "次のフォルダ", "HEIC"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(topic))) << topic;
}

TEST_F(Startup, MinimiseAndRestorePlayTheirSounds) {
    window->show();
    window->setWindowState(Qt::WindowMinimized);
    EXPECT_EQ(window->sounds().lastEvent(), "Minimize");
    window->setWindowState(Qt::WindowNoState);
    EXPECT_EQ(window->sounds().lastEvent(), "RestoreUp");
}

TEST_F(Startup, KeysOnTheBareWindowGoToExecute) {
    window->show();
    window->Button3->setFocus();
    window->Button3->clearFocus();
    ASSERT_EQ(window->focusWidget(), nullptr);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &key);
    EXPECT_EQ(window->focusWidget(), window->Button7);
}

}  // namespace
}  // namespace tessaly::test
