#include "gui/imaging/rotationwindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>

#include "core/imaging/jobs/rotationjob.h"
#include "core/imaging/jpeg/jpegimage.h"
#include "core/imaging/metadata/exiforientation.h"
#include "gui/support/findchild.h"
#include "gui/support/readability.h"
#include "gui/support/scriptedprompts.h"
#include "support/fulldisk.h"
#include "support/samepixels.h"
#include "support/tempdir.h"
#include "support/testformats.h"
#include "support/testimages.h"

namespace tessaly {
namespace {

using test::samePixels;

class RotationWindowTest : public ::testing::Test {
protected:
    RotationWindowTest() : context{settings, prompts, shell} {
        mainWindow.move(100, 200);
        imageList.setSelectionMode(QAbstractItemView::ExtendedSelection);
        window = std::make_unique<RotationWindow>(context, &mainWindow);
    }

    // Adds list entries; each "*name" is selected. JPEG files are written for ".jpg" names.
    void entries(const QStringList& names, int width = 64, int height = 48) {
        for (QString name : names) {
            const bool selected = name.startsWith('*');
            if (selected) name.remove(0, 1);
            if (!QFileInfo::exists(dir.file(name))) {
                test::writeTestJpeg(dir.file(name), width, height);
            }
            imageList.addItem(name);
            imageList.item(imageList.count() - 1)->setSelected(selected);
        }
    }

    QString counter() const { return window->panelText(2); }

    // The window's controls, found by their objectNames.
    QSpinBox* qualityEdit() const { return test::child<QSpinBox>(*window, "Edit1"); }
    QPushButton* rotateRightButton() const { return test::child<QPushButton>(*window, "Button1"); }
    QPushButton* nextButton() const { return test::child<QPushButton>(*window, "Button3"); }
    QPushButton* saveNextButton() const { return test::child<QPushButton>(*window, "Button4"); }
    QPushButton* backButton() const { return test::child<QPushButton>(*window, "Button6"); }
    QLabel* previewImage() const { return test::child<QLabel>(*window, "Image2"); }
    QAction* rotateRightAction() const { return test::child<QAction>(*window, "N1"); }
    QAction* rotateLeftAction() const { return test::child<QAction>(*window, "N2"); }

