#include "gui/options/optionsdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTabWidget>

#include "core/text/formatting.h"
#include "gui/options/clampingspinbox.h"
#include "gui/options/colorswatch.h"
#include "gui/options/stepbuttons.h"
#include "gui/options/storabletext.h"

namespace tessaly {
namespace {

const QString kFileChooserTitle = QStringLiteral("ファイル選択");

bool equalsOn(const QString& value) { return value == QLatin1String("on"); }
bool differsFromOff(const QString& value) { return value != QLatin1String("off"); }

// The index of a list entry named by a number ("7" -> 6); -1 (no selection) when the text is
// not a number or names no entry.
int entryIndex(long long number, int count) {
    const long long index = number - 1;
    return index >= 0 && index < count ? static_cast<int>(index) : -1;
}

}  // namespace

OptionsDialog::OptionsDialog(AppContext& context, QWidget* mainWindow, FolderChooser pickFolder)
    : QDialog(mainWindow),
      settings_(context.settings),
      prompts_(context.prompts),
      mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("TOption"));
    setWindowTitle(QStringLiteral("オプション"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFolderPicker(std::move(pickFolder));
    buildWindow();
    fillFixedLists();
    connectControls();
    PageControl1->setCurrentIndex(0);
    if (mainWindow_) move(mainWindow_->x() + 50, mainWindow_->y() + 95);
    loadFromSettings();
}

void OptionsDialog::setFolderPicker(FolderChooser pickFolder) {
    if (pickFolder) {
        pickFolder_ = std::move(pickFolder);
        return;
    }
    pickFolder_ = [this](const QString& start) {
        return QFileDialog::getExistingDirectory(this, QStringLiteral("フォルダ選択"), start);
    };
}

void OptionsDialog::setRotationQualityHandler(QualityHandler handler) {
    rotationQuality_ = std::move(handler);
}

int OptionsDialog::openModal() {
    syncPositionFromMainWindow();
    return exec();
}

void OptionsDialog::syncPositionFromMainWindow() {
    if (mainWindow_) setBars(mainWindow_->x(), mainWindow_->y());
}

void OptionsDialog::fillFixedLists() {
    for (int size = 1; size <= 7; ++size) Combo1->addItem(QString::number(size));
    for (const char* face : {"ＭＳ ゴシック", "ＭＳ 明朝", "ＭＳ Ｐゴシック", "ＭＳ Ｐ明朝"}) {
        Combo2->addItem(QString::fromUtf8(face));
    }
    for (int width = 100; width <= 700; width += 100) Combo3->addItem(QString::number(width));
    Combo3->addItem(QStringLiteral("標準"));
    Combo1->setCurrentIndex(-1);
    Combo2->setCurrentIndex(-1);
    Combo3->setCurrentIndex(-1);
}

void OptionsDialog::connectControls() {
    for (QCheckBox* box : {Check3, Check5, Check7, fontsetbox, TtableBox, s_maxcheck, headerBox,
                           footerbox, footerlinkbox, CheckBox2}) {
        connect(box, &QCheckBox::toggled, this, &OptionsDialog::applyEnablingRules);
    }
    connect(Button1, &QPushButton::clicked, this, &OptionsDialog::Button1Click);
    connect(Button2, &QPushButton::clicked, this, [this] { chooseProgram(Edit3); });
    connect(Button3, &QPushButton::clicked, this, [this] { chooseProgram(Edit6); });
    connect(Button5, &QPushButton::clicked, this, &OptionsDialog::Button5Click);
    connect(Button4, &QPushButton::clicked, this, [this] { chooseColour(Panel2); });
    connect(Button6, &QPushButton::clicked, this, [this] { chooseColour(Panel3); });
    connect(Button7, &QPushButton::clicked, this, [this] { chooseColour(Panel4); });
    connect(UpDown1, &StepButtons::clicked, this,
            [this](int position) { Edit7->setText(QString::number(position)); });
    connect(HBar, &QSlider::valueChanged, this, [this](int value) { barMoved(HBar, value); });
    connect(VBar, &QSlider::valueChanged, this, [this](int value) { barMoved(VBar, value); });
    connect(optOK, &QPushButton::clicked, this, &OptionsDialog::optOKClick);
    connect(optCansel, &QPushButton::clicked, this, &OptionsDialog::optCanselClick);
}

void OptionsDialog::loadFromSettings() {
    loadTextsAndColours();
    loadNumbers();
    loadLists();
    loadPosition();
    loadChecks();
    applyEnablingRules();
}

void OptionsDialog::loadTextsAndColours() {
    Edit1->setText(settings_.startFolder);
    Edit2->setText(settings_.backgroundFile);
    Edit6->setText(settings_.browserPath);
    Edit3->setText(settings_.viewerPath);
    htmlfilebox->setText(settings_.htmlFileName);
    htmlfoldabox->setText(settings_.thumbFolderName);
    s_headerbox->setText(settings_.thumbPrefix);
    headertext->setText(settings_.headerText);
    footertext->setText(settings_.footerText);
    footerlink->setText(settings_.footerLinkUrl);
    Panel2->setColour(settings_.backgroundColor);
    Panel3->setColour(settingInt(settings_.titleColor));
    Panel4->setColour(settingInt(settings_.titleBackColor));
}

// A number that cannot be read takes the box's minimum, as typing it would.
void OptionsDialog::loadNumbers() {
    const std::pair<ClampingSpinBox*, const QString*> numbers[] = {
        {SpinEdit1, &settings_.thumbWidth},      {SpinEdit2, &settings_.thumbHeight},
        {SpinEdit3, &settings_.slideInterval},   {SpinEdit4, &settings_.thumbQuality},
        {SpinSX, &settings_.slideMaxWidth},      {SpinSY, &settings_.slideMaxHeight},
        {tablewidthbox, &settings_.tableBorder},
    };
    for (const auto& [box, text] : numbers) box->setValue(settingInt(*text, box->minimum()));
    UpDown1->setPosition(settings_.rotateQuality);
    Edit7->setText(QString::number(UpDown1->position()));
}

void OptionsDialog::loadLists() {
    bool ok = false;
    const int size = settings_.titleFontSize.toInt(&ok);
    Combo1->setCurrentIndex(ok ? entryIndex(size, Combo1->count()) : -1);

    const int face = Combo2->findText(settings_.titleFontFace, Qt::MatchExactly);
    if (face >= 0) Combo2->setCurrentIndex(face);

    // "標準" by name, or the entry the width names in hundreds: 750 to 850 come to the
    // eighth entry, which is "標準".
    const int standard = Combo3->count() - 1;
    if (settings_.titleTableWidth == Combo3->itemText(standard)) {
        Combo3->setCurrentIndex(standard);
        return;
    }
    const double width = settings_.titleTableWidth.toDouble(&ok);
    const long long hundreds = ok ? roundHalfEven(static_cast<long double>(width) / 100) : 0;
    Combo3->setCurrentIndex(ok ? entryIndex(hundreds, Combo3->count()) : -1);
}

void OptionsDialog::loadPosition() {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    settingBars_ = true;
    HBar->setRange(0, qMax(0, screen.width() - 300));
    VBar->setRange(0, qMax(0, screen.height() - 200));
    settingBars_ = false;
    setBars(settings_.windowLeft, settings_.windowTop);
    CheckBox2->setChecked(true);
}

void OptionsDialog::setBars(int left, int top) {
    settingBars_ = true;
    HBar->setValue(qBound(HBar->minimum(), left, HBar->maximum()));
    VBar->setValue(qBound(VBar->minimum(), top, VBar->maximum()));
    settingBars_ = false;
    Edit4->setText(QString::number(HBar->value()));
    Edit5->setText(QString::number(VBar->value()));
}

void OptionsDialog::loadChecks() {
    Check3->setChecked(equalsOn(settings_.useBackgroundImage));
    CheckBox1->setChecked(equalsOn(settings_.rotateBackup));
    CheckBox3->setChecked(differsFromOff(settings_.titleItalic));
    CheckBox4->setChecked(differsFromOff(settings_.titleBold));
    Check5->setChecked(differsFromOff(settings_.openInNewWindow));
    Check6->setChecked(differsFromOff(settings_.useScriptPopup));
    Check7->setChecked(differsFromOff(settings_.makeSlideShow));
    s_maxcheck->setChecked(differsFromOff(settings_.slideMaxEnabled));
    Checkfilter->setChecked(differsFromOff(settings_.thumbFilter));
    veltra_check->setChecked(differsFromOff(settings_.noBrowserLaunch));
    fontsetbox->setChecked(equalsOn(settings_.titleFontEnabled));
    headerBox->setChecked(equalsOn(settings_.headerDefault));
    footerbox->setChecked(equalsOn(settings_.footerDefault));
    footerlinkbox->setChecked(equalsOn(settings_.footerLinkEnabled));
    TtableBox->setChecked(equalsOn(settings_.titleUseTable));
    s_filebox->setChecked(equalsOn(settings_.skipExistingThumbs));
}

// The controls that depend on a check box follow its state. The footer link field is usable
// only while a user footer is chosen and the footer is to be a link.
void OptionsDialog::applyEnablingRules() {
    Edit2->setEnabled(Check3->isChecked());
    Button5->setEnabled(Check3->isChecked());
    Check6->setEnabled(Check5->isChecked());
    SpinEdit3->setEnabled(Check7->isChecked());
    Combo2->setEnabled(fontsetbox->isChecked());
    Combo3->setEnabled(TtableBox->isChecked());
    Button7->setEnabled(TtableBox->isChecked());
    SpinSX->setEnabled(s_maxcheck->isChecked());
    SpinSY->setEnabled(s_maxcheck->isChecked());
    headertext->setEnabled(!headerBox->isChecked());
    footertext->setEnabled(!footerbox->isChecked());
    footerlinkbox->setEnabled(!footerbox->isChecked());
    footerlink->setEnabled(!footerbox->isChecked() && footerlinkbox->isChecked());
    const bool manualPosition = !CheckBox2->isChecked();
    for (QWidget* widget : std::initializer_list<QWidget*>{GroupBox2, Edit4, Edit5, HBar, VBar}) {
        widget->setEnabled(manualPosition);
    }
}

// A folder whose path the settings file cannot hold gives way to its nearest ancestor that
// it can, so the start folder never blocks saving the other settings.
void OptionsDialog::Button1Click() {
    const QString chosen = pickFolder_(Edit1->text());
    const QString problem = StorableText::problem(chosen, true);
    if (problem.isEmpty()) {
        Edit1->setText(chosen);
        return;
    }
    const QString ancestor = StorableText::nearestStorableFolder(chosen);
    Edit1->setText(ancestor);
    prompts_.information(this, StorableText::refusal(fieldName(Edit1), problem) +
                                   QStringLiteral("\r代わりに %1 を設定しました。").arg(ancestor));
}

void OptionsDialog::chooseProgram(QLineEdit* field) {
    const QString chosen = prompts_.openFileName(this, kFileChooserTitle, QString(), QString());
    if (!chosen.isEmpty() && !refusedForStorage(field, chosen)) field->setText(chosen);
}

// A chosen path the settings file cannot hold is refused with a message; the field keeps
// what it held.
bool OptionsDialog::refusedForStorage(const QLineEdit* field, const QString& text) {
    const QString problem = StorableText::problem(text, true);
    if (problem.isEmpty()) return false;
    prompts_.information(this, StorableText::refusal(fieldName(field), problem));
    return true;
}

void OptionsDialog::Button5Click() {
    const QString chosen = prompts_.openFileName(this, kFileChooserTitle, QString(), QString());
    if (chosen.isEmpty()) return;
    const QString extension = QFileInfo(chosen).suffix().toLower();
    if (extension == QLatin1String("jpg") || extension == QLatin1String("gif")) {
        if (!refusedForStorage(Edit2, chosen)) Edit2->setText(chosen);
        return;
    }
    prompts_.information(this,
                         QStringLiteral("背景は「jpg」か「gif」ファイルを設定してください。"));
    Edit2->clear();
}

void OptionsDialog::chooseColour(ColorSwatch* swatch) {
    const std::optional<int> chosen = prompts_.chooseColor(this, swatch->colour());
    if (chosen) swatch->setColour(*chosen);
}

// A track bar moved by the user takes the main window with it at once.
void OptionsDialog::barMoved(QSlider* bar, int position) {
    (bar == HBar ? Edit4 : Edit5)->setText(QString::number(position));
    if (settingBars_ || !mainWindow_) return;
    if (bar == HBar) {
        mainWindow_->move(position, mainWindow_->y());
    } else {
        mainWindow_->move(mainWindow_->x(), position);
    }
}

}  // namespace tessaly
