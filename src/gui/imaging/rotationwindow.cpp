#include "gui/imaging/rotationwindow.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QStatusBar>
#include <new>
#include <optional>

#include "core/imaging/photolock.h"
#include "core/text/errors.h"
#include "core/text/formatting.h"
#include "gui/common/elidedlabel.h"
#include "gui/imaging/displaypicture.h"
#include "gui/options/stepbuttons.h"

namespace tessaly {

namespace {

const int kPreviewSide = 200;

QString saveAndNextText() { return QStringLiteral("保存して次へ"); }
QString saveAndCloseText() { return QStringLiteral("保存して終了"); }

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
    FormCreate(mainWindow);
}

void RotationWindow::FormCreate(QWidget* mainWindow) {
    if (mainWindow) move(mainWindow->x() + 80, mainWindow->y() + 95);
    setRotateQuality(context_.settings.rotateQuality);
}

void RotationWindow::buildControls() {
    Label1 = named(new QLabel(QStringLiteral("連続画像回転処理"), this), "Label1");
    Label1->setGeometry(10, 6, 200, 20);
    QFont heading = Label1->font();
    heading.setBold(true);
    Label1->setFont(heading);
    Label3 = named(new QLabel(QStringLiteral("フルカラー以外では使用できません"), this), "Label3");
    Label3->setGeometry(10, 26, 220, 18);
    Label3->setStyleSheet(QStringLiteral("color: #c00000;"));
    Panel2 = named(new QFrame(this), "Panel2");
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel2->setGeometry(8, 48, kPreviewSide + 4, kPreviewSide + 4);
    Panel2->setToolTip(QStringLiteral("画像確認のため縮小して表示します。"));
    Panel2->setContextMenuPolicy(Qt::CustomContextMenu);
    Image2 = named(new QLabel(Panel2), "Image2");
    Image2->setGeometry(2, 2, kPreviewSide, kPreviewSide);
    Image2->setScaledContents(true);
    Image2->setToolTip(Panel2->toolTip());
    Image2->setContextMenuPolicy(Qt::NoContextMenu);
    PopupMenu1 = named(new QMenu(this), "PopupMenu1");
    N1 = named(PopupMenu1->addAction(QStringLiteral("右回転")), "N1");
    N2 = named(PopupMenu1->addAction(QStringLiteral("左回転")), "N2");
    connect(Panel2, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(Panel2->mapToGlobal(at)); });
    Label2 = named(new QLabel(QStringLiteral("圧縮率"), this), "Label2");
    Label2->setGeometry(222, 48, 90, 18);
    Edit1 = named(new QLineEdit(this), "Edit1");
    Edit1->setGeometry(222, 68, 44, 24);
    Edit1->setReadOnly(true);
    Edit1->setMaxLength(3);
    Edit1->setToolTip(
        QStringLiteral("保存する画像の圧縮率です。 （大きい数字の方が高画質です。）"));
    // The arrows are the only way to change the quality: they take no focus, keys or wheel.
    UpDown1 = named(new StepButtons(this), "UpDown1");
    UpDown1->setGeometry(266, 68, 18, 24);
    UpDown1->setRange(50, 100);
    connect(UpDown1, &StepButtons::clicked, this, &RotationWindow::UpDown1Click);
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
        {&Button1, "Button1", QStringLiteral("右回転"),
         QStringLiteral("画像を右に９０度回転します。"), 100},
        {&Button2, "Button2", QStringLiteral("左回転"),
         QStringLiteral("画像を左に９０度回転します。"), 128},
        {&Button3, "Button3", QStringLiteral("次へ"),
         QStringLiteral("保存せず次の画像を開きます。"), 166},
        {&Button4, "Button4", saveAndNextText(),
         QStringLiteral("表示されている画像を上書きして保存後次の画像を開きます。"), 194},
        {&Button6, "Button6", QStringLiteral("戻る"), QString(), 222},
        {&Button5, "Button5", QStringLiteral("終了"),
         QStringLiteral("連続画像回転処理のウィンドウを閉じます。"), 256},
    };
    for (const Spec& spec : specs) {
        QPushButton* button = named(new QPushButton(spec.caption, this), spec.name);
        button->setGeometry(222, spec.top, 92, 26);
        button->setToolTip(spec.hint);
        button->setAutoDefault(false);
        *spec.button = button;
    }
    connect(Button1, &QPushButton::clicked, this, &RotationWindow::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &RotationWindow::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &RotationWindow::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &RotationWindow::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &RotationWindow::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &RotationWindow::Button6Click);
    connect(N1, &QAction::triggered, Button1, &QPushButton::click);
    connect(N2, &QAction::triggered, Button2, &QPushButton::click);
}

