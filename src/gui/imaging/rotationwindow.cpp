#include "gui/imaging/rotationwindow.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <algorithm>
#include <new>

#include "core/settings/catalogsettings.h"
#include "core/text/errors.h"
#include "core/text/formatting.h"
#include "gui/common/elidedlabel.h"
#include "gui/imaging/displaypicture.h"

namespace tessaly {

namespace {

const int kPreviewSide = 200;

QString saveAndNextText() { return QStringLiteral("保存して次へ"); }
QString saveAndCloseText() { return QStringLiteral("保存して終了"); }
QString saveAndNextHint() {
    return QStringLiteral("表示されている画像を上書きして保存後次の画像を開きます。");
}
QString saveAndCloseHint() {
    return QStringLiteral("表示されている画像を上書きして保存後ウィンドウを閉じます。");
}

template <typename T>
T* named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

}  // namespace

RotationWindow::RotationWindow(AppContext& context, QWidget* mainWindow)
    : QDialog(mainWindow), context_(context) {
    setObjectName(QStringLiteral("Toption2"));
    setWindowTitle(QStringLiteral("画像回転"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(322, 307);
    buildControls();
    buildButtons();
    buildStatusBar();
    placeWindow(mainWindow);
}

void RotationWindow::placeWindow(QWidget* mainWindow) {
    if (mainWindow) move(mainWindow->x() + 80, mainWindow->y() + 95);
    setRotateQuality(context_.settings.rotateQuality);
}

void RotationWindow::buildControls() {
    headingLabel = named(new QLabel(QStringLiteral("連続画像回転処理"), this), "Label1");
    headingLabel->setGeometry(10, 6, 200, 20);
    QFont heading = headingLabel->font();
    heading.setBold(true);
    headingLabel->setFont(heading);
    colourOnlyLabel =
        named(new QLabel(QStringLiteral("フルカラー以外では使用できません"), this), "Label3");
    colourOnlyLabel->setGeometry(10, 26, 220, 18);
    colourOnlyLabel->setStyleSheet(QStringLiteral("color: #c00000;"));
    previewPanel = named(new QFrame(this), "Panel2");
    previewPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    previewPanel->setGeometry(8, 48, kPreviewSide + 4, kPreviewSide + 4);
    previewPanel->setToolTip(QStringLiteral("画像確認のため縮小して表示します。"));
    previewPanel->setContextMenuPolicy(Qt::CustomContextMenu);
    previewImage = named(new QLabel(previewPanel), "Image2");
    previewImage->setGeometry(2, 2, kPreviewSide, kPreviewSide);
    previewImage->setScaledContents(true);
    previewImage->setToolTip(previewPanel->toolTip());
    previewImage->setContextMenuPolicy(Qt::NoContextMenu);
    rotateMenu = named(new QMenu(this), "PopupMenu1");
    rotateRightAction = named(rotateMenu->addAction(QStringLiteral("右回転")), "N1");
    rotateLeftAction = named(rotateMenu->addAction(QStringLiteral("左回転")), "N2");
    connect(previewPanel, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { rotateMenu->popup(previewPanel->mapToGlobal(at)); });
    qualityLabel = named(new QLabel(QStringLiteral("圧縮率(&Q)"), this), "Label2");
    qualityLabel->setGeometry(222, 48, 90, 18);
    qualityEdit = named(new QSpinBox(this), "Edit1");
    qualityEdit->setGeometry(222, 68, 62, 24);
    const SettingRange& qualities = settingRow(&CatalogSettings::rotateQuality)->range;
    qualityEdit->setRange(qualities.minimum, qualities.maximum);
    qualityEdit->setToolTip(
        QStringLiteral("保存する画像の圧縮率です。（大きい数字の方が高画質です。）"));
    qualityEdit->setAccessibleDescription(qualityEdit->toolTip());
    qualityLabel->setBuddy(qualityEdit);
    // The warning is shown only for a photograph that is not in full colour.
    colourOnlyLabel->hide();
    notTurnedLabel = named(new QLabel(this), "LabelNotTurned");
    notTurnedLabel->setGeometry(10, 26, 304, 18);
    notTurnedLabel->setStyleSheet(colourOnlyLabel->styleSheet());
    notTurnedLabel->hide();
    losslessCheck =
        named(new QCheckBox(QStringLiteral("可能なら無劣化で回転(&L)"), this), "CheckLossless");
    losslessCheck->setGeometry(10, 258, 204, 24);
    losslessCheck->setToolTip(
        QStringLiteral("画像の大きさが合えば、圧縮し直さずに回転します。"
                       "合わない画像は圧縮率に従って保存します。"));
    losslessCheck->setChecked(context_.settings.rotateLossless == QLatin1String("on"));
    connect(losslessCheck, &QCheckBox::toggled, this, [this](bool on) {
        context_.settings.rotateLossless = on ? QStringLiteral("on") : QStringLiteral("off");
    });
}

void RotationWindow::buildButtons() {
    struct Spec {
        QPushButton** button;
        const char* name;
        QString caption;
        QString hint;
        int top;
    };
    const Spec specs[] = {
        {&rotateRightButton, "Button1", QStringLiteral("右回転(&R)"),
         QStringLiteral("画像を右に９０度回転します。"), 100},
        {&rotateLeftButton, "Button2", QStringLiteral("左回転(&T)"),
         QStringLiteral("画像を左に９０度回転します。"), 128},
        {&nextButton, "Button3", QStringLiteral("次へ"),
         QStringLiteral("保存せず次の画像を開きます。"), 166},
        {&saveNextButton, "Button4", saveAndNextText(), saveAndNextHint(), 194},
        {&backButton, "Button6", QStringLiteral("戻る"), QString(), 222},
        {&closeButton, "Button5", QStringLiteral("終了"),
         QStringLiteral("連続画像回転処理のウィンドウを閉じます。"), 256},
    };
    for (const Spec& spec : specs) {
        QPushButton* button = named(new QPushButton(spec.caption, this), spec.name);
        button->setGeometry(222, spec.top, 92, 26);
        button->setToolTip(spec.hint);
        *spec.button = button;
    }
    // Enter in the quality box saves and moves on, as the button does.
    saveNextButton->setDefault(true);
    connect(rotateRightButton, &QPushButton::clicked, this, &RotationWindow::rotateRight);
    connect(rotateLeftButton, &QPushButton::clicked, this, &RotationWindow::rotateLeft);
    connect(nextButton, &QPushButton::clicked, this, &RotationWindow::skipToNext);
    connect(saveNextButton, &QPushButton::clicked, this, &RotationWindow::saveAndNext);
    connect(closeButton, &QPushButton::clicked, this, &RotationWindow::finish);
    connect(backButton, &QPushButton::clicked, this, &RotationWindow::goBack);
    connect(rotateRightAction, &QAction::triggered, rotateRightButton, &QPushButton::click);
    connect(rotateLeftAction, &QAction::triggered, rotateLeftButton, &QPushButton::click);
}

void RotationWindow::buildStatusBar() {
    statusLine = named(new QStatusBar(this), "StatusBar1");
    statusLine->setSizeGripEnabled(false);
    statusLine->setGeometry(0, 287, 322, 20);
    const int widths[3] = {30, 30, 70};  // the rest shows the name of the photograph
    for (int i = 0; i < 3; ++i) {
        panels_[i] = new QLabel(statusLine);
        panels_[i]->setFixedWidth(widths[i]);
    }
    namePanel_ = new ElidedLabel(statusLine);
    // Screen readers read each cell's text; the description says what it is.
    const QString meaning[4] = {QStringLiteral("空き欄"), QStringLiteral("空き欄"),
                                QStringLiteral("表示中の画像の番号と選んだ枚数"),
                                QStringLiteral("表示中の画像の名前")};
    for (int i = 0; i < 4; ++i) {
        QLabel* panel = i < 3 ? panels_[i] : namePanel_;
        panel->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(i));
        panel->setAccessibleDescription(meaning[i]);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        statusLine->addWidget(panel, i < 3 ? 0 : 1);
    }
    panels_[2]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void RotationWindow::setRotateQuality(int quality) { qualityEdit->setValue(quality); }

QString RotationWindow::panelText(int panel) const {
    if (panel == 3) return namePanel_->text();
    return panel >= 0 && panel < 3 ? panels_[panel]->text() : QString();
}

QSize RotationWindow::fitPreview(int w, int h) {
    if (w <= 0 || h <= 0) return QSize(kPreviewSide, kPreviewSide);
    const long double ratio = h < w ? (long double)h / w : (long double)w / h;
    const int side = qMax(1, int(roundHalfEven(ratio * kPreviewSide)));
    return h < w ? QSize(kPreviewSide, side) : QSize(side, kPreviewSide);
}

bool RotationWindow::prepare(const QString& folder, const QListWidget* imageList) {
    folder_ = folderPath(folder);
    rows_.clear();
    names_.clear();
    reencoded_ = 0;
    quarterTurns_ = 0;
    notice_.clear();
    nextButton->setEnabled(true);
    backButton->setEnabled(false);
    bool turnable = false;
    for (int i = 0; imageList && i < imageList->count(); ++i) {
        const QListWidgetItem* item = imageList->item(i);
        if (!item->isSelected()) continue;
        rows_.push_back(i);
        names_ << item->text();
        turnable = turnable || RotationJob::isRotatableName(item->text());
    }
    if (!turnable) {
        context_.prompts.information(
            parentWidget(), rows_.empty() ? RotationJob::noFileMessage() : noneTurnableMessage());
        return false;
    }
    firstIndex_ = rows_.front();
    lastIndex_ = rows_.back();
    selectedCount_ = static_cast<int>(rows_.size());
    currentIndex_ = firstIndex_;
    shownNumber_ = 1;
    showCounter();
    loadCurrent();
    if (!hasPicture_ && RotationJob::isRotatableName(currentName())) return false;
    markLastPosition();
    return true;
}

void RotationWindow::openFor(const QString& folder, const QListWidget* imageList) {
    if (prepare(folder, imageList)) exec();
}

int RotationWindow::positionOf(int row) const {
    const auto at = std::find(rows_.begin(), rows_.end(), row);
    return at == rows_.end() ? -1 : static_cast<int>(at - rows_.begin());
}

QString RotationWindow::currentName() const {
    const int position = positionOf(currentIndex_);
    return position < 0 ? QString() : names_[position];
}

int RotationWindow::nextSelected(int from, int step) const {
    const int position = positionOf(from) + step;
    return position >= 0 && position < static_cast<int>(rows_.size()) ? rows_[position] : from;
}

// The counter, and the name of the photograph on screen beside it; a notice about the
// photograph just saved stays until the next move.
void RotationWindow::showCounter() {
    panels_[2]->setText(counterText(shownNumber_) + QLatin1Char('/') + counterText(selectedCount_));
    if (notice_.isEmpty()) {
        namePanel_->setText(currentName());
        namePanel_->setToolTip(currentName());
    }
    notice_.clear();
}

// Reads the current image. A file that cannot be read leaves no picture behind, so the
// previous image can never be saved over it.
void RotationWindow::loadCurrent() {
    notTurnedLabel->hide();
    if (!RotationJob::isRotatableName(currentName())) {
        showOtherFormat();
        return;
    }
    try {
        picture_ = RotationJob::loadPhotograph(folder_ + currentName());
        hasPicture_ = true;
        showColourWarning();
        quarterTurns_ = 0;
        previewImage->resize(fitPreview(picture_.width(), picture_.height()));
        showPicture();
    } catch (const Error& error) {
        clearPicture();
        context_.prompts.error(this, error.message());
    } catch (const std::bad_alloc&) {
        clearPicture();
        context_.prompts.error(this, outOfMemoryMessage());
    }
}

// A photograph that is not turned: the reason above it, the picture when it can be read.
void RotationWindow::showOtherFormat() {
    clearPicture();
    quarterTurns_ = 0;
    notTurnedLabel->setText(notTurnedReason(currentName()));
    notTurnedLabel->show();
    try {
        const QImage shown = DisplayPicture::readReduced(folder_ + currentName(), kPreviewSide);
        previewImage->resize(fitPreview(shown.width(), shown.height()));
        previewImage->setPixmap(QPixmap::fromImage(shown));
        previewImage->show();
    } catch (const Error&) {
        // The reason and the name in the status line say enough.
    } catch (const std::bad_alloc&) {
    }
}

QString RotationWindow::notTurnedReason(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    QString kind = dot < 0 ? QString() : name.mid(dot + 1).toUpper();
    if (kind == QLatin1String("WEBP")) kind = QStringLiteral("WebP");
    const QString what = kind.isEmpty()                  ? QStringLiteral("この画像")
                         : kind == QLatin1String("JPEG") ? QStringLiteral(".jpeg の画像")
                                                         : kind + QStringLiteral(" 画像");
    return what + QStringLiteral("は回転できません（.jpg のみ回転します）");
}

QString RotationWindow::noneTurnableMessage() {
    return QStringLiteral(
        "選択されている画像はどれも回転できません。\n"
        "回転できるのは JPEG 画像（拡張子 .jpg）だけです。");
}

void RotationWindow::showPicture() {
    previewImage->setPixmap(QPixmap::fromImage(DisplayPicture::toImage(picture_)));
    previewImage->show();
    previewImage->repaint();
    rotateRightButton->setEnabled(true);
    rotateLeftButton->setEnabled(true);
    saveNextButton->setEnabled(true);
}

void RotationWindow::clearPicture() {
    picture_ = PixelImage();
    hasPicture_ = false;
    colourOnlyLabel->hide();
    previewImage->clear();
    rotateRightButton->setEnabled(false);
    rotateLeftButton->setEnabled(false);
    saveNextButton->setEnabled(false);
}

void RotationWindow::markLastPosition() {
    const bool last = currentIndex_ == lastIndex_;
    nextButton->setEnabled(!last);
    showSaveCaption(last);
}

// The save button's caption and hint say whether it moves on or closes the window.
void RotationWindow::showSaveCaption(bool closes) {
    saveNextButton->setText(closes ? saveAndCloseText() : saveAndNextText());
    saveNextButton->setToolTip(closes ? saveAndCloseHint() : saveAndNextHint());
}

void RotationWindow::showColourWarning() {
    QImageReader reader(folder_ + currentName(), "jpeg");
    const QImage::Format format = reader.imageFormat();
    colourOnlyLabel->setVisible(format != QImage::Format_Invalid &&
                                QImage::toPixelFormat(format).colorModel() != QPixelFormat::RGB);
}

void RotationWindow::rotate(Turn turn) {
    if (!hasPicture_) return;
    try {
        PixelImage turned = RotationJob::turned(picture_, turn);
        previewImage->resize(fitPreview(turned.width(), turned.height()));
        previewImage->hide();
        previewImage->clear();
        picture_ = std::move(turned);
        quarterTurns_ = (quarterTurns_ + (turn == Turn::Right ? 1 : 3)) % 4;
        showPicture();
    } catch (const Error& error) {
        context_.prompts.error(this, error.message());
    } catch (const std::bad_alloc&) {
        context_.prompts.error(this, outOfMemoryMessage());
    }
}

void RotationWindow::rotateRight() { rotate(Turn::Right); }

void RotationWindow::rotateLeft() { rotate(Turn::Left); }

void RotationWindow::moveToNext() {
    currentIndex_ = nextSelected(currentIndex_, 1);
    ++shownNumber_;
    showCounter();
    loadCurrent();
    markLastPosition();
}

QString RotationWindow::reencodedNotice(const QString& name) {
    return name + QStringLiteral(": 圧縮し直して保存");
}

QString RotationWindow::reencodedSummary(int count) {
    return QStringLiteral("%1 枚は無劣化では回転できない大きさのため、圧縮し直して保存しました。")
        .arg(count);
}

// Ends the batch: the re-encoded photographs are told once, in one notice.
void RotationWindow::closeWindow() {
    showSaveCaption(false);
    nextButton->setEnabled(true);
    if (reencoded_ > 0) context_.prompts.information(this, reencodedSummary(reencoded_));
    reencoded_ = 0;
    quarterTurns_ = 0;
    QDialog::reject();
}

void RotationWindow::reject() {
    if (keepTurnBeforeClosing()) closeWindow();
}

// False when the window is to stay open: the user cancelled, or the save asked for failed.
bool RotationWindow::keepTurnBeforeClosing() {
    if (!hasPicture_ || quarterTurns_ == 0) return true;
    switch (context_.prompts.questionWithCancel(this, QStringLiteral("変更を保存しますか？"))) {
        case Prompts::Answer::Yes:
            return store();
        case Prompts::Answer::No:
            return true;
        case Prompts::Answer::Cancel:
            break;
    }
    return false;
}

void RotationWindow::skipToNext() {
    backButton->setEnabled(true);
    if (currentIndex_ == lastIndex_) {
        closeWindow();
        return;
    }
    moveToNext();
}

void RotationWindow::saveAndNext() {
    backButton->setEnabled(true);
    if (!hasPicture_) return;
    if (!store()) return;
    if (currentIndex_ == lastIndex_) {
        closeWindow();
        return;
    }
    moveToNext();
}

// Turns the photograph's file as the picture in hand was turned, backed up, under its lock.
bool RotationWindow::store() {
    const Turn turns[4] = {Turn::None, Turn::Right, Turn::Half, Turn::Left};
    const bool lossless = losslessCheck->isChecked();
    const RotationJob job(folder_, qualityEdit->value(),
                          context_.settings.isOn(&CatalogSettings::rotateBackup), lossless);
    RotationJob::Step step = RotationJob::Step::Reading;
    QStringList warnings;  // what the photograph's EXIF data could not keep
    try {
        if (!job.rotateFile(currentName(), turns[quarterTurns_], &step, &warnings) && lossless) {
            // Told in the status line now and counted for the notice at the end.
            ++reencoded_;
            notice_ = reencodedNotice(currentName());
            namePanel_->setText(notice_);
            namePanel_->setToolTip(RotationJob::notLosslessMessage(currentName()));
        }
        quarterTurns_ = 0;
        statusLine->setToolTip(warnings.join(QLatin1Char('\n')));  // whole, when cut short
        statusLine->showMessage(warnings.join(QLatin1Char(' ')));  // empty: the panels again
    } catch (const Error& error) {
        context_.prompts.error(this, step == RotationJob::Step::Reading ? error.message()
                                     : step == RotationJob::Step::BackingUp
                                         ? RotationJob::backupErrorMessage()
                                         : RotationJob::saveErrorMessage());
        return false;
    } catch (const std::bad_alloc&) {
        context_.prompts.error(this, outOfMemoryMessage());
        return false;
    }
    return true;
}

void RotationWindow::finish() { reject(); }

void RotationWindow::goBack() {
    if (firstIndex_ < currentIndex_) {
        currentIndex_ = nextSelected(currentIndex_, -1);
        --shownNumber_;
        showCounter();
        loadCurrent();
    } else {
        backButton->setEnabled(false);
    }
    if (hasPicture_) {
        rotateRightButton->setEnabled(true);
        rotateLeftButton->setEnabled(true);
    }
    nextButton->setEnabled(true);
    showSaveCaption(false);
}

}  // namespace tessaly
