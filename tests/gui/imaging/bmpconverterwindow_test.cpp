#include "gui/imaging/bmpconverterwindow.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QThread>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>

#include "core/imaging/imageerrors.h"
#include "core/imaging/jpeg/jpegimage.h"
#include "gui/common/elidedlabel.h"
#include "gui/common/filelist.h"
#include "gui/common/folderlist.h"
#include "gui/support/findchild.h"
#include "gui/support/readability.h"
#include "gui/support/scriptedprompts.h"
#include "support/fulldisk.h"
#include "support/otheruser.h"
#include "support/tempdir.h"
#include "support/testheif.h"
#include "support/testimages.h"

namespace tessaly {
namespace {

class BmpConverterWindowTest : public ::testing::Test {
protected:
    BmpConverterWindowTest() : context{settings, prompts, shell} {
        settings.appFolder = home.path();
        mainWindow.move(100, 200);
        window = std::make_unique<BmpConverterWindow>(context, &mainWindow);
    }

    // Opens the window on the folder and selects the named entries of fileList.
    void select(const QStringList& names) {
        window->prepare(dir.path());
        for (int i = 0; i < fileList()->count(); ++i) {
            QListWidgetItem* item = fileList()->item(i);
            item->setSelected(names.contains(item->text()));
        }
    }

    // The window's controls, found by their objectNames.
    FolderList* folderList() const { return test::child<FolderList>(*window, "Dir1"); }
    QLabel* listLabel() const { return test::child<QLabel>(*window, "Label1"); }
    FileList* fileList() const { return test::child<FileList>(*window, "File1"); }
    QComboBox* fileTypeBox() const { return test::child<QComboBox>(*window, "FilterComboBox1"); }
    ElidedLabel* fileNameLabel() const { return test::child<ElidedLabel>(*window, "Label3"); }
    QLabel* previewImage() const { return test::child<QLabel>(*window, "Image2"); }
    QPushButton* convertButton() const { return test::child<QPushButton>(*window, "Button1"); }

    // Convert, and wait until the run is over (the run works on its own thread).
    void convertAndWait() {
        convertButton()->click();
        const QDeadlineTimer guard(60000);  // keeps a broken run from hanging the suite
        while (window->isConverting() && !guard.hasExpired()) {
            QApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(2);
        }
        ASSERT_FALSE(window->isConverting());
        QApplication::processEvents();
    }

    QStringList jpegFiles() const {
        return QDir(dir.path()).entryList({"*.jpg"}, QDir::Files | QDir::Hidden, QDir::Name);
    }