    test::TempDir dir;
    CatalogSettings settings;
    test::ScriptedPrompts prompts;
    test::RecordingShell shell;
    AppContext context;
    QWidget mainWindow;
    QListWidget imageList;
    std::unique_ptr<RotationWindow> window;
};

// The quality box starts at the options' quality and takes typed digits and the arrow keys,
// always within 50..100.
TEST_F(RotationWindowTest, QualityTakesDigitsAndArrowsWithinItsRange) {
    EXPECT_EQ(qualityEdit()->value(), 95);
    const struct {
        int start;
        const char* typed;  // after selecting the whole text; "^" and "v" are the arrows
        int expected;
    } rows[] = {{70, "85\r", 85},  {70, "^", 71},   {100, "^", 100}, {50, "v", 50},
                {70, "200\r", 70}, {70, "7\r", 70}, {120, "", 100}};
    for (const auto& row : rows) {
        window->setRotateQuality(row.start);
        qualityEdit()->selectAll();
        for (const char c : std::string(row.typed)) {
            const Qt::Key key = c == '^'    ? Qt::Key_Up
                                : c == 'v'  ? Qt::Key_Down
                                : c == '\r' ? Qt::Key_Return
                                            : Qt::Key(c);
            const QString text = key == Qt::Key(c) ? QString(QLatin1Char(c)) : QString();
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
            QApplication::sendEvent(qualityEdit(), &press);
        }
        EXPECT_EQ(qualityEdit()->value(), row.expected) << row.start << " " << row.typed;
    }
}

// The window takes the selection as it is and leaves the main list alone: the photographs it
// cannot turn are shown with the reason, the others are turned as before.
TEST_F(RotationWindowTest, OpeningLeavesTheListAndShowsWhyOtherFormatsStay) {
    test::writeFile(dir.file("c.png"), test::makeTestPng(40, 30));
    entries({"*a.JPG", "*b.jpeg", "*c.png", "d.jpg"});
    ASSERT_TRUE(window->prepare(dir.path(), &imageList));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(imageList.item(i)->isSelected(), i < 3) << i;
    EXPECT_EQ(window->selectedCount(), 3);
    EXPECT_TRUE(nextButton()->isEnabled());
    EXPECT_FALSE(backButton()->isEnabled());
    EXPECT_EQ(saveNextButton()->text(), QStringLiteral("保存して次へ"));
    EXPECT_EQ(counter(), QStringLiteral("001/003"));
    const QLabel* reason = test::child<QLabel>(*window, "LabelNotTurned");
    EXPECT_FALSE(reason->isVisibleTo(window.get()));
    const struct {
        const char* name;
        const char* reason;
    } rows[] = {{"b.jpeg", ".jpeg の画像は回転できません（.jpg のみ回転します）"},
                {"c.png", "PNG 画像は回転できません（.jpg のみ回転します）"}};
    for (const auto& row : rows) {
        nextButton()->click();
        EXPECT_EQ(window->panelText(3), QString::fromUtf8(row.name));
        EXPECT_TRUE(reason->isVisibleTo(window.get())) << row.name;
        EXPECT_EQ(reason->text(), QString::fromUtf8(row.reason));
        EXPECT_TRUE(previewImage()->isVisibleTo(window.get())) << row.name;
        EXPECT_FALSE(rotateRightButton()->isEnabled()) << row.name;
        EXPECT_FALSE(saveNextButton()->isEnabled()) << row.name;
    }
    EXPECT_EQ(counter(), QStringLiteral("003/003"));
    backButton()->click();
    backButton()->click();
    EXPECT_FALSE(reason->isVisibleTo(window.get()));
    EXPECT_TRUE(rotateRightButton()->isEnabled());
    EXPECT_TRUE(prompts.log.isEmpty()) << prompts.log.join('|').toStdString();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(imageList.item(i)->isSelected(), i < 3) << i;
}

// The "full colour only" warning stands beside a greyscale photograph only, and the save
// button's hint says what the button does there.
TEST_F(RotationWindowTest, WarningAndHintFollowThePhotograph) {
    test::writeTestJpeg(dir.file("grey.jpg"), 64, 48, true);
    entries({"*colour.jpg", "*grey.jpg"});
    ASSERT_TRUE(window->prepare(dir.path(), &imageList));
    const QLabel* warning = test::child<QLabel>(*window, "Label3");
    EXPECT_FALSE(warning->isVisibleTo(window.get()));
    EXPECT_TRUE(saveNextButton()->toolTip().contains(QStringLiteral("次の画像")));
    nextButton()->click();
    EXPECT_TRUE(warning->isVisibleTo(window.get()));
    EXPECT_EQ(warning->text(), QStringLiteral("フルカラー以外では使用できません"));
    EXPECT_TRUE(saveNextButton()->toolTip().contains(QStringLiteral("閉じます")));
    backButton()->click();
    EXPECT_FALSE(warning->isVisibleTo(window.get()));
}

TEST_F(RotationWindowTest, NothingSelectedIsNotOpened) {
    entries({"a.jpg", "b.png"});
    EXPECT_FALSE(window->prepare(dir.path(), &imageList));
    EXPECT_EQ(prompts.log, QStringList{"information: ファイルが選択されていません。"});
    // Only photographs it cannot turn: it says so, and they stay selected.
    prompts.log.clear();
    imageList.item(1)->setSelected(true);
    EXPECT_FALSE(window->prepare(dir.path(), &imageList));
    EXPECT_EQ(prompts.log, QStringList{"information: " + RotationWindow::noneTurnableMessage()});
    EXPECT_TRUE(imageList.item(1)->isSelected());
}

TEST_F(RotationWindowTest, PreviewFitsAndTurnsWithThePicture) {
    entries({"*a.jpg"}, 640, 480);
    ASSERT_TRUE(window->prepare(dir.path(), &imageList));
    EXPECT_EQ(previewImage()->size(), QSize(200, 150));
    rotateRightButton()->click();
    EXPECT_EQ(previewImage()->size(), QSize(150, 200));
    EXPECT_EQ(window->picture().width(), 480);
    rotateLeftAction()->trigger();  // the popup item turns as rotateLeftButton does
    EXPECT_EQ(previewImage()->size(), QSize(200, 150));
    EXPECT_EQ(RotationWindow::fitPreview(400, 165), QSize(200, 82));  // 82.5 to the even 82
    EXPECT_EQ(RotationWindow::fitPreview(400, 167), QSize(200, 84));  // 83.5 to 84
    EXPECT_EQ(RotationWindow::fitPreview(300, 300), QSize(200, 200));
    EXPECT_EQ(RotationWindow::fitPreview(480, 640), QSize(150, 200));
}

TEST_F(RotationWindowTest, RightClickOnThePreviewOpensThePopupMenu) {
    entries({"*a.jpg"});
    ASSERT_TRUE(window->prepare(dir.path(), &imageList));
    window->show();
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(20, 20),
                            previewImage()->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(previewImage(), &click);
    auto* menu = test::child<QMenu>(*window, "PopupMenu1");
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
    rotateRightAction()->trigger();
    EXPECT_EQ(window->picture().width(), 48);
    window->hide();
}

TEST_F(RotationWindowTest, RightTwiceThenSaveStoresAHalfTurn) {
    entries({"*a.jpg"});
    const QByteArray original = dir.read("a.jpg");
    const PixelImage decoded = RotationJob::loadPhotograph(dir.file("a.jpg"));
    ASSERT_TRUE(window->prepare(dir.path(), &imageList));
    rotateRightButton()->click();
    rotateRightButton()->click();
    EXPECT_TRUE(samePixels(window->picture(), RotationJob::turned(decoded, Turn::Half)));
    EXPECT_TRUE(samePixels(RotationJob::turned(window->picture(), Turn::Half), decoded));
    saveNextButton()->click();  // "保存して終了" on the only image
    EXPECT_TRUE(prompts.log.isEmpty()) << prompts.log.join('\n').toStdString();
    EXPECT_EQ(test::readFile(dir.file("_backup/a.jpg")), original);
    EXPECT_EQ(RotationJob::loadPhotograph(dir.file("a.jpg")).width(), 64);
    EXPECT_NE(dir.read("a.jpg"), original);
    EXPECT_EQ(saveNextButton()->text(), QStringLiteral("保存して次へ"));
    EXPECT_TRUE(nextButton()->isEnabled());
}

TEST_F(RotationWindowTest, TwoSavesKeepTheFirstBackup) {
    entries({"*a.jpg", "*b.jpg"});
    const QByteArray original = dir.read("a.jpg");
    ASSERT_TRUE(window->prepare(dir.path(), &imageList));
    rotateRightButton()->click();
    saveNextButton()->click();  // saves a.jpg, moves to b.jpg
    EXPECT_EQ(window->currentIndex(), 1);
    EXPECT_EQ(saveNextButton()->text(), QStringLiteral("保存して終了"));
    backButton()->click();  // back to a.jpg, as saved
    EXPECT_EQ(window->currentIndex(), 0);
    EXPECT_EQ(window->picture().width(), 48);
    rotateRightButton()->click();
    saveNextButton()->click();
    EXPECT_EQ(test::readFile(dir.file("_backup/a.jpg")), original);
    EXPECT_EQ(RotationJob::loadPhotograph(dir.file("a.jpg")).width(), 64);
    EXPECT_FALSE(QFileInfo::exists(dir.file("_backup/b.jpg")));
}

TEST_F(RotationWindowTest, BackupsOffMakesNoCopy) {
    settings.rotateBackup = "On";  // only exactly "on" counts
    entries({"*a.jpg"});
    ASSERT_TRUE(window->prepare(dir.path(), &imageList));
    saveNextButton()->click();
    EXPECT_FALSE(QFileInfo::exists(dir.file("_backup")));
}

TEST_F(RotationWindowTest, CounterShowsEveryDigitOfALongSelection) {
    const QByteArray jpeg = test::makeTestJpeg(8, 8);
    for (int i = 0; i < 1200; ++i) {
        const QString name = QStringLiteral("p%1.jpg").arg(i, 4, 10, QLatin1Char('0'));
        dir.write(name, jpeg);
        imageList.addItem(name);
    }
    imageList.selectAll();
    ASSERT_TRUE(window->prepare(dir.path(), &imageList));
    EXPECT_EQ(counter(), QStringLiteral("001/1200"));
    EXPECT_EQ(window->panelText(3), QStringLiteral("p0000.jpg"));  // the photograph on screen
    for (int i = 1; i < 1005; ++i) nextButton()->click();
    EXPECT_EQ(window->shownNumber(), 1005);
    EXPECT_EQ(counter(), QStringLiteral("1005/1200"));
    EXPECT_EQ(window->panelText(3), QStringLiteral("p1004.jpg"));
    backButton()->click();
    EXPECT_EQ(window->panelText(3), QStringLiteral("p1003.jpg"));
    window->show();
    QApplication::processEvents();
    test::expectReadable(window.get());
    window->hide();
}

TEST_F(RotationWindowTest, BackOnTheFirstImageOnlyDisablesBack) {
    entries({"*a.jpg", "x.jpg", "*b.jpg", "*c.jpg"});
    ASSERT_TRUE(window->prepare(dir.path(), &imageList));
    nextButton()->click();
    EXPECT_EQ(window->currentIndex(), 2);  // unselected entries are passed over
    EXPECT_EQ(counter(), QStringLiteral("002/003"));
    EXPECT_TRUE(backButton()->isEnabled());
    backButton()->click();
    EXPECT_EQ(window->currentIndex(), 0);
    rotateRightButton()->click();
    const PixelImage shown = window->picture();
    backButton()->click();
    EXPECT_FALSE(backButton()->isEnabled());
    EXPECT_EQ(window->currentIndex(), 0);
    EXPECT_EQ(counter(), QStringLiteral("001/003"));
    EXPECT_TRUE(window->picture().sharesStorageWith(shown));
    EXPECT_EQ(saveNextButton()->text(), QStringLiteral("保存して次へ"));
}

TEST_F(RotationWindowTest, BackupFailureSavesNothingAndKeepsTheImage) {
    entries({"*a.jpg", "*b.jpg"});
    dir.write("_backup", "a file in the way");
    const QByteArray original = dir.read("a.jpg");
    ASSERT_TRUE(window->prepare(dir.path(), &imageList));
    rotateRightButton()->click();
    saveNextButton()->click();
    EXPECT_EQ(prompts.log,
              QStringList{"error: バックアップファイルの書き込みでエラーが発生しました。"});
    EXPECT_EQ(dir.read("a.jpg"), original);
    EXPECT_EQ(window->currentIndex(), 0);
    EXPECT_EQ(window->picture().width(), 48);  // the turn is still there
}

TEST_F(RotationWindowTest, SaveFailureLeavesThePhotographAndKeepsTheImage) {
    settings.rotateBackup = "off";
    entries({"*a.jpg", "*b.jpg"}, 200, 150);
    const QByteArray original = dir.read("a.jpg");
    ASSERT_TRUE(window->prepare(dir.path(), &imageList));
    test::child<QPushButton>(*window, "Button2")->click();  // left
    {
        test::FullDisk full(1000);
        saveNextButton()->click();
    }
    EXPECT_EQ(prompts.log, QStringList{"error: ファイルの書き込みでエラーが発生しました。"});
    EXPECT_EQ(dir.read("a.jpg"), original);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"a.jpg", "b.jpg"}));
    EXPECT_EQ(window->currentIndex(), 0);
    saveNextButton()->click();  // room again
    EXPECT_EQ(window->currentIndex(), 1);
    EXPECT_EQ(RotationJob::loadPhotograph(dir.file("a.jpg")).width(), 150);
}

