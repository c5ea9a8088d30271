#include "gui/main/mainwindow.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSplitter>
#include <new>

#include "core/text/errors.h"
#include "core/text/formatting.h"
#include "gui/common/filelist.h"
#include "gui/common/folderlist.h"
#include "gui/common/volumebox.h"
#include "gui/main/foldernavigator.h"
#include "gui/main/imagelistorder.h"
#include "gui/main/imagepreview.h"
#include "gui/main/mainrunner.h"
#include "gui/main/mainwindowlayout.h"
#include "gui/main/programicon.h"
#include "gui/main/windowsounds.h"
#include "gui/options/stepbuttons.h"

namespace tessaly {

MainWindow::MainWindow(const QString& appFolder, Prompts& prompts, Shell& shell, QWidget* parent)
    : MainWindow(appFolder, appFolder, prompts, shell, parent) {}

MainWindow::MainWindow(const QString& appFolder, const QString& settingsFolder, Prompts& prompts,
                       Shell& shell, QWidget* parent)
    : QMainWindow(parent),
      context_{settings_, prompts, shell},
      sounds_(std::make_unique<WindowSounds>()) {
    setObjectName(QStringLiteral("TMain"));
    setWindowTitle(QStringLiteral("Tessaly for Windows95,NT4.0"));
    setWindowIcon(ProgramIcon::icon());
    MainWindowLayout::build(*this);
    resize(521, 365);
    try {
        settings_ = loadSettings(appFolder, settingsFolder);
    } catch (const Error& error) {
        prompts.error(this, error.message());
        settings_.appFolder = appFolder;
        if (settingsFolder != appFolder) settings_.settingsFolder = settingsFolder;
    }
    setTabOrder(Button7, Button9);
    setTabOrder(Button9, Button6);
    const QString home = settings_.homeFolder();
    navigator_ = std::make_unique<FolderNavigator>(*Drive1, *Dir1, *File1, *HPtytlebox, home);
    preview_ = std::make_unique<ImagePreview>(*Panel2, *Image1);
    runner_ = std::make_unique<MainRunner>(*this);
    connectHandlers();
    const QString start = settings_.startFolder;
    navigator_->openFolder(!start.isEmpty() && QFileInfo(start).isDir() ? start : home);
    move(settings_.windowLeft, settings_.windowTop);
    edit2->setText(QString::number(UpDown1->position()));
    rebuildImageList();
    Image1->hide();
    Image1->setEnabled(false);
    Button7->setFocus();
}

MainWindow::~MainWindow() = default;

void MainWindow::connectHandlers() {
    connect(File1, &FileList::contentsChanged, this, &MainWindow::rebuildImageList);
    connect(UpDown1, &StepButtons::clicked, this,
            [this](int position) { edit2->setText(QString::number(position)); });
    connect(Button1, &QPushButton::clicked, this, &MainWindow::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &MainWindow::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &MainWindow::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &MainWindow::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &MainWindow::Button5Click);
    connect(Button7, &QPushButton::clicked, this, &MainWindow::Button7Click);
    connect(Button8, &QPushButton::clicked, this, &MainWindow::Button8Click);
    connect(Button9, &QPushButton::clicked, this, &MainWindow::Button9Click);
    connect(Button11, &QPushButton::clicked, this, &MainWindow::Button11Click);
    connect(N4, &QAction::triggered, this, &MainWindow::Button9Click);
    connect(maxup, &QAction::triggered, this, &MainWindow::maxupClick);
    connect(maxdown, &QAction::triggered, this, &MainWindow::maxdownClick);
    connect(Refresh1, &QAction::triggered, this, &MainWindow::Button11Click);
    connect(Refresh2, &QAction::triggered, this, &MainWindow::Button11Click);
    connect(N6, &QAction::triggered, this, &MainWindow::Button5Click);
    connect(Exit1, &QAction::triggered, this, &QWidget::close);
    connect(OldFile, &QListWidget::itemDoubleClicked, this, &MainWindow::OldFileDblClick);
    OldFile->viewport()->installEventFilter(this);
    // Nothing of the previous folder stays in the preview.
    connect(Dir1, &FolderList::directoryChanged, this, [this] {
        preview_->hide();
        preview_->clear();
    });
    connect(OldFile, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(OldFile->viewport()->mapToGlobal(at)); });
    connect(Dir1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu2->popup(Dir1->viewport()->mapToGlobal(at)); });
}

