// The options dialog's OK and Cancel buttons.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QTabWidget>

#include "core/text/errors.h"
#include "gui/options/clampingspinbox.h"
#include "gui/options/colorswatch.h"
#include "gui/options/nametest.h"
#include "gui/options/optionsdialog.h"
#include "gui/options/stepbuttons.h"
#include "gui/options/storabletext.h"

namespace tessaly {
namespace {

QString onOff(const QCheckBox* box) {
    return box->isChecked() ? QStringLiteral("on") : QStringLiteral("off");
}

QString number(const ClampingSpinBox* box) { return QString::number(box->value()); }

}  // namespace

// Checks that the settings file can hold every text, validates the two names, copies every control
// into the record, writes the settings file, moves the main window and closes. A refused name or a
// failed write keeps the dialog open.
void OptionsDialog::storeAndClose() {
    for (ClampingSpinBox* box : {frameWidthBox, thumbWidthBox, thumbHeightBox, slideIntervalBox,
                                 thumbQualityBox, slideMaxWidthBox, slideMaxHeightBox}) {
        box->interpretText();  // as when the box loses the focus
    }
    if (!textsCanBeStored()) return;
    const QPoint position = chosenPosition();
    settings_.backgroundColor = backgroundSwatch->colour();
    const QString backgroundFile = backgroundFileEdit->text();
    const QString useBackground = onOff(backgroundImageCheck);
    const int quality = rotateQualityButtons->position();
    const QString backup = onOff(rotateBackupCheck);
    storeTitleAndThumbnails();
    if (!passesNameTest()) return;
    storeNamesAndPage();
    settings_.startFolder = startFolderEdit->text();
    settings_.useBackgroundImage = useBackground;
    settings_.backgroundFile = backgroundFile;
    settings_.browserPath = browserEdit->text();
    settings_.viewerPath = viewerEdit->text();
    settings_.windowLeft = position.x();
    settings_.windowTop = position.y();
    settings_.rotateQuality = quality;
    settings_.rotateBackup = backup;
    try {
        saveSettings(settings_);
    } catch (const Error& error) {
        prompts_.error(this, error.message());
        return;
    }
    if (mainWindow_) mainWindow_->move(position);
    if (rotationQuality_) rotationQuality_(quality);
    accept();
}

void OptionsDialog::cancelAndClose() {
    loadFromSettings();
    reject();
}

std::vector<OptionsDialog::StoredText> OptionsDialog::storedTexts() const {
    return {
        {startFolderEdit, QStringLiteral("起動フォルダ"), true},
        {backgroundFileEdit, QStringLiteral("背景の画像ファイル"), true},
        {browserEdit, QStringLiteral("ブラウザ"), true},
        {viewerEdit, QStringLiteral("外部ビュアー"), true},
        {htmlFileEdit, QStringLiteral("作成するＨＴＭＬファイル名"), true},
        {thumbFolderEdit, QStringLiteral("サムネイル画像を作成するフォルダ名"), true},
        {thumbPrefixEdit, QStringLiteral("サムネイル画像のファイル名に付加する文字列"), true},
        {headerTextEdit, QStringLiteral("ヘッダーのコメント"), false},
        {footerTextEdit, QStringLiteral("フッターのコメント"), false},
        {footerLinkEdit, QStringLiteral("フッターのURL"), false},
    };
}

QString OptionsDialog::fieldName(const QLineEdit* field) const {
    for (const StoredText& text : storedTexts()) {
        if (text.field == field) return text.name;
    }
    return QString();
}

// Every text must fit the Shift-JIS settings file, or no setting could be saved. A start
// folder that does not fit gives way to its nearest ancestor that does. Any other text that
// does not fit is reported with its field, which is shown; nothing is stored. A read-only
// path is emptied as well (the user has no other way to clear it), so the next OK saves.
bool OptionsDialog::textsCanBeStored() {
    if (!StorableText::problem(startFolderEdit->text(), true).isEmpty()) {
        startFolderEdit->setText(StorableText::nearestStorableFolder(startFolderEdit->text()));
    }
    for (const StoredText& text : storedTexts()) {
        const QString problem = StorableText::problem(text.field->text(), text.exact);
        if (problem.isEmpty()) continue;
        QString message = StorableText::refusal(text.name, problem);
        if (text.field->isReadOnly()) {
            text.field->clear();
            message += QStringLiteral("\rこの設定を空にしました。");
        }
        showField(text.field);
        prompts_.error(this, message);
        return false;
    }
    return true;
}

void OptionsDialog::showField(QLineEdit* field) {
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->widget(i)->isAncestorOf(field)) tabs->setCurrentIndex(i);
    }
    field->setFocus();
}