void RotationWindow::buildStatusBar() {
    StatusBar1 = named(new QStatusBar(this), "StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setGeometry(0, 287, 322, 20);
    const int widths[3] = {30, 30, 70};  // the rest shows the name of the photograph
    for (int i = 0; i < 3; ++i) {
        panels_[i] = new QLabel(StatusBar1);
        panels_[i]->setFixedWidth(widths[i]);
    }
    namePanel_ = new ElidedLabel(StatusBar1);
    for (int i = 0; i < 4; ++i) {
        QLabel* panel = i < 3 ? panels_[i] : namePanel_;
        panel->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(i));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        StatusBar1->addWidget(panel, i < 3 ? 0 : 1);
    }
    panels_[2]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void RotationWindow::setRotateQuality(int quality) {
    UpDown1->setPosition(quality);
    Edit1->setText(QString::number(UpDown1->position()));
}

void RotationWindow::UpDown1Click(int position) { Edit1->setText(QString::number(position)); }

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

bool RotationWindow::prepare(const QString& folder, QListWidget* oldFile) {
    oldFile_ = oldFile;
    folder_ = folderPath(folder);
    firstIndex_ = lastIndex_ = -1;
    selectedCount_ = 0;
    Button3->setEnabled(true);
    Button6->setEnabled(false);
    for (int i = 0; oldFile && i < oldFile->count(); ++i) {
        QListWidgetItem* item = oldFile->item(i);
        if (!item->isSelected()) continue;
        if (!RotationJob::isRotatableName(item->text())) {
            item->setSelected(false);
            continue;
        }
        if (firstIndex_ == -1) firstIndex_ = i;
        lastIndex_ = i;
        ++selectedCount_;
    }
    if (lastIndex_ == -1) {
        context_.prompts.information(parentWidget(), RotationJob::noFileMessage());
        return false;
    }
    currentIndex_ = firstIndex_;
    shownNumber_ = 1;
    showCounter();
    loadCurrent();
    if (!hasPicture_) return false;
    markLastPosition();
    return true;
}

void RotationWindow::openFor(const QString& folder, QListWidget* oldFile) {
    if (prepare(folder, oldFile)) exec();
}

QString RotationWindow::currentName() const {
    const QListWidgetItem* item = oldFile_ ? oldFile_->item(currentIndex_) : nullptr;
    return item ? item->text() : QString();
}

int RotationWindow::nextSelected(int from, int step) const {
    for (int i = from + step; oldFile_ && i >= 0 && i < oldFile_->count(); i += step) {
        if (oldFile_->item(i)->isSelected()) return i;
    }
    return from;
}

// The counter, and the name of the photograph on screen beside it.
void RotationWindow::showCounter() {
    panels_[2]->setText(counterText(shownNumber_) + QLatin1Char('/') + counterText(selectedCount_));
    namePanel_->setText(currentName());
    namePanel_->setToolTip(currentName());
}

// Reads the current image. A file that cannot be read leaves no picture behind, so the
// previous image can never be saved over it.
void RotationWindow::loadCurrent() {
    try {
        picture_ = RotationJob::loadPhotograph(folder_ + currentName());
        hasPicture_ = true;
        Image2->resize(fitPreview(picture_.Width(), picture_.Height()));
        showPicture();
    } catch (const Error& error) {
        clearPicture();
        context_.prompts.error(this, error.message());
    } catch (const std::bad_alloc&) {
        clearPicture();
        context_.prompts.error(this, outOfMemoryMessage());
    }
}

void RotationWindow::showPicture() {
    Image2->setPixmap(QPixmap::fromImage(DisplayPicture::toImage(picture_)));
    Image2->show();
    Image2->repaint();
    Button1->setEnabled(true);
    Button2->setEnabled(true);
    Button4->setEnabled(true);
}

void RotationWindow::clearPicture() {
    picture_ = PixelImage();
    hasPicture_ = false;
    Image2->clear();
    Button1->setEnabled(false);
    Button2->setEnabled(false);
    Button4->setEnabled(false);
}

void RotationWindow::markLastPosition() {
    const bool last = currentIndex_ == lastIndex_;
    Button3->setEnabled(!last);
    Button4->setText(last ? saveAndCloseText() : saveAndNextText());
}

void RotationWindow::rotate(Turn turn) {
    if (!hasPicture_) return;
    try {
        PixelImage turned = RotationJob::turned(picture_, turn);
        Image2->resize(fitPreview(turned.Width(), turned.Height()));
        Image2->hide();
        Image2->clear();
        picture_ = std::move(turned);
        showPicture();
    } catch (const Error& error) {
        context_.prompts.error(this, error.message());
    } catch (const std::bad_alloc&) {
        context_.prompts.error(this, outOfMemoryMessage());
    }
}

void RotationWindow::Button1Click() { rotate(Turn::Right); }

void RotationWindow::Button2Click() { rotate(Turn::Left); }

void RotationWindow::moveToNext() {
    currentIndex_ = nextSelected(currentIndex_, 1);
    ++shownNumber_;
    showCounter();
    loadCurrent();
    markLastPosition();
}

void RotationWindow::closeWindow() {
    Button4->setText(saveAndNextText());
    Button3->setEnabled(true);
    reject();
}

void RotationWindow::Button3Click() {
    Button6->setEnabled(true);
    if (currentIndex_ == lastIndex_) {
        closeWindow();
        return;
    }
    moveToNext();
}

void RotationWindow::Button4Click() {
    Button6->setEnabled(true);
    if (!hasPicture_) return;
    if (!store()) return;
    if (currentIndex_ == lastIndex_) {
        closeWindow();
        return;
    }
    moveToNext();
}

// Backs up and saves the picture in hand while no other rotation works on the same file.
bool RotationWindow::store() {
    const RotationJob job(folder_, Edit1->text().toInt(),
                          context_.settings.rotateBackup == QLatin1String("on"));
    std::optional<PhotoLock> lock;
    try {
        lock.emplace(job.filePath(currentName()));
    } catch (const Error& error) {
        context_.prompts.error(this, error.message());
        return false;
    }
    try {
        job.backUp(currentName());
    } catch (const Error&) {
        context_.prompts.error(this, RotationJob::backupErrorMessage());
        return false;
    }
    try {
        job.save(picture_, currentName());
    } catch (const Error&) {
        context_.prompts.error(this, RotationJob::saveErrorMessage());
        return false;
    } catch (const std::bad_alloc&) {
        context_.prompts.error(this, outOfMemoryMessage());
        return false;
    }
    return true;
}

void RotationWindow::Button5Click() { closeWindow(); }

void RotationWindow::Button6Click() {
    if (firstIndex_ < currentIndex_) {
        currentIndex_ = nextSelected(currentIndex_, -1);
        --shownNumber_;
        showCounter();
        loadCurrent();
    } else {
        Button6->setEnabled(false);
    }
    if (hasPicture_) {
        Button1->setEnabled(true);
        Button2->setEnabled(true);
    }
    Button3->setEnabled(true);
    Button4->setText(saveAndNextText());
}

}  // namespace tessaly