    test::TempDir dir;
    test::TempDir home;
    CatalogSettings settings;
    test::ScriptedPrompts prompts;
    test::RecordingShell shell;
    AppContext context;
    QWidget mainWindow;
    std::unique_ptr<BmpConverterWindow> window;
};

TEST_F(BmpConverterWindowTest, QualityStartsAt95Within70To100) {
    const auto* quality = test::child<QSpinBox>(*window, "SpinEdit1");
    EXPECT_EQ(quality->value(), 95);
    EXPECT_EQ(quality->minimum(), 70);
    EXPECT_EQ(quality->maximum(), 100);
}

TEST_F(BmpConverterWindowTest, ListsTheFolderBitmapsAndFallsBackToTheProgramFolder) {
    dir.write("pic.bmp", test::makeTestBmp24(4, 4));
    dir.write("photo.BMP", test::makeTestBmp24(4, 4));
    dir.write("other.jpg", "x");
    window->prepare(dir.path());
    EXPECT_EQ(folderList()->directory(), dir.path());
    EXPECT_EQ(fileList()->files(), (QStringList{"photo.BMP", "pic.bmp"}));
    window->prepare(dir.file("missing"));
    EXPECT_EQ(folderList()->directory(), home.path());
    EXPECT_TRUE(prompts.log.isEmpty());
}

TEST_F(BmpConverterWindowTest, ReopeningOnTheSameFolderKeepsTheSelection) {
    for (const char* name : {"a.bmp", "c.bmp", "d.bmp"}) dir.write(name, test::makeTestBmp24(4, 4));
    select({"a.bmp", "d.bmp"});
    dir.write("b.bmp", test::makeTestBmp24(4, 4));  // the list is read again
    window->prepare(dir.path());
    EXPECT_EQ(fileList()->files(), (QStringList{"a.bmp", "b.bmp", "c.bmp", "d.bmp"}));
    QStringList selected;
    for (QListWidgetItem* item : fileList()->selectedItems()) selected << item->text();
    selected.sort();
    EXPECT_EQ(selected, (QStringList{"a.bmp", "d.bmp"}));
    // Another folder starts without a selection, and so does the way back.
    window->prepare(home.path());
    window->prepare(dir.path());
    EXPECT_TRUE(fileList()->selectedItems().isEmpty());
}

TEST_F(BmpConverterWindowTest, LongNamesAreShortenedInTheMiddleNotClipped) {
    const QString longName =
        QStringLiteral("2024年夏の旅行_北海道_富良野のラベンダー畑_パノラマ_0001.bmp");
    dir.write(longName, test::makeTestBmp24(8, 6));
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "d.bmp", "e.bmp", "f.bmp", "g.bmp"}) {
        dir.write(name, test::makeTestBmp24(4, 4));
    }
    select({longName});
    window->show();
    QApplication::processEvents();
    convertAndWait();
    EXPECT_EQ(window->statusText(), QStringLiteral("変換終了"));
    QApplication::processEvents();
    const ElidedLabel* label = fileNameLabel();  // shortens its text in the middle
    EXPECT_EQ(label->text(), longName);
    EXPECT_EQ(label->toolTip(), longName);
    EXPECT_TRUE(label->shownText().startsWith(QStringLiteral("2024")));
    EXPECT_TRUE(label->shownText().endsWith(QStringLiteral(".bmp")));
    // The lists never scroll sideways, so no scroll bar covers a last row; a long entry is
    // drawn shortened within the list's width (the open folder's name is a long one).
    const QListWidgetItem* entry = fileList()->findItems(longName, Qt::MatchExactly).value(0);
    ASSERT_NE(entry, nullptr);
    const QListWidgetItem* folder = folderList()->item(folderList()->openIndex());
    for (const auto& [list, item] :
         {std::pair<QListWidget*, const QListWidgetItem*>{fileList(), entry},
          {folderList(), folder}}) {
        EXPECT_EQ(list->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        EXPECT_EQ(list->textElideMode(), Qt::ElideMiddle);
        EXPECT_LE(list->visualItemRect(item).right(), list->viewport()->width());
        EXPECT_EQ(item->toolTip().section('/', -1), item->text());  // read whole in its tooltip
    }
    // The window says what it converts and grows: the lists take the room, the type box says
    // its whole caption in its tooltip.
    EXPECT_EQ(window->windowTitle(), QStringLiteral("画像変換"));
    const int listWidth = fileList()->width();
    window->resize(window->width() + 200, window->height() + 100);
    QApplication::processEvents();
    EXPECT_EQ(fileList()->width(), listWidth + 100);
    EXPECT_GE(fileList()->height(), 78 + 100);
    fileTypeBox()->setCurrentIndex(1);
    EXPECT_EQ(fileTypeBox()->toolTip(), QStringLiteral("HEIC (*.heic;*.heif)"));
    EXPECT_GE(fileTypeBox()->width(), fileTypeBox()->sizeHint().width());
    test::expectReadable(window.get());
    const QString shots = qEnvironmentVariable("TESSALY_SCREENSHOT_DIR");
    if (!shots.isEmpty()) window->grab().save(shots + QStringLiteral("/converter.png"));
    window->hide();
}

TEST_F(BmpConverterWindowTest, ExistingOutputAnsweredNoIsLeftAlone) {
    dir.write("pic.bmp", test::makeTestBmp24(40, 30));
    dir.write("photo.BMP", test::makeTestBmp24(30, 20));
    dir.write("pic.jpg", "keep me");
    select({"pic.bmp", "photo.BMP"});
    convertAndWait();
    EXPECT_EQ(prompts.log, QStringList{"warning: 警告: 同名のファイルが存在します。\npic.jpg\n"
                                       "上書きしてよろしいですか？"});
    EXPECT_EQ(dir.read("pic.jpg"), QByteArray("keep me"));
    JpegImage photo;
    photo.loadFromFile(dir.file("photo.jpg"));
    EXPECT_EQ(photo.width(), 30);
    EXPECT_EQ(photo.height(), 20);
    EXPECT_EQ(window->statusText(), QStringLiteral("変換終了"));
    EXPECT_EQ(fileNameLabel()->text(), QStringLiteral("pic.bmp"));
}

TEST_F(BmpConverterWindowTest, ExistingOutputAnsweredYesIsReplaced) {
    dir.write("pic.bmp", test::makeTestBmp24(40, 30));
    dir.write("pic.jpg", "old");
    prompts.answers = {true};
    select({"pic.bmp"});
    convertAndWait();
    JpegImage jpeg;
    jpeg.loadFromFile(dir.file("pic.jpg"));
    EXPECT_EQ(jpeg.width(), 40);
}

TEST_F(BmpConverterWindowTest, HeicTypeListsAndConvertsPhonePhotosUpright) {
    test::HeicOptions turned;
    turned.orientation = 6;
    test::writeTestHeic(dir.file("IMG_0001.HEIC"), 64, 48, turned);
    dir.write("cut.heif", test::makeTestHeic(16, 16).left(100));
    dir.write("pic.bmp", test::makeTestBmp24(8, 8));
    fileTypeBox()->setCurrentIndex(1);
    select({"IMG_0001.HEIC"});
    EXPECT_EQ(listLabel()->text(), QStringLiteral("HEICファイルリスト(&L)"));
    EXPECT_EQ(fileList()->files(), (QStringList{"cut.heif", "IMG_0001.HEIC"}));
    convertAndWait();
    EXPECT_TRUE(prompts.log.isEmpty()) << prompts.log.join('|').toStdString();
    EXPECT_EQ(window->statusText(), QStringLiteral("変換終了"));
    EXPECT_EQ(previewImage()->geometry(), BmpConverterWindow::previewRect(48, 64));
    JpegImage jpeg;
    jpeg.loadFromFile(dir.file("IMG_0001.jpg"));
    EXPECT_EQ(QSize(jpeg.width(), jpeg.height()), QSize(48, 64));

    select({"cut.heif"});
    convertAndWait();
    ASSERT_EQ(prompts.log.size(), 1);
    EXPECT_TRUE(prompts.log[0].startsWith(QStringLiteral("error: cut.heif: HEIC/HEIF")));
    EXPECT_EQ(jpegFiles(), QStringList{"IMG_0001.jpg"});

    // The type chosen is the one the next start opens with.
    CatalogSettings stored = loadSettings(home.path());
    EXPECT_EQ(stored.converterFileType, "HEIC");
    AppContext nextStart{stored, prompts, shell};
    EXPECT_EQ(BmpConverterWindow(nextStart, nullptr)
                  .findChild<QComboBox*>("FilterComboBox1")
                  ->currentIndex(),
              1);

    fileTypeBox()->setCurrentIndex(0);
    EXPECT_EQ(listLabel()->text(), QStringLiteral("BMPファイルリスト(&L)"));
    EXPECT_EQ(fileList()->files(), QStringList{"pic.bmp"});
}

TEST_F(BmpConverterWindowTest, PreviewIsFittedAndCentred) {
    EXPECT_EQ(BmpConverterWindow::previewRect(640, 480), QRect(5, 19, 116, 87));  // 14.5 to 14
    EXPECT_EQ(BmpConverterWindow::previewRect(300, 600), QRect(34, 5, 58, 116));
    EXPECT_EQ(BmpConverterWindow::previewRect(100, 100), QRect(5, 5, 116, 116));
    dir.write("wide.bmp", test::makeTestBmp24(640, 480));
    select({"wide.bmp"});
    convertAndWait();
    EXPECT_EQ(previewImage()->geometry(), QRect(5, 19, 116, 87));
}

TEST_F(BmpConverterWindowTest, NothingSelectedChangesNothing) {
    dir.write("pic.bmp", test::makeTestBmp24(4, 4));
    select({});
    convertAndWait();
    EXPECT_EQ(prompts.log, QStringList{"information: ファイルが選択されていません。"});
    EXPECT_TRUE(jpegFiles().isEmpty());
    EXPECT_TRUE(window->statusText().isEmpty());
}

TEST_F(BmpConverterWindowTest, WriteFailureStopsAtTheFirstSave) {
    dir.write("a.bmp", test::makeTestBmp24(200, 150));
    dir.write("b.bmp", test::makeTestBmp24(200, 150));
    select({"a.bmp", "b.bmp"});
    {
        test::FullDisk full(1000);
        convertAndWait();
    }
    EXPECT_EQ(prompts.log, QStringList{"error: ファイル書き込みエラーが発生しました。\n"
                                       "処理は中断されました。"});
    EXPECT_EQ(fileNameLabel()->text(), QStringLiteral("a.bmp"));  // b.bmp was never tried
    EXPECT_TRUE(jpegFiles().isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    EXPECT_TRUE(window->statusText().isEmpty());
}

TEST_F(BmpConverterWindowTest, WriteProtectedFolderStopsAtTheFirstSave) {
    dir.write("a.bmp", test::makeTestBmp24(8, 8));
    dir.write("b.bmp", test::makeTestBmp24(8, 8));
    select({"a.bmp", "b.bmp"});
    test::openUp(dir.path());
    test::makeReadOnly(dir.path());
    {
        test::AsOtherUser user;  // permissions bind the superuser only through another user
        ASSERT_TRUE(user.active());
        convertAndWait();
    }
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(prompts.log, QStringList{"error: ファイル書き込みエラーが発生しました。\n"
                                       "処理は中断されました。"});
    EXPECT_EQ(fileNameLabel()->text(), QStringLiteral("a.bmp"));
    EXPECT_TRUE(jpegFiles().isEmpty());
}

// 中止 pressed while the second file's overwrite question is open: that file is finished, no
// later one is written though workers have read ahead. Run again with the sub-folders box:
// the files of the sub-folders follow the selected ones, and the bar counts them all.
TEST_F(BmpConverterWindowTest, StopFinishesTheFileInHandAndSubfoldersFollow) {
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "d.bmp"})
        dir.write(name, test::makeTestBmp24(60, 40));
    QDir(dir.path()).mkpath("sub/deeper");
    dir.write("sub/deeper/e.bmp", test::makeTestBmp24(20, 10));
    dir.write("b.jpg", "old");
    QPushButton* stop = test::child<QPushButton>(*window, "StopButton");
    QProgressBar* bar = test::child<QProgressBar>(*window, "ConvertProgress");
    prompts.answers = {true};
    prompts.onPrompt = [&](const QString&) {
        EXPECT_TRUE(stop->isVisible());
        EXPECT_FALSE(convertButton()->isVisible());
        stop->click();
    };
    window->show();
    select({"a.bmp", "b.bmp", "c.bmp", "d.bmp"});
    convertAndWait();
    EXPECT_EQ(window->statusText(), QStringLiteral("処理は中断されました。"));
    EXPECT_EQ(jpegFiles(), (QStringList{"a.jpg", "b.jpg"}));
    EXPECT_NE(dir.read("b.jpg"), QByteArray("old"));
    EXPECT_EQ(bar->text(), "2/4");
    EXPECT_TRUE(convertButton()->isVisible());
    EXPECT_FALSE(stop->isVisible());