TEST_F(RotationWindowTest, SavesKeepTheMetadataAndTurnLosslesslyWhenTheBoxIsTicked) {
    for (const auto& [name, width, height, orientation] :
         {std::tuple{"a.jpg", 64, 48, 6}, std::tuple{"b.jpg", 60, 45, 1},
          std::tuple{"c.jpg", 60, 45, 1}}) {
        test::JpegLayout layout;
        layout.segments = test::cameraSegments(width, height, orientation);
        dir.write(name, test::makePhotoJpeg(width, height, layout));
    }
    test::JpegLayout odd;  // its EXIF pointer leads outside the block
    odd.segments = {{0xE1, test::handMadeExif({test::textEntry(0x0132, "2019:01:01 00:00:00")},
                                              {test::shortEntry(0xA002, 64)}, 0xFFFFFF00)}};
    dir.write("o.jpg", test::makePhotoJpeg(64, 48, odd));
    entries({"*o.jpg", "*a.jpg", "*b.jpg", "*c.jpg"});
    const JpegSegments before = JpegImage::readSegments(dir.read("a.jpg"));
    QCheckBox* lossless = test::child<QCheckBox>(*window, "CheckLossless");
    EXPECT_FALSE(lossless->isChecked());  // off by default
    lossless->click();
    EXPECT_EQ(settings.rotateLossless, QStringLiteral("on"));
    ASSERT_TRUE(window->prepare(dir.path(), &imageList));
    const QString shots = qEnvironmentVariable("TESSALY_SCREENSHOT_DIR");
    if (!shots.isEmpty()) window->show();
    rotateRightButton()->click();
    saveNextButton()->click();  // o.jpg: said in the status line
    auto* statusLine = test::child<QStatusBar>(*window, "StatusBar1");
    EXPECT_EQ(statusLine->currentMessage(),
              RotationJob::exifUnchangedMessage("o.jpg", {"ExifIFDPointer"}));
    if (!shots.isEmpty()) window->grab().save(shots + QStringLiteral("/rotation-warning.png"));
    rotateRightButton()->click();
    saveNextButton()->click();  // a.jpg: 64 x 48 turns losslessly
    EXPECT_EQ(statusLine->currentMessage(), QString());
    rotateRightButton()->click();
    saveNextButton()->click();  // b.jpg: 60 x 45 does not; the status line says so
    EXPECT_EQ(window->panelText(3), RotationWindow::reencodedNotice("b.jpg"));
    EXPECT_TRUE(prompts.log.isEmpty());
    if (!shots.isEmpty()) {
        window->show();
        QApplication::processEvents();
        window->grab().save(shots + QStringLiteral("/rotation.png"));
    }
    rotateRightButton()->click();
    saveNextButton()->click();  // c.jpg neither; the batch ends with one notice for both
    EXPECT_EQ(prompts.log, QStringList{"information: " + RotationWindow::reencodedSummary(2)});
    EXPECT_EQ(prompts.log[0],
              "information: 2 枚は無劣化では回転できない大きさのため、圧縮し直して保存しました。");
    const PixelImage saved = RotationJob::loadPhotograph(dir.file("a.jpg"));
    EXPECT_EQ(saved.width(), 64);  // shown 48 x 64 (orientation 6), turned once more
    const JpegSegments after = JpegImage::readSegments(dir.read("a.jpg"));
    ASSERT_EQ(after.list.size(), before.list.size());
    for (size_t i = 0; i < after.list.size(); ++i) {
        const QByteArray& data = after.list[i].data;
        if (data.startsWith("Exif")) {
            EXPECT_EQ(exifOrientation(reinterpret_cast<const uchar*>(data.constData()),
                                      size_t(data.size())),
                      1);
        } else {
            EXPECT_EQ(data, before.list[i].data);
        }
    }
}