QPoint OptionsDialog::chosenPosition() const {
    if (keepPositionCheck->isChecked()) {
        return mainWindow_ ? mainWindow_->pos() : QPoint(settings_.windowLeft, settings_.windowTop);
    }
    return QPoint(leftBar->value(), topBar->value());
}

void OptionsDialog::storeTitleAndThumbnails() {
    settings_.titleFontSize = titleSizeBox->currentText();
    settings_.titleColor = QString::number(titleColourSwatch->colour());
    settings_.titleFontFace = titleFontBox->currentText();
    settings_.titleTableWidth = titleTableWidthBox->currentText();
    settings_.titleBackColor = QString::number(titleBackSwatch->colour());
    settings_.titleItalic = onOff(titleItalicCheck);
    settings_.titleBold = onOff(titleBoldCheck);
    settings_.thumbWidth = number(thumbWidthBox);
    settings_.thumbHeight = number(thumbHeightBox);
    settings_.openInNewWindow = onOff(newWindowCheck);
    const bool scriptPopup = newWindowCheck->isChecked() && scriptPopupCheck->isChecked();
    settings_.useScriptPopup = scriptPopup ? QStringLiteral("on") : QStringLiteral("off");
    settings_.makeSlideShow = onOff(slideShowCheck);
    settings_.slideInterval = number(slideIntervalBox);
    settings_.thumbQuality = number(thumbQualityBox);
    settings_.thumbFilter = onOff(thumbFilterCheck);
    settings_.noBrowserLaunch = onOff(noBrowserCheck);
}

bool OptionsDialog::passesNameTest() {
    NameTest::Result result = NameTest::Result::Passed;
    try {
        result = NameTest(settings_.configFolder())
                     .run(thumbFolderEdit->text(), htmlFileEdit->text(), thumbPrefixEdit->text());
    } catch (const Error& error) {
        prompts_.error(this, error.message());
        return false;
    }
    if (result == NameTest::Result::BadFolderName) {
        prompts_.information(this, NameTest::badFolderMessage());
    } else if (result == NameTest::Result::BadFileName) {
        prompts_.information(this, NameTest::badFileMessage());
    } else if (result == NameTest::Result::BadPrefix) {
        prompts_.information(this, NameTest::badPrefixMessage());
    }
    return result == NameTest::Result::Passed;
}

void OptionsDialog::storeNamesAndPage() {
    settings_.htmlFileName = htmlFileEdit->text();
    settings_.thumbFolderName = thumbFolderEdit->text();
    settings_.titleFontEnabled = onOff(titleFontCheck);
    settings_.headerDefault = onOff(headerDefaultCheck);
    settings_.footerDefault = onOff(footerDefaultCheck);
    settings_.footerLinkEnabled = onOff(footerLinkCheck);
    settings_.headerText = headerTextEdit->text();
    settings_.footerText = footerTextEdit->text();
    settings_.footerLinkUrl = footerLinkEdit->text();
    settings_.titleUseTable = onOff(titleTableCheck);
    settings_.thumbPrefix = thumbPrefixEdit->text();
    settings_.skipExistingThumbs = onOff(skipExistingCheck);
    settings_.tableBorder = number(frameWidthBox);
    settings_.slideMaxEnabled = onOff(slideMaxCheck);
    settings_.slideMaxWidth = number(slideMaxWidthBox);
    settings_.slideMaxHeight = number(slideMaxHeightBox);
}

}  // namespace tessaly
