#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "core/settings/catalogsettings.h"
#include "gui/common/volumebox.h"
#include "gui/main/foldernavigator.h"
#include "gui/main/imagepreview.h"
#include "gui/main/windowplacement.h"
#include "gui/support/accessibility.h"
#include "gui/support/readability.h"
#include "mainfixture.h"
#include "support/testheif.h"
#include "support/testimages.h"

namespace tessaly::test {
namespace {

using MainWindow = MainFixture;

// What a user and a screen reader find: every control named, every caption readable and in
// Japanese, the idle state (Cancel, the file list and the preview hidden).
TEST_F(MainWindow, EveryControlIsNamedAndReadsInJapanese) {
    window->show();
    QApplication::processEvents();
    EXPECT_EQ(window->windowTitle(), "Tessaly");
    expectEveryControlNamed(window.get());
    expectJapaneseCaptions(window.get());
    expectReadable(window.get());
    expectEnterPressesFocusedButtons(window.get());
    EXPECT_TRUE(cancelButton()->isHidden());
    EXPECT_TRUE(control<QWidget>("File1")->isHidden());
    EXPECT_TRUE(previewImage()->isHidden());
    EXPECT_FALSE(previewImage()->isEnabled());
    EXPECT_EQ(window->imagesPerRow(), 5);
    // Each status panel shows the longest text a run puts there whole; the counter stands right.
    const char* longest[] = {"処理は中断されました。", "フィルター処理", "012/345   "};
    for (int panel = 0; panel < 3; ++panel) {
        const QLabel* label = statusPanel(panel);
        EXPECT_LE(label->fontMetrics().horizontalAdvance(QString::fromUtf8(longest[panel])),
                  label->contentsRect().width())
            << panel;
    }
    EXPECT_TRUE(statusPanel(2)->alignment() & Qt::AlignRight);
}

TEST_F(MainWindow, ListsJpgFilesAllSelected) {
    const QString photos = folder("photos");
    for (const char* name : {"a.JPG", "b.jpeg", "c.jpg", "notes.txt"})
        writeFile(photos + "/" + name, "x");
    window->openFolder(photos);
    EXPECT_EQ(listed(), QStringList({"a.JPG", "c.jpg"}));
    EXPECT_EQ(selection(), "**");
    EXPECT_EQ(titleEdit()->text(), "photos");
    EXPECT_EQ(window->currentFolder(), photos);

    // A rebuild discards the user's order and selection.
    control<QAction>("maxdown")->trigger();
    window->deselectAllImages();
    window->refreshFiles();
    EXPECT_EQ(listed(), QStringList({"a.JPG", "c.jpg"}));
    EXPECT_EQ(selection(), "**");

    // The check box under the list lets photographs of other formats in, says so in the
    // list's heading, and is kept for the next start.
    writeFile(photos + "/d.PNG", "x");
    control<QCheckBox>("otherFormatsCheck")->click();
    EXPECT_EQ(listed(), QStringList({"a.JPG", "b.jpeg", "c.jpg", "d.PNG"}));
    EXPECT_TRUE(control<QLabel>("Label1")->text().contains("PNG"));
    EXPECT_EQ(loadSettingsFile(settingsFilePath(window->settings().configFolder())).otherFormats,
              "on");
    control<QCheckBox>("otherFormatsCheck")->click();
    EXPECT_EQ(listed(), QStringList({"a.JPG", "c.jpg"}));
    EXPECT_EQ(loadSettingsFile(settingsFilePath(window->settings().configFolder())).otherFormats,
              "off");
}

TEST_F(MainWindow, TitleIsTheFolderOwnNameCountedInCharacters) {
    const QString japanese = folder("写真/夏休み");
    window->openFolder(japanese);
    EXPECT_EQ(titleEdit()->text(), "夏休み");
    EXPECT_EQ(FolderNavigator::ownName("/"), "");
    EXPECT_EQ(FolderNavigator::ownName("/usr"), "usr");
    EXPECT_EQ(FolderNavigator::parentOf("/usr"), "/");
    EXPECT_EQ(FolderNavigator::parentOf("/a/写真"), "/a");
}

TEST_F(MainWindow, MovesSelectedEntriesWithTheirSelection) {
    const QStringList abcde{"A", "B", "C", "D", "E"};
    setList(abcde, ".*.*.");
    window->moveUp();
    EXPECT_EQ(listed(), QStringList({"B", "A", "D", "C", "E"}));
    EXPECT_EQ(selection(), "*.*..");

    setList(abcde, "..*.*");
    window->moveToTop();
    EXPECT_EQ(listed(), QStringList({"C", "A", "E", "B", "D"}));
    EXPECT_EQ(selection(), "*.*..");

    setList(abcde, "**.*.");
    window->moveDown();
    EXPECT_EQ(listed(), QStringList({"C", "A", "B", "E", "D"}));
    EXPECT_EQ(selection(), ".**.*");

    setList(abcde, "*.*..");
    window->moveToBottom();
    EXPECT_EQ(listed(), QStringList({"B", "D", "A", "E", "C"}));
    EXPECT_EQ(selection(), "..*.*");
    EXPECT_TRUE(prompts.log.isEmpty());
}

// "撮影日時順" gives the order of tessaly-batch --sort date; the selection stays on its files.
TEST_F(MainWindow, SortsByCaptureTimeKeepingTheSelection) {
    const QString photos = folder("dated");
    const QStringList taken = writeDatedPhotos(photos);
    window->openFolder(photos);
    imageList()->item(0)->setSelected(false);  // a.jpg
    auto* byDate = control<QPushButton>("sortByDateButton");
    EXPECT_FALSE(byDate->accessibleName().isEmpty());
    byDate->click();
    EXPECT_EQ(listed(), taken);
    EXPECT_EQ(selection(), "****.*");
}

TEST_F(MainWindow, MovesOnALongList) {
    QStringList names;
    QString marks;
    for (int i = 0; i < 10000; ++i) {
        names << QString::number(i);
        marks += (i % 3 == 1) ? '*' : '.';
    }
    setList(names, marks);
    window->moveUp();
    EXPECT_EQ(listed().mid(0, 6), QStringList({"1", "0", "2", "4", "3", "5"}));
    window->moveToBottom();
    EXPECT_EQ(listed().last(), "9997");
    EXPECT_EQ(selection().count('*'), 3333);
    EXPECT_EQ(selection().right(4), "*..*");
    window->selectAllImages();
    EXPECT_EQ(selection().count('*'), 10000);
}

TEST_F(MainWindow, RefusesMovesPastTheEnds) {
    const QStringList abc{"A", "B", "C"};
    setList(abc, "*.*");
    window->moveUp();
    EXPECT_EQ(prompts.log, QStringList({"information: 移動できません"}));
    EXPECT_EQ(listed(), abc);
    EXPECT_EQ(selection(), "*.*");
    window->moveDown();
    EXPECT_EQ(prompts.log.size(), 2);
    EXPECT_EQ(listed(), abc);

    // To the top / bottom with nothing to do, or nothing selected, changes nothing silently.
    window->moveToTop();
    setList(abc, "...");
    window->moveToTop();
    window->moveToBottom();
    window->selectAllImages();
    EXPECT_EQ(selection(), "***");
    window->deselectAllImages();
    EXPECT_EQ(selection(), "...");
    EXPECT_EQ(listed(), abc);
    EXPECT_EQ(prompts.log.size(), 2);
}

TEST_F(MainWindow, NextFolderWalksSiblingsAndWraps) {
    const QString a = folder("parent/a");
    folder("parent/B");
    // The program's own folders are passed over.
    folder("parent/htm_image/web");
    folder("parent/_backup");
    const QString c = folder("parent/c");
    window->openFolder(a);
    window->openNextFolder();
    EXPECT_EQ(window->currentFolder(), folder("parent/B"));
    EXPECT_EQ(titleEdit()->text(), "B");
    window->openNextFolder();
    EXPECT_EQ(window->currentFolder(), c);
    window->openNextFolder();
    EXPECT_EQ(window->currentFolder(), a);

    window->openFolder("/");
    control<QAction>("N6")->trigger();
    EXPECT_EQ(window->currentFolder(), "/");
    EXPECT_EQ(titleEdit()->text(), "");
}

TEST_F(MainWindow, MissingFoldersFallBackToTheProgramFolder) {
    window->openFolder(data.path() + "/none");
    EXPECT_EQ(window->currentFolder(), QDir::cleanPath(app.path()));

    const QString gone = folder("gone");
    CatalogSettings settings;
    settings.appFolder = app.path();
    settings.startFolder = gone;
    saveSettings(settings);
    QDir().rmdir(gone);
    makeWindow();
    EXPECT_EQ(window->currentFolder(), QDir::cleanPath(app.path()));
    EXPECT_EQ(titleEdit()->text(), QDir(app.path()).dirName());

    // The open folder vanishes; a refresh goes back to the program folder without a message.
    const QString shortLived = folder("short");
    window->openFolder(shortLived);
    QDir().rmdir(shortLived);
    window->refreshFiles();
    EXPECT_EQ(window->currentFolder(), QDir::cleanPath(app.path()));

    // A drive that cannot be read: folder list and drive box go back to the program folder.
    auto* drives = control<VolumeBox>("Drive1");
    drives->addItem("/unreadable-volume");
    drives->setCurrentIndex(drives->count() - 1);
    emit drives->driveChanged("/unreadable-volume");  // as after choosing it in the box
    EXPECT_EQ(window->currentFolder(), QDir::cleanPath(app.path()));
    EXPECT_EQ(window->currentDrive(), VolumeBox::rootOf(app.path(), VolumeBox::mountedRoots()));
    EXPECT_TRUE(prompts.log.isEmpty());
}

// A first start opens at the options' position; the window then opens where and as large as
// it was when it was closed. Closing adds that one line to the settings file, nothing else.
TEST_F(MainWindow, StartsInTheStartFolderAndWhereItWasClosed) {
    const QString start = folder("start");
    CatalogSettings settings;
    settings.appFolder = app.path();
    settings.startFolder = start;
    settings.windowLeft = 40;
    settings.windowTop = 30;
    saveSettings(settings);
    const QByteArray before = app.read("Quorvel.ini");
    makeWindow();
    EXPECT_EQ(window->currentFolder(), start);
    EXPECT_EQ(titleEdit()->text(), "start");
    EXPECT_EQ(window->pos(), QPoint(40, 30));

    window->resize(700, 480);
    window->move(60, 50);
    const QString elsewhere = folder("elsewhere");
    window->openFolder(elsewhere);
    window->close();
    // The lines after the blocks keep the order of the settings table.
    QStringList expected = test::sjisLines(before);
    const int at = int(expected.indexOf(QStringLiteral("[可能なら無劣化で回転]"))) + 2;
    expected.insert(at, elsewhere);
    expected.insert(at, QStringLiteral("[最後に開いたフォルダ]"));
    expected.insert(at, QStringLiteral("60,50,700,480"));
    expected.insert(at, QStringLiteral("[メインウインドウの位置と大きさ]"));
    EXPECT_EQ(test::sjisLines(app.read("Quorvel.ini")), expected);
    makeWindow();
    EXPECT_EQ(window->geometry(), QRect(60, 50, 700, 480));
    EXPECT_EQ(window->settings().startFolder, start);
    EXPECT_EQ(window->currentFolder(), start);  // the start folder comes first

    // Without a start folder it opens where it was closed; a folder gone since, at home.
    window->settings().startFolder.clear();
    saveSettings(window->settings());
    makeWindow();
    EXPECT_EQ(window->currentFolder(), elsewhere);
    QDir(elsewhere).removeRecursively();
    makeWindow();
    EXPECT_EQ(window->currentFolder(), QDir::cleanPath(app.path()));
}

TEST(WindowPlacement, FitsTheStoredPlaceToTheScreen) {
    const QSize least(597, 390);
    const QRect laptop(0, 0, 1366, 738);
    const struct {
        const char* stored;
        QRect screen;
        QRect opens;
    } cases[] = {
        {"100,50,900,650", laptop, {100, 50, 900, 650}},
        {"100,50,300,200", laptop, {100, 50, 597, 390}},    // never below the minimum
        {"1200,700,900,650", laptop, {466, 88, 900, 650}},  // moved back onto the screen
        {"-500,-40,3000,2000", laptop, {0, 0, 1366, 738}},  // never beyond it
        {"10,10,900,650", {1366, 0, 1920, 1050}, {1366, 10, 900, 650}},  // a second screen
        {"0,0,800,600", {0, 0, 500, 300}, {0, 0, 597, 390}},  // the minimum wins on a tiny screen
    };
    for (const auto& c : cases) {
        const QRect place = tessaly::WindowPlacement::fromText(c.stored);
        EXPECT_EQ(tessaly::WindowPlacement::toText(place), c.stored);
        EXPECT_EQ(tessaly::WindowPlacement::fitted(place, least, c.screen), c.opens) << c.stored;
    }
    for (const char* unusable : {"", "1,2,3", "a,b,c,d", "1,2,0,5", "1,2,3,-4"})
        EXPECT_TRUE(tessaly::WindowPlacement::fromText(unusable).isEmpty()) << unusable;
    // A first start is roomy on a small laptop screen and leaves room on a smaller one.
    EXPECT_EQ(tessaly::WindowPlacement::firstSize(least, laptop), QSize(800, 560));
    EXPECT_EQ(tessaly::WindowPlacement::firstSize(least, {0, 0, 800, 600}), QSize(720, 540));
}

TEST(PreviewFit, KeepsTheAspectRatioInTheBox) {
    EXPECT_EQ(ImagePreview::fitSize(QSize(300, 200)), QSize(150, 100));
    EXPECT_EQ(ImagePreview::fitSize(QSize(200, 300)), QSize(100, 150));
    EXPECT_EQ(ImagePreview::fitSize(QSize(64, 64)), QSize(150, 150));
    EXPECT_EQ(ImagePreview::fitSize(QSize(300, 1)), QSize(150, 0));  // 0.5 rounds to even
    EXPECT_EQ(ImagePreview::fitSize(QSize(300, 3)), QSize(150, 2));  // 1.5 rounds to even
    EXPECT_EQ(ImagePreview::centredPosition(QSize(201, 100), QSize(150, 100)), QPoint(25, 0));
    EXPECT_EQ(ImagePreview::centredPosition(QSize(100, 50), QSize(150, 100), 10), QPoint(-25, -15));
}

TEST_F(MainWindow, PreviewShowsTheTopmostSelectedImageCentred) {
    const QString photos = folder("photos");
    writeTestJpeg(photos + "/a.jpg", 300, 200);
    writeTestJpeg(photos + "/b.jpg", 200, 300);
    window->openFolder(photos);
    window->show();
    QApplication::processEvents();
    imageList()->item(0)->setSelected(false);
    window->openViewer();
    EXPECT_TRUE(previewImage()->isVisible());
    EXPECT_TRUE(previewImage()->isEnabled());
    EXPECT_EQ(previewImage()->size(), QSize(100, 150));
    const QSize panel = previewPanel()->size();
    EXPECT_EQ(previewImage()->pos(), QPoint(panel.width() / 2 - 50, panel.height() / 2 - 75));

    window->resize(window->width() + 101, window->height() + 60);
    QApplication::processEvents();
    ASSERT_NE(previewPanel()->size(), panel);
    EXPECT_EQ(previewImage()->pos(),
              ImagePreview::centredPosition(previewPanel()->size(), QSize(100, 150)));

    writeFile(photos + "/a.jpg", "not a jpeg");
    window->selectAllImages();
    control<QAction>("N4")->trigger();
    ASSERT_EQ(prompts.log.size(), 1);
    EXPECT_TRUE(prompts.log.first().startsWith("error: "));
    EXPECT_TRUE(previewImage()->isHidden());

    prompts.log.clear();
    window->deselectAllImages();
    window->openViewer();
    EXPECT_TRUE(prompts.log.isEmpty());
}

// A plain click selects that photo alone, Ctrl and Shift clicks add to the selection; the
// preview follows the photo clicked or moved to with the keys.
TEST_F(MainWindow, ClicksSelectAndThePreviewFollows) {
    const QString photos = folder("photos");
    writeTestJpeg(photos + "/a.jpg", 300, 200);
    writeTestJpeg(photos + "/b.jpg", 200, 300);
    writeTestJpeg(photos + "/c.jpg", 64, 64);
    window->openFolder(photos);
    window->show();
    QApplication::processEvents();
    ASSERT_EQ(selection(), "***");
    QListWidget* list = imageList();
    const auto click = [list](int row, Qt::KeyboardModifiers keys) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, keys,
                          list->visualItemRect(list->item(row)).center());
    };
    const struct {
        int row;
        Qt::KeyboardModifiers keys;
        const char* selected;
        QSize preview;
    } clicks[] = {{1, Qt::NoModifier, ".*.", {100, 150}},
                  {2, Qt::ControlModifier, ".**", {150, 150}},
                  {0, Qt::ShiftModifier, "***", {150, 100}},
                  {2, Qt::NoModifier, "..*", {150, 150}}};
    for (const auto& c : clicks) {
        click(c.row, c.keys);
        EXPECT_EQ(selection(), c.selected) << c.row;
        EXPECT_TRUE(previewImage()->isVisible());
        EXPECT_EQ(previewImage()->size(), c.preview) << c.row;
    }
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(previewImage()->size(), QSize(100, 150));
    EXPECT_TRUE(prompts.log.isEmpty());
}

