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
    tabs->setCurrentIndex(0);
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
    for (int size = 1; size <= 7; ++size) titleSizeBox->addItem(QString::number(size));
    for (const char* face : {"ＭＳ ゴシック", "ＭＳ 明朝", "ＭＳ Ｐゴシック", "ＭＳ Ｐ明朝"}) {
        titleFontBox->addItem(QString::fromUtf8(face));
    }
    for (int width = 100; width <= 700; width += 100)
        titleTableWidthBox->addItem(QString::number(width));
    titleTableWidthBox->addItem(QStringLiteral("標準"));
    titleSizeBox->setCurrentIndex(-1);
    titleFontBox->setCurrentIndex(-1);
    titleTableWidthBox->setCurrentIndex(-1);
}

void OptionsDialog::connectControls() {
    for (QCheckBox* box : {backgroundImageCheck, newWindowCheck, slideShowCheck, titleFontCheck,
                           titleTableCheck, slideMaxCheck, headerDefaultCheck, footerDefaultCheck,
                           footerLinkCheck, keepPositionCheck}) {
        connect(box, &QCheckBox::toggled, this, &OptionsDialog::applyEnablingRules);
    }
    connect(startFolderButton, &QPushButton::clicked, this, &OptionsDialog::chooseStartFolder);
    connect(viewerButton, &QPushButton::clicked, this, [this] { chooseProgram(viewerEdit); });
    connect(browserButton, &QPushButton::clicked, this, [this] { chooseProgram(browserEdit); });
    connect(backgroundFileButton, &QPushButton::clicked, this,
            &OptionsDialog::chooseBackgroundFile);
    connect(backgroundColourButton, &QPushButton::clicked, this,
            [this] { chooseColour(backgroundSwatch); });
    connect(titleColourButton, &QPushButton::clicked, this,
            [this] { chooseColour(titleColourSwatch); });
    connect(titleBackColourButton, &QPushButton::clicked, this,
            [this] { chooseColour(titleBackSwatch); });
    connect(rotateQualityButtons, &StepButtons::clicked, this,
            [this](int position) { rotateQualityEdit->setText(QString::number(position)); });
    connect(leftBar, &QSlider::valueChanged, this, [this](int value) { barMoved(leftBar, value); });
    connect(topBar, &QSlider::valueChanged, this, [this](int value) { barMoved(topBar, value); });
    connect(storeButton, &QPushButton::clicked, this, &OptionsDialog::storeAndClose);
    connect(cancelButton, &QPushButton::clicked, this, &OptionsDialog::cancelAndClose);
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
    startFolderEdit->setText(settings_.startFolder);
    backgroundFileEdit->setText(settings_.backgroundFile);
    browserEdit->setText(settings_.browserPath);
    viewerEdit->setText(settings_.viewerPath);
    htmlFileEdit->setText(settings_.htmlFileName);
    thumbFolderEdit->setText(settings_.thumbFolderName);
    thumbPrefixEdit->setText(settings_.thumbPrefix);
    headerTextEdit->setText(settings_.headerText);
    footerTextEdit->setText(settings_.footerText);
    footerLinkEdit->setText(settings_.footerLinkUrl);
    backgroundSwatch->setColour(settings_.backgroundColor);
    titleColourSwatch->setColour(settingInt(settings_.titleColor));
    titleBackSwatch->setColour(settingInt(settings_.titleBackColor));
}

// A number that cannot be read takes the box's minimum, as typing it would.
void OptionsDialog::loadNumbers() {
    const std::pair<ClampingSpinBox*, const QString*> numbers[] = {
        {thumbWidthBox, &settings_.thumbWidth},
        {thumbHeightBox, &settings_.thumbHeight},
        {slideIntervalBox, &settings_.slideInterval},
        {thumbQualityBox, &settings_.thumbQuality},
        {slideMaxWidthBox, &settings_.slideMaxWidth},
        {slideMaxHeightBox, &settings_.slideMaxHeight},
        {frameWidthBox, &settings_.tableBorder},
    };
    for (const auto& [box, text] : numbers) box->setValue(settingInt(*text, box->minimum()));
    rotateQualityButtons->setPosition(settings_.rotateQuality);
    rotateQualityEdit->setText(QString::number(rotateQualityButtons->position()));
}

void OptionsDialog::loadLists() {
    bool ok = false;
    const int size = settings_.titleFontSize.toInt(&ok);
    titleSizeBox->setCurrentIndex(ok ? entryIndex(size, titleSizeBox->count()) : -1);

    const int face = titleFontBox->findText(settings_.titleFontFace, Qt::MatchExactly);
    if (face >= 0) titleFontBox->setCurrentIndex(face);

    // "標準" by name, or the entry the width names in hundreds: 750 to 850 come to the
    // eighth entry, which is "標準".
    const int standard = titleTableWidthBox->count() - 1;
    if (settings_.titleTableWidth == titleTableWidthBox->itemText(standard)) {
        titleTableWidthBox->setCurrentIndex(standard);
        return;
    }
    const double width = settings_.titleTableWidth.toDouble(&ok);
    const long long hundreds = ok ? roundHalfEven(static_cast<long double>(width) / 100) : 0;
    titleTableWidthBox->setCurrentIndex(ok ? entryIndex(hundreds, titleTableWidthBox->count())
                                           : -1);
}

