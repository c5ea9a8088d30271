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
    : QMainWindow(parent), context_{settings_, prompts, shell}, sounds_(new WindowSounds(this)) {
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
    setTabOrder(executeButton, viewButton);
    setTabOrder(viewButton, rotateButton);
    const QString home = settings_.homeFolder();
    navigator_ =
        std::make_unique<FolderNavigator>(*volumeBox, *folderList, *fileList, *titleEdit, home);
    preview_ = std::make_unique<ImagePreview>(*previewPanel, *previewImage);
    runner_ = std::make_unique<MainRunner>(*this);
    connectHandlers();
    const QString start = settings_.startFolder;
    navigator_->openFolder(!start.isEmpty() && QFileInfo(start).isDir() ? start : home);
    move(settings_.windowLeft, settings_.windowTop);
    perRowEdit->setText(QString::number(perRowButtons->position()));
    rebuildImageList();
    previewImage->hide();
    previewImage->setEnabled(false);
    executeButton->setFocus();
}

MainWindow::~MainWindow() = default;

void MainWindow::connectHandlers() {
    connect(fileList, &FileList::contentsChanged, this, &MainWindow::rebuildImageList);
    connect(perRowButtons, &StepButtons::clicked, this,
            [this](int position) { perRowEdit->setText(QString::number(position)); });
    connect(upButton, &QPushButton::clicked, this, &MainWindow::moveUp);
    connect(downButton, &QPushButton::clicked, this, &MainWindow::moveDown);
    connect(selectAllButton, &QPushButton::clicked, this, &MainWindow::selectAllImages);
    connect(deselectButton, &QPushButton::clicked, this, &MainWindow::deselectAllImages);
    connect(nextFolderButton, &QPushButton::clicked, this, &MainWindow::openNextFolder);
    connect(executeButton, &QPushButton::clicked, this, &MainWindow::execute);
    connect(cancelButton, &QPushButton::clicked, this, &MainWindow::cancelRun);
    connect(viewButton, &QPushButton::clicked, this, &MainWindow::openViewer);
    connect(refreshButton, &QPushButton::clicked, this, &MainWindow::refreshFiles);
    connect(viewImageAction, &QAction::triggered, this, &MainWindow::openViewer);
    connect(moveToTopAction, &QAction::triggered, this, &MainWindow::moveToTop);
    connect(moveToBottomAction, &QAction::triggered, this, &MainWindow::moveToBottom);
    connect(refreshFoldersAction, &QAction::triggered, this, &MainWindow::refreshFiles);
    connect(refreshImagesAction, &QAction::triggered, this, &MainWindow::refreshFiles);
    connect(nextFolderAction, &QAction::triggered, this, &MainWindow::openNextFolder);
    connect(exitAction, &QAction::triggered, this, &QWidget::close);
    connect(imageList, &QListWidget::itemDoubleClicked, this, &MainWindow::imageListDoubleClick);
    imageList->viewport()->installEventFilter(this);
    // Nothing of the previous folder stays in the preview.
    connect(folderList, &FolderList::directoryChanged, this, [this] {
        preview_->hide();
        preview_->clear();
    });
    connect(imageList, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        imageListMenu->popup(imageList->viewport()->mapToGlobal(at));
    });
    connect(folderList, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        folderMenu->popup(folderList->viewport()->mapToGlobal(at));
    });
}

void MainWindow::setWindowSet(WindowSet* windows) { windows_ = windows; }

QString MainWindow::currentFolder() const { return folderList->directory(); }

QString MainWindow::currentDrive() const { return volumeBox->drive(); }

void MainWindow::openFolder(const QString& path) { navigator_->openFolder(path); }

bool MainWindow::runActive() const { return runner_->isActive(); }

void MainWindow::rebuildImageList() { ImageListOrder::rebuild(*imageList, fileList->files()); }

void MainWindow::showMoveRefusal() {
    context_.prompts.information(this, QStringLiteral("移動できません"));
}

void MainWindow::moveUp() {
    if (!ImageListOrder::moveUp(*imageList)) showMoveRefusal();
}

void MainWindow::moveDown() {
    if (!ImageListOrder::moveDown(*imageList)) showMoveRefusal();
}

void MainWindow::selectAllImages() { ImageListOrder::selectAll(*imageList, true); }

void MainWindow::deselectAllImages() { ImageListOrder::selectAll(*imageList, false); }

void MainWindow::openNextFolder() { navigator_->nextFolder(); }

// The run works on its own thread; the window closes after it when asked to meanwhile.
void MainWindow::execute() {
    if (runner_->isActive()) return;
    runner_->start([this] {
        if (closeAfterRun_) close();
    });
}

void MainWindow::cancelRun() { runner_->cancel(); }

void MainWindow::openViewer() {
    const int top = ImageListOrder::topmostSelected(*imageList);
    if (top < 0) return;
    for (int i = top; i < imageList->count(); ++i) {
        if (!imageList->item(i)->isSelected()) continue;
        if (!ImageListOrder::isJpegName(imageList->item(i)->text())) continue;
        try {
            preview_->showFile(folderPath(currentFolder()) + imageList->item(top)->text());
        } catch (const Error& error) {
            context_.prompts.error(this, error.message());
        } catch (const std::bad_alloc&) {
            context_.prompts.error(this, outOfMemoryMessage());
        }
        return;
    }
}

void MainWindow::refreshFiles() { navigator_->refresh(); }

void MainWindow::moveToTop() { ImageListOrder::moveToTop(*imageList); }

void MainWindow::moveToBottom() { ImageListOrder::moveToBottom(*imageList); }

void MainWindow::imageListDoubleClick() {
    const int top = ImageListOrder::topmostSelected(*imageList);
    if (top < 0) return;
    const QString prefix = folderPath(currentFolder());
    const QString name = imageList->item(top)->text();
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
    if (watched != imageList->viewport() ||
        (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick)) {
        return QMainWindow::eventFilter(watched, event);
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (imageList->indexAt(mouse->position().toPoint()).isValid() ||
        mouse->modifiers() != Qt::NoModifier) {
        return QMainWindow::eventFilter(watched, event);  // entries behave as usual
    }
    imageList->setFocus(Qt::MouseFocusReason);
    if (type == QEvent::MouseButtonDblClick && mouse->button() == Qt::LeftButton) {
        imageListDoubleClick();
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
        executeButton->setFocus();
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