TEST_F(MainWindow, DoubleClickStartsTheViewerOrTheFileAssociation) {
    const QString photos = folder("photos");
    writeFile(photos + "/x.jpg", "x");
    writeFile(photos + "/y.jpg", "y");
    window->openFolder(photos);
    imageList()->item(0)->setSelected(false);
    window->imageListDoubleClick();
    EXPECT_EQ(shell.calls, QStringList({"open " + photos + "/y.jpg"}));

    window->settings().viewerPath = "/usr/bin/viewer";
    window->imageListDoubleClick();
    EXPECT_EQ(shell.calls.last(), "start /usr/bin/viewer|y.jpg|" + photos + "/");

    window->deselectAllImages();
    window->imageListDoubleClick();
    EXPECT_EQ(shell.calls.size(), 2);
}

// A click, then a double-click, below the last entry: the selection stays and the topmost
// selected entry opens, as a double-click on an entry opens it.
TEST_F(MainWindow, DoubleClickBelowTheLastEntryOpensTheTopmostSelected) {
    const QString photos = folder("photos");
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) writeFile(photos + "/" + name, "x");
    window->openFolder(photos);
    window->show();
    QApplication::processEvents();
    imageList()->item(0)->setSelected(false);
    QWidget* viewport = imageList()->viewport();
    const QRect last = imageList()->visualItemRect(imageList()->item(2));
    const QPoint below(last.left() + 5, last.bottom() + 10);
    ASSERT_LT(below.y(), viewport->height());
    ASSERT_FALSE(imageList()->indexAt(below).isValid());
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button) {
        QMouseEvent event(type, at, viewport->mapToGlobal(at), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : button,
                          Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    };
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                              QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        send(type, below, Qt::LeftButton);
    }
    EXPECT_EQ(selection(), ".**");
    EXPECT_EQ(shell.calls, QStringList({"open " + photos + "/b.jpg"}));
    send(QEvent::MouseButtonPress, below, Qt::RightButton);  // the popup acts on it too
    EXPECT_EQ(selection(), ".**");

    // On an entry, the first click of a double-click selects that entry alone.
    const QPoint onFirst = imageList()->visualItemRect(imageList()->item(0)).center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                              QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        send(type, onFirst, Qt::LeftButton);
    }
    EXPECT_EQ(selection(), "*..");
    EXPECT_EQ(shell.calls.last(), "open " + photos + "/a.jpg");
    EXPECT_EQ(shell.calls.size(), 2);
}