// A turn not yet saved is not dropped by 終了, Esc or the close box without asking; a picture
// as it was loaded closes without a question.
TEST_F(RotationWindowTest, ClosingWithAnUnsavedTurnAsks) {
    using Answer = Prompts::Answer;
    const struct {
        const char* how;
        bool turned;
        Answer answer;
        bool asked;
        bool saved;
        bool closed;
    } rows[] = {{"終了", true, Answer::Yes, true, true, true},
                {"Esc", true, Answer::No, true, false, true},
                {"close box", true, Answer::Cancel, true, false, false},
                {"終了", false, Answer::Cancel, false, false, true}};
    entries({"*a.jpg"});
    const QByteArray original = dir.read("a.jpg");
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.how) + (row.turned ? " turned" : " as loaded"));
        dir.write("a.jpg", original);
        ASSERT_TRUE(window->prepare(dir.path(), &imageList));
        window->show();
        prompts.log.clear();
        prompts.choices = {row.answer};
        if (row.turned) rotateRightButton()->click();
        if (QString(row.how) == "終了") {
            test::child<QPushButton>(*window, "Button5")->click();
        } else if (QString(row.how) == "Esc") {
            QTest::keyClick(window.get(), Qt::Key_Escape);
        } else {
            window->close();
        }
        EXPECT_EQ(prompts.log,
                  row.asked ? QStringList{"question3: 変更を保存しますか？"} : QStringList());
        EXPECT_EQ(dir.read("a.jpg") != original, row.saved);
        EXPECT_EQ(window->isVisible(), !row.closed);
        window->hide();
    }
}