    prompts.onPrompt = nullptr;
    test::child<QCheckBox>(*window, "SubfolderCheck")->setChecked(true);
    select({"c.bmp", "d.bmp"});
    convertAndWait();
    EXPECT_EQ(window->statusText(), QStringLiteral("変換終了"));
    EXPECT_EQ(jpegFiles(), (QStringList{"a.jpg", "b.jpg", "c.jpg", "d.jpg"}));
    EXPECT_TRUE(QFileInfo::exists(dir.file("sub/deeper/e.jpg")));
    EXPECT_EQ(bar->text(), "3/3");
    window->hide();
}

// 変換, 中止 and 変換 again while the reads in hand are held up (a slow decoder): the window
// goes idle with the stop message and starts the next run without waiting for those reads, and
// nothing the stopped runs read reaches the window after their stop messages.
TEST_F(BmpConverterWindowTest, StopAndConvertAgainDoNotWaitForTheReadsInHand) {
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "d.bmp", "e.bmp", "f.bmp"})
        dir.write(name, test::makeTestBmp24(60, 40));
    std::mutex mutex;
    std::condition_variable opened;
    bool open = false;
    std::atomic<int> held{0};
    window->setBeforeReading([&](const QString&) {
        std::unique_lock<std::mutex> lock(mutex);
        ++held;
        opened.wait(lock, [&] { return open; });
    });
    QPushButton* stop = test::child<QPushButton>(*window, "StopButton");
    const auto waitUntil = [](const std::function<bool()>& condition) {
        const QDeadlineTimer guard(60000);  // keeps a fault from hanging the suite
        while (!condition() && !guard.hasExpired()) {
            QApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(2);
        }
        return condition();
    };
    window->show();
    select({"a.bmp", "b.bmp", "c.bmp", "d.bmp", "e.bmp", "f.bmp"});
    for (int round = 1; round <= 2; ++round) {
        convertButton()->click();
        ASSERT_TRUE(window->isConverting());
        ASSERT_TRUE(waitUntil([&] { return held.load() >= round; }));
        stop->click();
        ASSERT_TRUE(waitUntil([&] { return !window->isConverting(); }));
        EXPECT_EQ(window->statusText(), QStringLiteral("処理は中断されました。"));
        EXPECT_TRUE(convertButton()->isVisible());
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        open = true;
    }
    opened.notify_all();
    // The held reads end now; what they tell the window is dropped.
    const QDeadlineTimer settle(300);
    while (!settle.hasExpired()) QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(previewImage()->pixmap().isNull());
    EXPECT_EQ(window->statusText(), QStringLiteral("処理は中断されました。"));
    EXPECT_TRUE(jpegFiles().isEmpty());
    window->hide();
}

TEST_F(BmpConverterWindowTest, UnreadableBitmapEndsTheRunThere) {
    dir.write("a.bmp", test::makeTestBmp24(8, 8));
    dir.write("b.bmp", "XX no bitmap");
    dir.write("c.bmp", test::makeTestBmp24(8, 8));
    select({"a.bmp", "b.bmp", "c.bmp"});
    convertAndWait();
    EXPECT_EQ(prompts.log, QStringList{QStringLiteral("error: b.bmp: BMP ファイルではありません")});
    EXPECT_EQ(jpegFiles(), QStringList{"a.jpg"});
}

}  // namespace
}  // namespace tessaly
