// Loading the controls from the record and storing them back with OK.
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTabWidget>

#include "core/settings/catalogsettings.h"
#include "optionsfixture.h"
#include "support/settingsfixture.h"

namespace tessaly::test {
namespace {

// Every stored setting the dialog edits is bound to one control of a page, under the form name
// listed in tests/data/settings/controls.txt ("key objectName" a line, in file order), and a
// record the program wrote comes back through the dialog to the same file, byte for byte.
TEST_F(OptionsTest, EverySettingReachesItsControlAndBackToTheSameFile) {
    settings = unusualSettings(dir.path());
    EXPECT_EQ(dialog().bindingProblems(), QStringList());
    auto* pages = control<QTabWidget>("PageControl1");
    QStringList names;
    for (const SettingRow& row : settingRows()) {
        QWidget* edited = dialog().binding().control(row);
        if (!row.inOptions) {
            EXPECT_FALSE(edited) << row.key;  // kept by the program, not the dialog
            continue;
        }
        ASSERT_TRUE(edited) << row.key;
        names << QString::fromUtf8(row.key) + QLatin1Char(' ') + edited->objectName();
        EXPECT_EQ(control<QWidget>(edited->objectName().toLatin1().constData()), edited);
        int page = 0;
        while (page < pages->count() && !pages->widget(page)->isAncestorOf(edited)) ++page;
        EXPECT_LT(page, pages->count()) << row.key;
    }
    const QString listed = QString::fromUtf8(
        readFile(projectFolder() + QStringLiteral("/tests/data/settings/controls.txt")));
    EXPECT_EQ(names, listed.split(QLatin1Char('\n'), Qt::SkipEmptyParts));
    CatalogSettings defaults;
    defaults.useBackgroundImage = QStringLiteral("off");  // the dialog writes a word
    for (const CatalogSettings& record : {unusualSettings(dir.path()), defaults}) {
        settings = record;
        settings.appFolder = dir.path();
        saveSettings(settings);
        const QByteArray written = readFile(settingsFilePath(dir.path()));
        option.reset();
        dialog().storeAndClose();
        EXPECT_EQ(sjisLines(readFile(settingsFilePath(dir.path()))), sjisLines(written));
        EXPECT_EQ(readFile(settingsFilePath(dir.path())), written);
    }
}

TEST_F(OptionsTest, DialogStandsBelowAndRightOfTheMainWindow) {
    settings.windowLeft = 120;
    settings.windowTop = 70;
    EXPECT_EQ(dialog().pos(), QPoint(170, 165));
}

TEST_F(OptionsTest, DefaultsFillTheControls) {
    dialog();
    EXPECT_EQ(edit("Edit1")->text(), "");
    EXPECT_EQ(edit("htmlfilebox")->text(), "index.htm");
    EXPECT_EQ(edit("htmlfoldabox")->text(), "htm_image");
    EXPECT_EQ(combo("Combo1")->currentIndex(), 6);
    EXPECT_EQ(combo("Combo2")->currentText(), "ＭＳ Ｐ明朝");
    EXPECT_EQ(combo("Combo3")->currentIndex(), 7);
    EXPECT_EQ(spin("SpinEdit1")->value(), 110);
    EXPECT_EQ(spin("SpinEdit2")->value(), 150);
    EXPECT_EQ(spin("SpinEdit3")->value(), 3);
    EXPECT_EQ(spin("SpinEdit4")->value(), 80);
    EXPECT_EQ(spin("SpinSX")->value(), 1000);
    EXPECT_EQ(spin("SpinSY")->value(), 750);
    EXPECT_EQ(spin("tablewidthbox")->value(), 1);
    EXPECT_EQ(edit("Edit7")->text(), "95");
    EXPECT_EQ(control<StepButtons>("UpDown1")->position(), 95);
    EXPECT_EQ(swatch("Panel2")->colour(), 8421504);
    EXPECT_EQ(swatch("Panel3")->colour(), 0);
    EXPECT_EQ(swatch("Panel4")->colour(), 16777215);
    // An empty switch fails the "on" test and passes the "differs from off" one.
    EXPECT_FALSE(box("Check3")->isChecked());
    EXPECT_TRUE(box("CheckBox1")->isChecked());
    EXPECT_FALSE(box("Check5")->isChecked());
    EXPECT_TRUE(box("fontsetbox")->isChecked());
    EXPECT_TRUE(box("headerBox")->isChecked());
    EXPECT_TRUE(box("TtableBox")->isChecked());
    EXPECT_TRUE(box("CheckBox2")->isChecked());
}

// A switch is ticked exactly when the pages take it as on, and OK stores it as a word: an
// empty or hand-edited value of a switch the pages read as "on" shows unticked and is stored
// "off".
TEST_F(OptionsTest, SwitchesShowAsThePagesReadThemAndStoreAWord) {
    for (const QString& value : {QString(), QStringLiteral("yes")}) {
        option.reset();
        settings = CatalogSettings();
        settings.appFolder = dir.path();
        for (const SettingRow& row : settingRows()) {
            if (row.type == SettingType::Switch) row.setValueText(settings, value);
        }
        const CatalogSettings pages = settings;
        for (const SettingRow& row : settingRows()) {
            if (row.type != SettingType::Switch || !row.inOptions) continue;
            auto* ticked = qobject_cast<QCheckBox*>(dialog().binding().control(row));
            ASSERT_TRUE(ticked) << row.key;
            EXPECT_EQ(ticked->isChecked(), pages.isOn(row.text)) << row.key;
        }
        dialog().storeAndClose();
        for (const SettingRow& row : settingRows()) {
            if (row.type != SettingType::Switch || !row.inOptions) continue;
            const bool on = row.rule == SwitchRule::OnUnlessOff;
            EXPECT_EQ(row.valueText(settings), on ? "on" : "off") << row.key;
        }
    }
    EXPECT_EQ(settings.titleBold, "off");
    EXPECT_EQ(settings.makeSlideShow, "off");
}

TEST_F(OptionsTest, OkWithUntouchedDefaultsKeepsTheRecordAndWritesAFileThatReadsBackEqual) {
    const CatalogSettings before = settings;
    dialog().storeAndClose();
    EXPECT_EQ(dialog().result(), QDialog::Accepted);
    // The empty background switch is stored as a word now.
    CatalogSettings expected = before;
    expected.useBackgroundImage = QStringLiteral("off");
    EXPECT_EQ(settings, expected);
    const QStringList lines = sjisLines(readFile(settingsFilePath(dir.path())));
    EXPECT_EQ(lines.size(), defaultSettingsLines().size());
    EXPECT_EQ(loadSettings(dir.path()), settings);
    EXPECT_TRUE(prompts.log.isEmpty()) << prompts.log.join('\n').toStdString();
}

TEST_F(OptionsTest, EveryUnusualValueSurvivesLoadAndOk) {
    settings = unusualSettings(dir.path());
    const CatalogSettings before = settings;
    dialog().storeAndClose();
    EXPECT_TRUE(prompts.log.isEmpty()) << prompts.log.join('\n').toStdString();
    EXPECT_EQ(settings, before);
    EXPECT_EQ(loadSettings(dir.path()), before);
    EXPECT_EQ(qualities, QList<int>{77});
}

TEST_F(OptionsTest, EveryControlReachesItsField) {
    const CatalogSettings target = unusualSettings(dir.path());
    dialog();
    pickerAnswer = target.startFolder;
    click("Button1");
    pickerAnswer = target.publishFolder;
    click("PublishFolderButton");
    box("Check3")->setChecked(true);
    prompts.fileNames = {target.backgroundFile, target.browserPath, target.viewerPath};
    click("Button5");
    click("Button3");
    click("Button2");
    prompts.colours = {target.backgroundColor, 255, 65280};
    click("Button4");
    click("Button6");
    click("Button7");
    mainWindow.move(target.windowLeft, target.windowTop);
    for (int i = 95; i > 77; --i) control<StepButtons>("UpDown1")->downButton()->click();
    box("CheckBox1")->setChecked(false);
    combo("Combo1")->setCurrentIndex(2);
    combo("Combo2")->setCurrentIndex(0);
    combo("Combo3")->setCurrentIndex(4);
    combo("pageStyleBox")->setCurrentIndex(1);
    combo("WebCopyLocation")->setCurrentIndex(1);  // shown "残す", stored "keep"
    for (const char* name :
         {"CheckBox3", "CheckBox4", "Check5", "Check6", "Check7", "Checkfilter", "veltra_check",
          "footerlinkbox", "s_filebox", "s_maxcheck", "WebCopyCheck", "PublishZipCheck"}) {
        box(name)->setChecked(true);
    }
    for (const char* name : {"fontsetbox", "headerBox", "footerbox", "TtableBox"}) {
        box(name)->setChecked(false);
    }
    const std::pair<const char*, int> numbers[] = {
        {"SpinEdit1", 120}, {"SpinEdit2", 90}, {"SpinEdit3", 7},     {"SpinEdit4", 88},
        {"SpinSX", 1280},   {"SpinSY", 960},   {"tablewidthbox", 4}, {"WebCopySide", 1600}};
    for (const auto& [name, value] : numbers) spin(name)->setValue(value);
    const std::pair<const char*, QString> texts[] = {
        {"htmlfilebox", target.htmlFileName}, {"htmlfoldabox", target.thumbFolderName},
        {"s_headerbox", target.thumbPrefix},  {"headertext", target.headerText},
        {"footertext", target.footerText},    {"footerlink", target.footerLinkUrl}};
    for (const auto& [name, text] : texts) edit(name)->setText(text);
    dialog().storeAndClose();
    EXPECT_TRUE(prompts.log.size() == 6) << prompts.log.join('\n').toStdString();
    EXPECT_EQ(settings, target);
}

TEST_F(OptionsTest, ListsSelectByTheirRules) {
    // A width selects the entry it names in hundreds, rounded half to even; the eighth entry
    // is "標準", so 750 to 850 select it. No entry: no selection.
    const std::pair<const char*, const char*> widths[] = {
        {"300", "300"},  {"250", "200"},   {"350", "400"},  {"749", "700"},
        {"750", "標準"}, {"800", "標準"},  {"849", "標準"}, {"850", "標準"},
        {"851", ""},     {"標準", "標準"}, {"幅", ""},      {"0", ""}};
    for (const auto& [width, entry] : widths) {
        option.reset();
        settings.titleTableWidth = QString::fromUtf8(width);
        EXPECT_EQ(combo("Combo3")->currentText(), QString::fromUtf8(entry)) << width;
    }
    // OK stores the entry shown, not the number read.
    option.reset();
    settings.titleTableWidth = QStringLiteral("800");
    dialog().storeAndClose();
    EXPECT_EQ(settings.titleTableWidth, "標準");

    option.reset();
    settings.titleFontSize = QStringLiteral("9");
    EXPECT_EQ(combo("Combo1")->currentIndex(), -1);

    // The page style list shows words and stores its own values: an unknown one is the
    // classic style, which is stored as nothing.
    option.reset();
    settings.pageStyle = QStringLiteral("retro");
    EXPECT_EQ(combo("pageStyleBox")->currentIndex(), 0);
    dialog().storeAndClose();
    EXPECT_EQ(settings.pageStyle, "");
}

TEST_F(OptionsTest, UnknownFaceLeavesTheSelectionAndOkStoresAnEmptyFace) {
    settings.titleFontFace = QStringLiteral("Arial");
    EXPECT_EQ(combo("Combo2")->currentIndex(), -1);
    dialog().storeAndClose();
    EXPECT_EQ(settings.titleFontFace, "");

    combo("Combo2")->setCurrentIndex(1);
    settings.titleFontFace = QStringLiteral("Arial");
    dialog().cancelAndClose();
    EXPECT_EQ(combo("Combo2")->currentText(), "ＭＳ 明朝");
}

TEST_F(OptionsTest, CancelTwiceKeepsEachListEntryOnce) {
    dialog().cancelAndClose();
    dialog().cancelAndClose();
    ASSERT_EQ(combo("Combo1")->count(), 7);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(combo("Combo1")->itemText(i), QString::number(i + 1));
    EXPECT_EQ(combo("Combo2")->count(), 4);
    ASSERT_EQ(combo("Combo3")->count(), 8);
    EXPECT_EQ(combo("Combo3")->itemText(7), "標準");
}

TEST_F(OptionsTest, NumbersOutsideTheRangesAreLimitedOnLoading) {
    settings.thumbWidth = QStringLiteral("5000");
    settings.thumbQuality = QStringLiteral("10");
    settings.slideInterval = QStringLiteral("abc");
    settings.rotateQuality = 20;
    settings.windowLeft = 100000;
    settings.windowTop = -50;
    dialog();
    EXPECT_EQ(spin("SpinEdit1")->value(), 1000);
    EXPECT_EQ(spin("SpinEdit4")->value(), 70);
    EXPECT_EQ(spin("SpinEdit3")->value(), 1);
    EXPECT_EQ(edit("Edit7")->text(), "50");
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(bar("HBar")->maximum(), screen.width() - 300);
    EXPECT_EQ(bar("VBar")->maximum(), screen.height() - 200);
    EXPECT_EQ(bar("HBar")->value(), screen.width() - 300);
    EXPECT_EQ(edit("Edit4")->text(), QString::number(screen.width() - 300));
    EXPECT_EQ(edit("Edit5")->text(), "0");
    EXPECT_EQ(bar("HBar")->pageStep(), 10);
    EXPECT_EQ(bar("HBar")->tickInterval(), 10);
}

}  // namespace
}  // namespace tessaly::test