void MainWindow::setWindowSet(WindowSet* windows) { windows_ = windows; }

QString MainWindow::currentFolder() const { return Dir1->directory(); }

QString MainWindow::currentDrive() const { return Drive1->drive(); }

void MainWindow::openFolder(const QString& path) { navigator_->openFolder(path); }

bool MainWindow::runActive() const { return runner_->isActive(); }

void MainWindow::rebuildImageList() { ImageListOrder::rebuild(*OldFile, File1->files()); }

void MainWindow::showMoveRefusal() {
    context_.prompts.information(this, QStringLiteral("移動できません"));
}

void MainWindow::Button1Click() {
    if (!ImageListOrder::moveUp(*OldFile)) showMoveRefusal();
}

void MainWindow::Button2Click() {
    if (!ImageListOrder::moveDown(*OldFile)) showMoveRefusal();
}

void MainWindow::Button3Click() { ImageListOrder::selectAll(*OldFile, true); }

void MainWindow::Button4Click() { ImageListOrder::selectAll(*OldFile, false); }

void MainWindow::Button5Click() { navigator_->nextFolder(); }

void MainWindow::Button7Click() {
    if (runner_->isActive()) return;
    runner_->execute();
    if (closeAfterRun_) close();
}

void MainWindow::Button8Click() { runner_->cancel(); }

void MainWindow::Button9Click() {
    const int top = ImageListOrder::topmostSelected(*OldFile);
    if (top < 0) return;
    for (int i = top; i < OldFile->count(); ++i) {
        if (!OldFile->item(i)->isSelected()) continue;
        if (!ImageListOrder::isJpegName(OldFile->item(i)->text())) continue;
        try {
            preview_->showFile(folderPath(currentFolder()) + OldFile->item(top)->text());
        } catch (const Error& error) {
            context_.prompts.error(this, error.message());
        } catch (const std::bad_alloc&) {
            context_.prompts.error(this, outOfMemoryMessage());
        }
        return;
    }
}

void MainWindow::Button11Click() { navigator_->refresh(); }

void MainWindow::maxupClick() { ImageListOrder::moveToTop(*OldFile); }

void MainWindow::maxdownClick() { ImageListOrder::moveToBottom(*OldFile); }

void MainWindow::OldFileDblClick() {
    const int top = ImageListOrder::topmostSelected(*OldFile);
    if (top < 0) return;
    const QString prefix = folderPath(currentFolder());
    const QString name = OldFile->item(top)->text();
    if (ImageListOrder::isJpegName(name) && !settings_.viewerPath.isEmpty()) {
        context_.shell.startProgram(settings_.viewerPath, name, prefix);
    } else {
        context_.shell.openDocument(prefix + name);
    }
}

void MainWindow::restoreWindow() {
    runner_->setInputsEnabled(true);
    navigator_->refresh();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched != OldFile->viewport() ||
        (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick)) {
        return QMainWindow::eventFilter(watched, event);
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (OldFile->indexAt(mouse->position().toPoint()).isValid() ||
        mouse->modifiers() != Qt::NoModifier) {
        return QMainWindow::eventFilter(watched, event);  // entries behave as usual
    }
    OldFile->setFocus(Qt::MouseFocusReason);
    if (type == QEvent::MouseButtonDblClick && mouse->button() == Qt::LeftButton) {
        OldFileDblClick();
    }
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (runner_->isActive()) {
        // The run ends first (its pages are closed properly); the window closes after it.
        closeAfterRun_ = true;
        runner_->cancel();
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    QWidget* focus = focusWidget();
    if (focus == nullptr || focus == this) {
        Button7->setFocus();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        const auto previous = static_cast<QWindowStateChangeEvent*>(event)->oldState();
        if (isMinimized() && !(previous & Qt::WindowMinimized)) sounds_->play("Minimize");
        if (!isMinimized() && (previous & Qt::WindowMinimized)) sounds_->play("RestoreUp");
    }
    QMainWindow::changeEvent(event);
}

}  // namespace tessaly
