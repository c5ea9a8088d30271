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
void OptionsDialog::optOKClick() {
    for (ClampingSpinBox* box :
         {tablewidthbox, SpinEdit1, SpinEdit2, SpinEdit3, SpinEdit4, SpinSX, SpinSY}) {
        box->interpretText();  // as when the box loses the focus
    }
    if (!textsCanBeStored()) return;
    const QPoint position = chosenPosition();
    settings_.backgroundColor = Panel2->colour();
    const QString backgroundFile = Edit2->text();
    const QString useBackground = onOff(Check3);
    const int quality = UpDown1->position();
    const QString backup = onOff(CheckBox1);
    storeTitleAndThumbnails();
    if (!passesNameTest()) return;
    storeNamesAndPage();
    settings_.startFolder = Edit1->text();
    settings_.useBackgroundImage = useBackground;
    settings_.backgroundFile = backgroundFile;
    settings_.browserPath = Edit6->text();
    settings_.viewerPath = Edit3->text();
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

void OptionsDialog::optCanselClick() {
    loadFromSettings();
    reject();
}

std::vector<OptionsDialog::StoredText> OptionsDialog::storedTexts() const {
    return {
        {Edit1, QStringLiteral("起動フォルダ"), true},
        {Edit2, QStringLiteral("背景の画像ファイル"), true},
        {Edit6, QStringLiteral("ブラウザ"), true},
        {Edit3, QStringLiteral("外部ビュアー"), true},
        {htmlfilebox, QStringLiteral("作成するＨＴＭＬファイル名"), true},
        {htmlfoldabox, QStringLiteral("サムネイル画像を作成するフォルダ名"), true},
        {s_headerbox, QStringLiteral("サムネイル画像のファイル名に付加する文字列"), true},
        {headertext, QStringLiteral("ヘッダーのコメント"), false},
        {footertext, QStringLiteral("フッターのコメント"), false},
        {footerlink, QStringLiteral("フッターのURL"), false},
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
    if (!StorableText::problem(Edit1->text(), true).isEmpty()) {
        Edit1->setText(StorableText::nearestStorableFolder(Edit1->text()));
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
    for (int i = 0; i < PageControl1->count(); ++i) {
        if (PageControl1->widget(i)->isAncestorOf(field)) PageControl1->setCurrentIndex(i);
    }
    field->setFocus();
}

QPoint OptionsDialog::chosenPosition() const {
    if (CheckBox2->isChecked()) {
        return mainWindow_ ? mainWindow_->pos() : QPoint(settings_.windowLeft, settings_.windowTop);
    }
    return QPoint(HBar->value(), VBar->value());
}

void OptionsDialog::storeTitleAndThumbnails() {
    settings_.titleFontSize = Combo1->currentText();
    settings_.titleColor = QString::number(Panel3->colour());
    settings_.titleFontFace = Combo2->currentText();
    settings_.titleTableWidth = Combo3->currentText();
    settings_.titleBackColor = QString::number(Panel4->colour());
    settings_.titleItalic = onOff(CheckBox3);
    settings_.titleBold = onOff(CheckBox4);
    settings_.thumbWidth = number(SpinEdit1);
    settings_.thumbHeight = number(SpinEdit2);
    settings_.openInNewWindow = onOff(Check5);
    const bool scriptPopup = Check5->isChecked() && Check6->isChecked();
    settings_.useScriptPopup = scriptPopup ? QStringLiteral("on") : QStringLiteral("off");
    settings_.makeSlideShow = onOff(Check7);
    settings_.slideInterval = number(SpinEdit3);
    settings_.thumbQuality = number(SpinEdit4);
    settings_.thumbFilter = onOff(Checkfilter);
    settings_.noBrowserLaunch = onOff(veltra_check);
}

bool OptionsDialog::passesNameTest() {
    NameTest::Result result = NameTest::Result::Passed;
    try {
        result = NameTest(settings_.configFolder())
                     .run(htmlfoldabox->text(), htmlfilebox->text(), s_headerbox->text());
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
    settings_.htmlFileName = htmlfilebox->text();
    settings_.thumbFolderName = htmlfoldabox->text();
    settings_.titleFontEnabled = onOff(fontsetbox);
    settings_.headerDefault = onOff(headerBox);
    settings_.footerDefault = onOff(footerbox);
    settings_.footerLinkEnabled = onOff(footerlinkbox);
    settings_.headerText = headertext->text();
    settings_.footerText = footertext->text();
    settings_.footerLinkUrl = footerlink->text();
    settings_.titleUseTable = onOff(TtableBox);
    settings_.thumbPrefix = s_headerbox->text();
    settings_.skipExistingThumbs = onOff(s_filebox);
    settings_.tableBorder = number(tablewidthbox);
    settings_.slideMaxEnabled = onOff(s_maxcheck);
    settings_.slideMaxWidth = number(SpinSX);
    settings_.slideMaxHeight = number(SpinSY);
}

}  // namespace tessaly