void OptionsDialog::loadPosition() {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    settingBars_ = true;
    leftBar->setRange(0, qMax(0, screen.width() - 300));
    topBar->setRange(0, qMax(0, screen.height() - 200));
    settingBars_ = false;
    setBars(settings_.windowLeft, settings_.windowTop);
    keepPositionCheck->setChecked(true);
}

void OptionsDialog::setBars(int left, int top) {
    settingBars_ = true;
    leftBar->setValue(qBound(leftBar->minimum(), left, leftBar->maximum()));
    topBar->setValue(qBound(topBar->minimum(), top, topBar->maximum()));
    settingBars_ = false;
    leftEdit->setText(QString::number(leftBar->value()));
    topEdit->setText(QString::number(topBar->value()));
}

void OptionsDialog::loadChecks() {
    backgroundImageCheck->setChecked(equalsOn(settings_.useBackgroundImage));
    rotateBackupCheck->setChecked(equalsOn(settings_.rotateBackup));
    titleItalicCheck->setChecked(differsFromOff(settings_.titleItalic));
    titleBoldCheck->setChecked(differsFromOff(settings_.titleBold));
    newWindowCheck->setChecked(differsFromOff(settings_.openInNewWindow));
    scriptPopupCheck->setChecked(differsFromOff(settings_.useScriptPopup));
    slideShowCheck->setChecked(differsFromOff(settings_.makeSlideShow));
    slideMaxCheck->setChecked(differsFromOff(settings_.slideMaxEnabled));
    thumbFilterCheck->setChecked(differsFromOff(settings_.thumbFilter));
    noBrowserCheck->setChecked(differsFromOff(settings_.noBrowserLaunch));
    titleFontCheck->setChecked(equalsOn(settings_.titleFontEnabled));
    headerDefaultCheck->setChecked(equalsOn(settings_.headerDefault));
    footerDefaultCheck->setChecked(equalsOn(settings_.footerDefault));
    footerLinkCheck->setChecked(equalsOn(settings_.footerLinkEnabled));
    titleTableCheck->setChecked(equalsOn(settings_.titleUseTable));
    skipExistingCheck->setChecked(equalsOn(settings_.skipExistingThumbs));
}

// The controls that depend on a check box follow its state. The footer link field is usable
// only while a user footer is chosen and the footer is to be a link.
void OptionsDialog::applyEnablingRules() {
    backgroundFileEdit->setEnabled(backgroundImageCheck->isChecked());
    backgroundFileButton->setEnabled(backgroundImageCheck->isChecked());
    scriptPopupCheck->setEnabled(newWindowCheck->isChecked());
    slideIntervalBox->setEnabled(slideShowCheck->isChecked());
    titleFontBox->setEnabled(titleFontCheck->isChecked());
    titleTableWidthBox->setEnabled(titleTableCheck->isChecked());
    titleBackColourButton->setEnabled(titleTableCheck->isChecked());
    slideMaxWidthBox->setEnabled(slideMaxCheck->isChecked());
    slideMaxHeightBox->setEnabled(slideMaxCheck->isChecked());
    headerTextEdit->setEnabled(!headerDefaultCheck->isChecked());
    footerTextEdit->setEnabled(!footerDefaultCheck->isChecked());
    footerLinkCheck->setEnabled(!footerDefaultCheck->isChecked());
    footerLinkEdit->setEnabled(!footerDefaultCheck->isChecked() && footerLinkCheck->isChecked());
    const bool manualPosition = !keepPositionCheck->isChecked();
    for (QWidget* widget :
         std::initializer_list<QWidget*>{positionGroup, leftEdit, topEdit, leftBar, topBar}) {
        widget->setEnabled(manualPosition);
    }
}

// A folder whose path the settings file cannot hold gives way to its nearest ancestor that
// it can, so the start folder never blocks saving the other settings.
void OptionsDialog::chooseStartFolder() {
    const QString chosen = pickFolder_(startFolderEdit->text());
    const QString problem = StorableText::problem(chosen, true);
    if (problem.isEmpty()) {
        startFolderEdit->setText(chosen);
        return;
    }
    const QString ancestor = StorableText::nearestStorableFolder(chosen);
    startFolderEdit->setText(ancestor);
    prompts_.information(this, StorableText::refusal(fieldName(startFolderEdit), problem) +
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

void OptionsDialog::chooseBackgroundFile() {
    const QString chosen = prompts_.openFileName(this, kFileChooserTitle, QString(), QString());
    if (chosen.isEmpty()) return;
    const QString extension = QFileInfo(chosen).suffix().toLower();
    if (extension == QLatin1String("jpg") || extension == QLatin1String("gif")) {
        if (!refusedForStorage(backgroundFileEdit, chosen)) backgroundFileEdit->setText(chosen);
        return;
    }
    prompts_.information(this,
                         QStringLiteral("背景は「jpg」か「gif」ファイルを設定してください。"));
    backgroundFileEdit->clear();
}

void OptionsDialog::chooseColour(ColorSwatch* swatch) {
    const std::optional<int> chosen = prompts_.chooseColor(this, swatch->colour());
    if (chosen) swatch->setColour(*chosen);
}

// A track bar moved by the user takes the main window with it at once.
void OptionsDialog::barMoved(QSlider* bar, int position) {
    (bar == leftBar ? leftEdit : topEdit)->setText(QString::number(position));
    if (settingBars_ || !mainWindow_) return;
    if (bar == leftBar) {
        mainWindow_->move(position, mainWindow_->y());
    } else {
        mainWindow_->move(mainWindow_->x(), position);
    }
}

}  // namespace tessaly