// The folder list and the image list grow with the window; at its smallest every control
// stays readable.
TEST_F(MainWindow, ListsGrowWithTheWindowAndItsMinimumStaysReadable) {
    window->show();
    QApplication::processEvents();
    // A first start is larger than the minimum: the folder list shows more than four rows.
    const QListWidget* folderList = control<QListWidget>("Dir1");
    EXPECT_GT(folderList->viewport()->height(), 5 * folderList->sizeHintForRow(0));
    window->resize(1, 1);
    QApplication::processEvents();
    const QSize least = window->size();
    EXPECT_GE(least.width(), 500);
    EXPECT_GE(least.height(), 340);
    const QWidget* folders = control<QWidget>("Dir1");
    EXPECT_GE(folders->height(), 4 * folders->fontMetrics().height());
    expectReadable(window.get());
    const int listAtLeast = imageList()->height();
    const QString shots = qEnvironmentVariable("TESSALY_SCREENSHOT_DIR");
    if (!shots.isEmpty()) window->grab().save(shots + QStringLiteral("/main-minimum.png"));

    window->resize(1000, 700);
    QApplication::processEvents();
    EXPECT_GE(folders->height(), 200);
    EXPECT_GE(imageList()->height(), listAtLeast + 100);
    expectReadable(window.get());
    if (!shots.isEmpty()) window->grab().save(shots + QStringLiteral("/main-1000x700.png"));
}

TEST_F(MainWindow, AFolderChangeEmptiesThePreview) {
    const QString photos = folder("photos");
    writeTestJpeg(photos + "/a.jpg", 300, 200);
    window->openFolder(photos);
    window->show();
    window->openViewer();
    ASSERT_TRUE(previewImage()->isVisible());
    window->openFolder(folder("other"));
    EXPECT_TRUE(previewImage()->isHidden());
    EXPECT_TRUE(previewImage()->pixmap().isNull());
}

}  // namespace
}  // namespace tessaly::test