// Enter presses the button that has the focus; in the quality box, the save button.
TEST_F(RotationWindowTest, EnterPressesTheFocusedButton) {
    entries({"*a.jpg", "*b.jpg"});
    ASSERT_TRUE(window->prepare(dir.path(), &imageList));
    window->show();
    QApplication::setActiveWindow(window.get());
    rotateRightButton()->setFocus();
    QTest::keyClick(rotateRightButton(), Qt::Key_Return);
    EXPECT_EQ(previewImage()->size(), QSize(150, 200));
    qualityEdit()->setFocus();
    QTest::keyClick(qualityEdit(), Qt::Key_Enter);
    EXPECT_EQ(window->currentIndex(), 1);
    EXPECT_EQ(RotationJob::loadPhotograph(dir.file("a.jpg")).width(), 48);
}

TEST_F(RotationWindowTest, UnreadableImageCannotBeSavedOver) {
    entries({"*a.jpg"});
    dir.write("b.jpg", "not a photograph");
    entries({"*b.jpg", "*c.jpg"});
    ASSERT_TRUE(window->prepare(dir.path(), &imageList));
    nextButton()->click();
    ASSERT_EQ(prompts.log.size(), 1);
    EXPECT_TRUE(prompts.log[0].startsWith("error: "));
    EXPECT_FALSE(window->hasPicture());
    EXPECT_FALSE(saveNextButton()->isEnabled());
    saveNextButton()->click();
    EXPECT_EQ(dir.read("b.jpg"), QByteArray("not a photograph"));
    nextButton()->click();  // the next one loads again
    EXPECT_TRUE(window->hasPicture());
    EXPECT_TRUE(saveNextButton()->isEnabled());
}

}  // namespace
}  // namespace tessaly
