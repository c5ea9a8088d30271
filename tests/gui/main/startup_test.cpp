#include <QAction>
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>

#include "gui/common/folderlist.h"
#include "gui/main/helpviewer.h"
#include "gui/main/instanceguard.h"
#include "gui/main/tabout.h"
#include "gui/main/topenfolda.h"
#include "gui/main/windowset.h"
#include "mainfixture.h"

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
    // Windows that are not part of this build keep their commands disabled.
    EXPECT_EQ(window->Object1->isEnabled(), windows.options() != nullptr);
    EXPECT_EQ(window->N9->isEnabled(), windows.comments() != nullptr);
    EXPECT_EQ(window->N3->isEnabled(), windows.contents() != nullptr);
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

    app.write("Quorvel.hlp", "<html><body><h1><a name=\"contents\">目次</a></h1>"
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
    const QString source = qEnvironmentVariable("TESSALY_SOURCE_DIR");
    if (source.isEmpty()) GTEST_SKIP() << "skipped: TESSALY_SOURCE_DIR not set";
    const QByteArray bytes = readFile(source + "/data/Quorvel.hlp");
    ASSERT_FALSE(bytes.isEmpty());
    const QString text = QString::fromUtf8(bytes);
    EXPECT_TRUE(text.contains("name=\"contents\""));
    for (const char* topic : {"実行", "中止", "オプション", "目次作成", "コメント", "回転", "BMP",
                              "スライドショー", "次のフォルダ"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(topic))) << topic;
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
