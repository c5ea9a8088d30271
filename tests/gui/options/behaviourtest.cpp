// Enabling rules, choosers, track bars, OK, Cancel and the close box.
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QTabWidget>
#include <QTimer>

#include "core/settings/catalogsettings.h"
#include "gui/options/nametest.h"
#include "gui/options/storabletext.h"
#include "optionsfixture.h"

namespace tessaly::test {
namespace {

TEST_F(OptionsTest, EnablingRulesFollowTheirBoxesOnLoadAndOnClick) {
    dialog();
    const auto enabled = [this](const char* name) { return control<QWidget>(name)->isEnabled(); };
    EXPECT_FALSE(enabled("Edit2"));
    EXPECT_FALSE(enabled("Button5"));
    box("Check3")->click();
    EXPECT_TRUE(enabled("Edit2"));
    EXPECT_TRUE(enabled("Button5"));

    EXPECT_FALSE(enabled("SpinEdit3"));
    box("Check7")->click();
    EXPECT_TRUE(enabled("SpinEdit3"));

    EXPECT_TRUE(enabled("Combo2"));
    box("fontsetbox")->click();
    EXPECT_FALSE(enabled("Combo2"));

    EXPECT_TRUE(enabled("Combo3"));
    EXPECT_TRUE(enabled("Button7"));
    box("TtableBox")->click();
    EXPECT_FALSE(enabled("Combo3"));
    EXPECT_FALSE(enabled("Button7"));

    EXPECT_FALSE(enabled("SpinSX"));
    box("s_maxcheck")->click();
    EXPECT_TRUE(enabled("SpinSX"));
    EXPECT_TRUE(enabled("SpinSY"));

    EXPECT_FALSE(enabled("headertext"));
    box("headerBox")->click();
    EXPECT_TRUE(enabled("headertext"));

    for (const char* name : {"GroupBox2", "Edit4", "Edit5", "HBar", "VBar"}) {
        EXPECT_FALSE(enabled(name)) << name;
    }
    box("CheckBox2")->click();
    for (const char* name : {"GroupBox2", "Edit4", "Edit5", "HBar", "VBar"}) {
        EXPECT_TRUE(enabled(name)) << name;
    }
}

TEST_F(OptionsTest, FooterLinkFieldNeedsAUserFooterAndTheLinkBox) {
    dialog();
    EXPECT_FALSE(edit("footertext")->isEnabled());
    EXPECT_FALSE(box("footerlinkbox")->isEnabled());
    EXPECT_FALSE(edit("footerlink")->isEnabled());
    box("footerbox")->click();
    EXPECT_TRUE(edit("footertext")->isEnabled());
    EXPECT_TRUE(box("footerlinkbox")->isEnabled());
    EXPECT_FALSE(edit("footerlink")->isEnabled());
    box("footerlinkbox")->click();
    EXPECT_TRUE(edit("footerlink")->isEnabled());
    box("footerbox")->click();
    EXPECT_FALSE(edit("footerlink")->isEnabled());
    EXPECT_TRUE(box("footerlinkbox")->isChecked());
}

TEST_F(OptionsTest, ScriptPopupNeedsTheNewWindowBox) {
    settings.openInNewWindow = QStringLiteral("on");
    settings.useScriptPopup = QStringLiteral("on");
    dialog();
    EXPECT_TRUE(box("Check6")->isEnabled());
    box("Check5")->click();
    EXPECT_TRUE(box("Check6")->isChecked());
    EXPECT_FALSE(box("Check6")->isEnabled());
    dialog().storeAndClose();
    EXPECT_EQ(settings.openInNewWindow, "off");
    EXPECT_EQ(settings.useScriptPopup, "off");
    EXPECT_TRUE(box("Check6")->isChecked());
}

TEST_F(OptionsTest, FolderPickerFillsTheStartFolderAndItsCancelEmptiesIt) {
    settings.startFolder = QStringLiteral("/old");
    dialog();
    pickerAnswer = QStringLiteral("/new");
    click("Button1");
    EXPECT_EQ(edit("Edit1")->text(), "/new");
    pickerAnswer.clear();
    click("Button1");
    EXPECT_EQ(edit("Edit1")->text(), "");
    EXPECT_EQ(pickerStarts, (QStringList{"/old", "/new"}));
}

TEST_F(OptionsTest, ProgramChoosersKeepTheFieldWhenCancelled) {
    settings.viewerPath = QStringLiteral("/usr/bin/old");
    dialog();
    prompts.fileNames = {QStringLiteral("/usr/bin/browser")};
    click("Button3");
    EXPECT_EQ(edit("Edit6")->text(), "/usr/bin/browser");
    click("Button2");
    EXPECT_EQ(edit("Edit3")->text(), "/usr/bin/old");
    EXPECT_EQ(prompts.log, (QStringList{"file: ファイル選択||", "file: ファイル選択||"}));
}

TEST_F(OptionsTest, BackgroundMustBeAJpgOrGif) {
    settings.useBackgroundImage = QStringLiteral("on");
    settings.backgroundFile = QStringLiteral("/a/old.jpg");
    dialog();
    click("Button5");  // cancelled
    EXPECT_EQ(edit("Edit2")->text(), "/a/old.jpg");
    prompts.fileNames = {QStringLiteral("/a/Back.GIF"), QStringLiteral("/a/back.jpeg")};
    click("Button5");
    EXPECT_EQ(edit("Edit2")->text(), "/a/Back.GIF");
    click("Button5");
    EXPECT_EQ(edit("Edit2")->text(), "");
    EXPECT_TRUE(box("Check3")->isChecked());
    EXPECT_EQ(prompts.log.last(),
              "information: 背景は「jpg」か「gif」ファイルを設定してください。");
}

TEST_F(OptionsTest, ColourChoosersStartAtTheSwatchAndKeepItWhenCancelled) {
    dialog();
    prompts.colours = {std::optional<int>(0x0000FF), std::nullopt};
    click("Button4");
    EXPECT_EQ(swatch("Panel2")->colour(), 0x0000FF);
    click("Button6");
    EXPECT_EQ(swatch("Panel3")->colour(), 0);
    EXPECT_EQ(prompts.log, (QStringList{"colour: 8421504", "colour: 0"}));
}

TEST_F(OptionsTest, UpDownShowsItsPositionWithinItsRange) {
    settings.rotateQuality = 99;
    dialog();
    auto* upDown = control<StepButtons>("UpDown1");
    upDown->upButton()->click();
    EXPECT_EQ(edit("Edit7")->text(), "100");
    upDown->upButton()->click();
    EXPECT_EQ(edit("Edit7")->text(), "100");
    upDown->downButton()->click();
    EXPECT_EQ(edit("Edit7")->text(), "99");
    // The field takes the arrow keys as well, so the quality is set without a mouse.
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(edit("Edit7"), &down);
    EXPECT_EQ(edit("Edit7")->text(), "98");
    EXPECT_EQ(upDown->position(), 98);
}

TEST_F(OptionsTest, TrackBarsMoveTheMainWindowOnlyWhenTheUserMovesThem) {
    settings.windowLeft = 20;
    settings.windowTop = 30;
    dialog();
    box("CheckBox2")->click();
    bar("HBar")->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(mainWindow.pos(), QPoint(30, 30));
    EXPECT_EQ(edit("Edit4")->text(), "30");
    bar("VBar")->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(mainWindow.pos(), QPoint(30, 20));

    mainWindow.move(60, 70);
    dialog().syncPositionFromMainWindow();
    EXPECT_EQ(bar("HBar")->value(), 60);
    EXPECT_EQ(edit("Edit5")->text(), "70");
    dialog().cancelAndClose();  // does not move the main window back
    EXPECT_EQ(mainWindow.pos(), QPoint(60, 70));
    EXPECT_EQ(bar("HBar")->value(), 20);
    EXPECT_TRUE(box("CheckBox2")->isChecked());
}

TEST_F(OptionsTest, OkTakesTheTrackBarsOrTheCurrentPosition) {
    dialog();
    box("CheckBox2")->click();
    bar("HBar")->setValue(100);
    bar("VBar")->setValue(50);
    mainWindow.move(300, 40);  // dragged by the user afterwards
    box("CheckBox2")->click();
    dialog().storeAndClose();
    EXPECT_EQ(settings.windowLeft, 300);
    EXPECT_EQ(settings.windowTop, 40);

    dialog().syncPositionFromMainWindow();
    box("CheckBox2")->click();
    bar("HBar")->setValue(110);
    bar("VBar")->setValue(60);
    mainWindow.move(5, 5);
    dialog().storeAndClose();
    EXPECT_EQ(settings.windowLeft, 110);
    EXPECT_EQ(settings.windowTop, 60);
    EXPECT_EQ(mainWindow.pos(), QPoint(110, 60));
    EXPECT_EQ(loadSettings(dir.path()).windowLeft, 110);
}

TEST_F(OptionsTest, OkSavesBeforeItMovesTheMainWindowAndHandsOverTheQuality) {
    settings.rotateQuality = 60;
    dialog();
    bool savedFirst = false;
    dialog().setRotationQualityHandler([&](int quality) {
        savedFirst = QFileInfo::exists(settingsFilePath(dir.path()));
        qualities << quality;
    });
    control<StepButtons>("UpDown1")->upButton()->click();
    dialog().storeAndClose();
    EXPECT_TRUE(savedFirst);
    EXPECT_EQ(qualities, QList<int>{61});
    EXPECT_EQ(settings.rotateQuality, 61);
    EXPECT_EQ(dialog().result(), QDialog::Accepted);
}

TEST_F(OptionsTest, OpenModalSyncsTheTrackBarsAndReturnsTheButtonResult) {
    dialog();
    mainWindow.move(45, 55);
    QTimer::singleShot(0, [this] { click("optOK"); });
    EXPECT_EQ(dialog().openModal(), QDialog::Accepted);
    EXPECT_EQ(edit("Edit4")->text(), "45");
    EXPECT_EQ(edit("Edit5")->text(), "55");
    QTimer::singleShot(0, [this] { click("optCansel"); });
    EXPECT_EQ(dialog().openModal(), QDialog::Rejected);
}

// ---- the name test ----

class NameTestOk : public OptionsTest {
protected:
    void SetUp() override {
        saveSettings(settings);
        oldFile = readFile(settingsFilePath(dir.path()));
        dialog();
        spin("SpinEdit1")->setValue(200);
        edit("headertext")->setText(QStringLiteral("新しい"));
    }
    // OK with these names was refused with the message; the file is unchanged.
    void expectRefused(const QString& folder, const QString& file, const QString& message) {
        edit("htmlfoldabox")->setText(folder);
        edit("htmlfilebox")->setText(file);
        prompts.log.clear();
        dialog().storeAndClose();
        EXPECT_EQ(prompts.log, QStringList{"information: " + message}) << folder.toStdString();
        EXPECT_NE(dialog().result(), QDialog::Accepted);
        EXPECT_EQ(readFile(settingsFilePath(dir.path())), oldFile);
        EXPECT_EQ(settings.thumbWidth, "110");  // the record changes only with the file
        EXPECT_EQ(settings.headerText, "");
        EXPECT_EQ(settings.htmlFileName, "index.htm");
    }
    QByteArray oldFile;
};

TEST_F(NameTestOk, RefusesFolderNamesThatCannotBeOneFolder) {
    const QString message = NameTest::badFolderMessage();
    EXPECT_EQ(message, "フォルダ名が不正です。\n指定し直してください。");
    expectRefused(QStringLiteral("a/b"), QStringLiteral("index.htm"), message);
    expectRefused(QStringLiteral(".."), QStringLiteral("index.htm"), message);
    expectRefused(QStringLiteral("../../x"), QStringLiteral("index.htm"), message);
    expectRefused(QStringLiteral("a\\b"), QStringLiteral("index.htm"), message);
    expectRefused(QStringLiteral("bad") + QChar(0), QStringLiteral("index.htm"), message);
    expectRefused(QString(300, QLatin1Char('x')), QStringLiteral("index.htm"), message);
    EXPECT_FALSE(QFileInfo::exists(dir.file("x")));
}

TEST_F(NameTestOk, RefusesFileNamesThatCannotBeOneFile) {
    const QString message = NameTest::badFileMessage();
    EXPECT_EQ(message, "ファイル名が不正です。\n指定し直してください。");
    expectRefused(QStringLiteral("htm_image"), QString(), message);
    expectRefused(QStringLiteral("htm_image"), QStringLiteral("sub/index.htm"), message);
    expectRefused(QStringLiteral("htm_image"), QStringLiteral(".."), message);
    expectRefused(QStringLiteral("htm_image"), QString(300, QLatin1Char('y')), message);
    // A refused file name leaves no test folder behind.
    EXPECT_FALSE(QFileInfo::exists(dir.file("temp/htm_image")));
}

TEST_F(NameTestOk, RefusesPrefixesThatWouldLeaveTheThumbnailFolder) {
    const QString message = NameTest::badPrefixMessage();
    for (const QString& prefix :
         {QStringLiteral("../"), QStringLiteral(".."), QStringLiteral("a\\")}) {
        edit("s_headerbox")->setText(prefix);
        expectRefused(QStringLiteral("htm_image"), QStringLiteral("index.htm"), message);
        EXPECT_EQ(settings.thumbPrefix, "");
    }
}

TEST_F(NameTestOk, AnEmptyFolderNameTestsTheScratchFolderItself) {
    edit("htmlfoldabox")->clear();
    dialog().storeAndClose();
    EXPECT_EQ(dialog().result(), QDialog::Accepted);
    EXPECT_EQ(settings.thumbFolderName, "");
    EXPECT_TRUE(QFileInfo(dir.file("temp")).isDir());
    EXPECT_TRUE(QDir(dir.file("temp")).isEmpty());
}

TEST_F(NameTestOk, PassingNamesLeaveOnlyAnEmptyScratchFolder) {
    edit("htmlfoldabox")->setText(QStringLiteral("サムネイル"));
    edit("htmlfilebox")->setText(QStringLiteral("目次.htm"));
    dialog().storeAndClose();
    EXPECT_EQ(dialog().result(), QDialog::Accepted);
    EXPECT_TRUE(QDir(dir.file("temp")).isEmpty());
    EXPECT_EQ(loadSettings(dir.path()).thumbFolderName, "サムネイル");
}

TEST_F(NameTestOk, AScratchFolderThatCannotBeMadeIsReported) {
    writeFile(dir.file("temp"), "not a folder");
    dialog().storeAndClose();
    ASSERT_EQ(prompts.log.size(), 1);
    EXPECT_TRUE(prompts.log[0].startsWith("error: ")) << prompts.log[0].toStdString();
    EXPECT_EQ(readFile(settingsFilePath(dir.path())), oldFile);
}

// ---- saving failures, Cancel and the close box ----

TEST_F(OptionsTest, AFailedSaveIsReportedAndKeepsTheDialogOpen) {
    dialog();
    QDir().mkdir(settingsFilePath(dir.path()));  // a folder where the file should go
    const QPoint before = mainWindow.pos();
    box("CheckBox2")->click();
    bar("HBar")->setValue(90);
    dialog().storeAndClose();
    ASSERT_EQ(prompts.log.size(), 1);
    EXPECT_TRUE(prompts.log[0].startsWith("error: "));
    EXPECT_NE(dialog().result(), QDialog::Accepted);
    EXPECT_TRUE(qualities.isEmpty());
    EXPECT_EQ(settings.windowLeft, 0);  // the record changes only with the file
    EXPECT_EQ(mainWindow.pos().y(), before.y());
}

TEST_F(OptionsTest, AValueTheSettingsFileCannotHoldIsReported) {
    dialog();
    box("headerBox")->click();
    edit("headertext")->setText(QStringLiteral("雪☃"));
    dialog().storeAndClose();
    ASSERT_EQ(prompts.log.size(), 1);
    EXPECT_TRUE(prompts.log[0].startsWith("error: 「ヘッダーのコメント」"));
    EXPECT_TRUE(prompts.log[0].contains("☃"));
    EXPECT_EQ(edit("headertext")->text(), "雪☃");  // editable: the user changes it
    EXPECT_FALSE(QFileInfo::exists(settingsFilePath(dir.path())));
    EXPECT_NE(dialog().result(), QDialog::Accepted);
}

// A path Shift-JIS cannot hold (a Linux path with "é") never blocks saving the rest.
TEST_F(OptionsTest, PathsTheSettingsFileCannotHoldDoNotBlockTheOtherSettings) {
    settings.viewerPath = QStringLiteral("/opt/café/viewer");  // as from an older file
    settings.backgroundFile = QStringLiteral("/home/me/fond-été.jpg");
    dialog();
    ASSERT_FALSE(box("Check3")->isChecked());  // so Edit2 and its chooser are disabled

    // Choosers refuse such a path, naming the field and the character.
    prompts.fileNames = {QStringLiteral("/opt/navigateur-é")};
    click("Button3");
    EXPECT_EQ(edit("Edit6")->text(), "");
    ASSERT_EQ(prompts.log.size(), 2);
    EXPECT_TRUE(prompts.log[1].startsWith("information: 「ブラウザ」"))
        << prompts.log[1].toStdString();
    EXPECT_TRUE(prompts.log[1].contains("U+00E9"));

    // A start folder falls back to its nearest ancestor that can be stored.
    pickerAnswer = QStringLiteral("/home/me/café/2024");
    click("Button1");
    EXPECT_EQ(edit("Edit1")->text(), "/home/me");
    EXPECT_TRUE(prompts.log.last().startsWith("information: 「起動フォルダ」"));

    // OK names the first path that cannot be stored, shows it emptied and saves nothing; each
    // further OK clears the next one, then everything else is saved.
    prompts.log.clear();
    spin("SpinEdit1")->setValue(222);
    auto* pages = control<QTabWidget>("PageControl1");
    dialog().storeAndClose();
    ASSERT_EQ(prompts.log.size(), 1);
    EXPECT_TRUE(prompts.log[0].startsWith("error: 「背景の画像ファイル」"));
    EXPECT_TRUE(prompts.log[0].contains("é"));
    EXPECT_EQ(edit("Edit2")->text(), "");
    EXPECT_TRUE(pages->currentWidget()->isAncestorOf(edit("Edit2")));
    EXPECT_EQ(settings.thumbWidth, "110");
    EXPECT_FALSE(QFileInfo::exists(settingsFilePath(dir.path())));
    dialog().storeAndClose();
    EXPECT_TRUE(prompts.log.last().startsWith("error: 「外部ビュアー」"));
    EXPECT_EQ(edit("Edit3")->text(), "");
    dialog().storeAndClose();
    EXPECT_EQ(prompts.log.size(), 2);
    EXPECT_EQ(dialog().result(), QDialog::Accepted);
    const CatalogSettings saved = loadSettings(dir.path());
    EXPECT_EQ(saved.startFolder, "/home/me");
    EXPECT_EQ(saved.thumbWidth, "222");
    EXPECT_EQ(saved.viewerPath, "");
    EXPECT_EQ(saved.backgroundFile, "");
}

TEST(StorableText, NearestStorableFolder) {
    const std::pair<const char*, const char*> rows[] = {
        {"/home/me/photos", "/home/me/photos"},
        {"/home/me/café/2024", "/home/me"},
        {"/é", "/"},
        {"/home/me/写真〜/a", "/home/me"},  // wave dash
        {"", ""},
        {"é/x", ""}};
    for (const auto& [folder, expected] : rows) {
        EXPECT_EQ(StorableText::nearestStorableFolder(QString::fromUtf8(folder)),
                  QString::fromUtf8(expected))
            << folder;
    }
}

TEST_F(OptionsTest, CancelReloadsEveryControlFromTheRecord) {
    settings = unusualSettings(dir.path());
    dialog();
    const CatalogSettings before = settings;
    for (QLineEdit* field : dialog().findChildren<QLineEdit*>()) {
        if (!field->objectName().isEmpty()) field->setText(QStringLiteral("changed"));
    }
    for (QCheckBox* check : dialog().findChildren<QCheckBox*>()) check->toggle();
    for (QComboBox* list : dialog().findChildren<QComboBox*>()) list->setCurrentIndex(0);
    for (ClampingSpinBox* number : dialog().findChildren<ClampingSpinBox*>()) {
        number->setValue(number->maximum());
    }
    for (ColorSwatch* colour : dialog().findChildren<ColorSwatch*>()) colour->setColour(1);
    control<StepButtons>("UpDown1")->upButton()->click();
    dialog().cancelAndClose();
    EXPECT_EQ(dialog().result(), QDialog::Rejected);
    EXPECT_EQ(settings, before);
    // Every control shows the record again: OK now stores exactly the record.
    mainWindow.move(before.windowLeft, before.windowTop);
    dialog().storeAndClose();
    EXPECT_EQ(settings, before);
}

TEST_F(OptionsTest, ANewStartFolderSurvivesALaterCancel) {
    dialog();
    pickerAnswer = QStringLiteral("/first");
    click("Button1");
    dialog().storeAndClose();
    pickerAnswer = QStringLiteral("/second");
    click("Button1");
    dialog().cancelAndClose();
    EXPECT_EQ(edit("Edit1")->text(), "/first");
}

TEST_F(OptionsTest, TheCloseBoxNeitherStoresNorReloads) {
    dialog().show();
    edit("htmlfilebox")->setText(QStringLiteral("other.htm"));
    dialog().close();
    EXPECT_EQ(settings.htmlFileName, "index.htm");
    EXPECT_EQ(edit("htmlfilebox")->text(), "other.htm");
    EXPECT_FALSE(QFileInfo::exists(settingsFilePath(dir.path())));
}

}  // namespace
}  // namespace tessaly::test
