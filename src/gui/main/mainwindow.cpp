#include "gui/main/mainwindow.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <new>
#include <utility>

#include "core/imaging/reader/photoreader.h"
#include "core/settings/programfolders.h"
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
#include "gui/main/windowplacement.h"
#include "gui/main/windowsounds.h"

namespace tessaly {

MainWindow::MainWindow(const QString& appFolder, Prompts& prompts, Shell& shell, QWidget* parent)
    : MainWindow(appFolder, appFolder, prompts, shell, parent) {}

MainWindow::MainWindow(const QString& appFolder, const QString& settingsFolder, Prompts& prompts,
                       Shell& shell, QWidget* parent)
    : QMainWindow(parent),
      context_{settings_, prompts, shell},
      ui_(MainWindowLayout::build(*this)),
      sounds_(new WindowSounds(this)) {
    setObjectName(QStringLiteral("TMain"));
    setWindowTitle(QStringLiteral("Tessaly"));
    setWindowIcon(ProgramIcon::icon());
    try {
        settings_ = loadSettings(appFolder, settingsFolder);
    } catch (const Error& error) {
        prompts.error(this, error.message());
        settings_.appFolder = appFolder;
        if (settingsFolder != appFolder) settings_.settingsFolder = settingsFolder;
    }
    const QString home = settings_.homeFolder();
    navigator_ = std::make_unique<FolderNavigator>(
        *ui_.volumeBox, *ui_.folderList, *ui_.fileList, *ui_.titleEdit, home,
        [this](const QString& path) {
            return programFolderOf(path, settings_) != ProgramFolder::None;
        });
    preview_ = std::make_unique<ImagePreview>(*ui_.previewPanel, *ui_.previewImage);
    runner_ = std::make_unique<MainRunner>(*this);
    // A run reads the switch between images: it follows the box without asking the window.
    connect(ui_.commentsCheck, &QCheckBox::toggled, this,
            [this](bool on) { runner_->setCommentsWanted(on); });
    connectHandlers();
    connectWindowCommands();
    // The start folder when one is set, else the folder shown when the window was last closed.
    const QString start =
        settings_.startFolder.isEmpty() ? settings_.lastFolder : settings_.startFolder;
    navigator_->openFolder(!start.isEmpty() && QFileInfo(start).isDir() ? start : home);
    WindowPlacement::restore(*this, settings_);
    ui_.otherFormatsCheck->setChecked(settings_.isOn(&CatalogSettings::otherFormats));
    rebuildImageList();
    ui_.previewImage->hide();
    ui_.previewImage->setEnabled(false);
    ui_.executeButton->setFocus();
}

MainWindow::~MainWindow() = default;

void MainWindow::connectHandlers() {
    const MainWindowControls& c = ui_;
    connect(c.fileList, &FileList::contentsChanged, this, &MainWindow::rebuildImageList);
    connect(c.upButton, &QPushButton::clicked, this, &MainWindow::moveUp);
    connect(c.downButton, &QPushButton::clicked, this, &MainWindow::moveDown);
    connect(c.sortByDateButton, &QPushButton::clicked, this, [this] {
        if (ui_.imageList->isEnabled())
            ImageListOrder::sortByCaptureTime(*ui_.imageList, currentFolder(), allFormats());
    });
    connect(c.selectAllButton, &QPushButton::clicked, this, &MainWindow::selectAllImages);
    connect(c.deselectButton, &QPushButton::clicked, this, &MainWindow::deselectAllImages);
    connect(c.nextFolderButton, &QPushButton::clicked, this, &MainWindow::openNextFolder);
    connect(c.executeButton, &QPushButton::clicked, this, &MainWindow::execute);
    connect(c.otherFormatsCheck, &QCheckBox::toggled, this, &MainWindow::setAllFormats);
    connect(c.cancelButton, &QPushButton::clicked, this, &MainWindow::cancelRun);
    connect(c.viewButton, &QPushButton::clicked, this, &MainWindow::openViewer);
    connect(c.refreshButton, &QPushButton::clicked, this, &MainWindow::refreshFiles);
    connect(c.viewImageAction, &QAction::triggered, this, &MainWindow::openViewer);
    connect(c.moveToTopAction, &QAction::triggered, this, &MainWindow::moveToTop);
    connect(c.moveToBottomAction, &QAction::triggered, this, &MainWindow::moveToBottom);
    connect(c.refreshFoldersAction, &QAction::triggered, this, &MainWindow::refreshFiles);
    connect(c.refreshImagesAction, &QAction::triggered, this, &MainWindow::refreshFiles);
    connect(c.nextFolderAction, &QAction::triggered, this, &MainWindow::openNextFolder);
    connect(c.exitAction, &QAction::triggered, this, &QWidget::close);
    connect(c.imageList, &QListWidget::itemDoubleClicked, this, &MainWindow::imageListDoubleClick);
    c.imageList->viewport()->installEventFilter(this);
    connect(c.imageList, &QListWidget::currentItemChanged, this, &MainWindow::followCurrentImage);
    // Nothing of the previous folder stays in the preview.
    connect(c.folderList, &FolderList::directoryChanged, this, [this] {
        preview_->hide();
        preview_->clear();
        if (std::exchange(refusalShown_, false)) showStatus(StatusField::Step, QString());
    });
    connect(c.imageList, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        ui_.imageListMenu->popup(ui_.imageList->viewport()->mapToGlobal(at));
    });
    connect(c.folderList, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        ui_.folderMenu->popup(ui_.folderList->viewport()->mapToGlobal(at));
    });
}

void MainWindow::connectWindowCommands() {
    const std::pair<QAction*, SecondaryWindow> commands[] = {
        {ui_.optionsAction, SecondaryWindow::Options},
        {ui_.aboutAction, SecondaryWindow::About},
        {ui_.helpAction, SecondaryWindow::Help},
        {ui_.openRotationAction, SecondaryWindow::Rotation},
        {ui_.openContentsAction, SecondaryWindow::Contents},
        {ui_.openConverterAction, SecondaryWindow::Converter},
        {ui_.openCommentsAction, SecondaryWindow::Comments}};
    for (const auto& [action, window] : commands) {
        action->setData(static_cast<int>(window));
        connect(action, &QAction::triggered, this, [this, window = window] { openWindow(window); });
    }
    connect(ui_.rotateButton, &QPushButton::clicked, this,
            [this] { openWindow(SecondaryWindow::Rotation); });
    updateWindowCommands();
}

// A command is usable when its window is there and no run goes on (the menus are disabled
// as a whole during a run).
void MainWindow::updateWindowCommands() {
    for (QAction* action :
         {ui_.optionsAction, ui_.aboutAction, ui_.helpAction, ui_.openRotationAction,
          ui_.openContentsAction, ui_.openConverterAction, ui_.openCommentsAction})
        action->setEnabled(available_[static_cast<std::size_t>(action->data().toInt())]);
    ui_.rotateButton->setEnabled(!running_ && ui_.openRotationAction->isEnabled());
}

void MainWindow::setWindowAvailable(SecondaryWindow window, bool available) {
    available_[static_cast<std::size_t>(window)] = available;
    updateWindowCommands();
}

void MainWindow::openWindow(SecondaryWindow window) {
    if (available_[static_cast<std::size_t>(window)]) emit windowRequested(window);
}

QString MainWindow::currentFolder() const { return ui_.folderList->directory(); }

QString MainWindow::currentDrive() const { return ui_.volumeBox->drive(); }

void MainWindow::openFolder(const QString& path) { navigator_->openFolder(path); }

bool MainWindow::runActive() const { return runner_->isActive(); }

QStringList MainWindow::imageNames() const { return ImageListOrder::names(*ui_.imageList); }

std::vector<bool> MainWindow::imageSelection() const {
    return ImageListOrder::selectionFlags(*ui_.imageList);
}

QString MainWindow::pageTitle() const { return ui_.titleEdit->text(); }

int MainWindow::imagesPerRow() const { return ui_.perRowBox->value(); }

bool MainWindow::commentsWanted() const { return ui_.commentsCheck->isChecked(); }

void MainWindow::setRunning(bool running) {
    running_ = running;
    const MainWindowControls& c = ui_;
    c.executeButton->setVisible(!running);
    for (QWidget* control : std::initializer_list<QWidget*>{
             c.volumeBox, c.folderList, c.imageList, c.upButton, c.downButton, c.sortByDateButton,
             c.selectAllButton, c.deselectButton, c.nextFolderButton, c.viewButton, c.refreshButton,
             c.perRowBox, c.titleEdit, c.otherFormatsCheck}) {
        control->setEnabled(!running);
    }
    for (QMenu* menu : c.menus) menu->menuAction()->setEnabled(!running);
    updateWindowCommands();
    // The keys go to Cancel during the run and back to Execute after it.
    if (running) {
        c.cancelButton->show();
        c.cancelButton->setFocus();
    } else {
        if (focusWidget() == c.cancelButton) c.executeButton->setFocus();
        c.cancelButton->hide();
    }
}

void MainWindow::showStatus(StatusField field, const QString& text) {
    ui_.statusFields[static_cast<std::size_t>(field)]->setText(text);
}

void MainWindow::deselectImage(int index) {
    if (QListWidgetItem* entry = ui_.imageList->item(index)) entry->setSelected(false);
}

void MainWindow::rebuildImageList() {
    rebuilding_ = true;
    ImageListOrder::rebuild(*ui_.imageList, ui_.fileList->files(), allFormats());
    rebuilding_ = false;
}

// The preview shows the photo the user moves to in the list, by click or arrow key; one that
// cannot be decoded leaves it empty (画像表示 says why).
void MainWindow::followCurrentImage(QListWidgetItem* current) {
    if (rebuilding_ || running_ || current == nullptr) return;
    if (!isPhotoName(current->text(), allFormats())) return;
    try {
        preview_->showFile(folderPath(currentFolder()) + current->text());
    } catch (const Error&) {
        preview_->clear();
    } catch (const std::bad_alloc&) {
        preview_->clear();
    }
}

bool MainWindow::allFormats() const { return ui_.otherFormatsCheck->isChecked(); }

// The check box under the list: the list and its heading follow it, and the settings file
// keeps it for the next start.
void MainWindow::setAllFormats(bool on) {
    ui_.imageListHeading->setText(
        on ? QStringLiteral("画像(JPEG・PNG・WebP・AVIF・HEIC)ファイル(&L)")
           : QStringLiteral("画像(*.JPG)ファイル(&L)"));
    ui_.imageList->setAccessibleName(ui_.imageListHeading->text().remove(QStringLiteral("(&L)")));
    ui_.fileList->refresh();  // read again: the list is rebuilt from what the folder holds now
    const QString value = on ? QStringLiteral("on") : QStringLiteral("off");
    if (settings_.otherFormats == value || (!on && settings_.otherFormats.isEmpty())) return;
    settings_.otherFormats = value;
    try {
        saveSetting(settings_, &CatalogSettings::otherFormats);
    } catch (const Error&) {
    }
}

void MainWindow::showMoveRefusal() {
    context_.prompts.information(this, QStringLiteral("移動できません"));
}

void MainWindow::moveUp() {
    if (!ImageListOrder::moveUp(*ui_.imageList)) showMoveRefusal();
}

void MainWindow::moveDown() {
    if (!ImageListOrder::moveDown(*ui_.imageList)) showMoveRefusal();
}

void MainWindow::selectAllImages() { ImageListOrder::selectAll(*ui_.imageList, true); }

void MainWindow::deselectAllImages() { ImageListOrder::selectAll(*ui_.imageList, false); }

void MainWindow::openNextFolder() { navigator_->nextFolder(); }

// The run works on its own thread. None is made in a folder the program made for itself.
void MainWindow::execute() {
    if (runner_->isActive()) return;
    const QString refusal = programFolderMessage(currentFolder(), settings_);
    if (!refusal.isEmpty()) {
        showStatus(StatusField::Step, refusal.section(QLatin1Char('\n'), 0, 0));
        refusalShown_ = true;  // said of this folder only
        context_.prompts.information(this, refusal);
        return;
    }
    runner_->start();
}

void MainWindow::cancelRun() { runner_->cancel(); }

void MainWindow::openViewer() {
    const QListWidget& list = *ui_.imageList;
    const int top = ImageListOrder::topmostSelected(list);
    if (top < 0) return;
    for (int i = top; i < list.count(); ++i) {
        if (!list.item(i)->isSelected()) continue;
        if (!ImageListOrder::isJpegName(list.item(i)->text())) continue;
        try {
            preview_->showFile(folderPath(currentFolder()) + list.item(top)->text());
        } catch (const Error& error) {
            context_.prompts.error(this, error.message());
        } catch (const std::bad_alloc&) {
            context_.prompts.error(this, outOfMemoryMessage());
        }
        return;
    }
}

void MainWindow::refreshFiles() { navigator_->refresh(); }

void MainWindow::moveToTop() { ImageListOrder::moveToTop(*ui_.imageList); }

void MainWindow::moveToBottom() { ImageListOrder::moveToBottom(*ui_.imageList); }

void MainWindow::imageListDoubleClick() {
    const int top = ImageListOrder::topmostSelected(*ui_.imageList);
    if (top < 0) return;
    const QString prefix = folderPath(currentFolder());
    const QString name = ui_.imageList->item(top)->text();
    if (ImageListOrder::isJpegName(name) && !settings_.viewerPath.isEmpty()) {
        context_.shell.startProgram(settings_.viewerPath, name, prefix);
    } else {
        context_.shell.openDocument(prefix + name);
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    QListWidget* list = ui_.imageList;
    if (watched != list->viewport() ||
        (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick)) {
        return QMainWindow::eventFilter(watched, event);
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (list->indexAt(mouse->position().toPoint()).isValid() ||
        mouse->modifiers() != Qt::NoModifier) {
        return QMainWindow::eventFilter(watched, event);  // entries behave as usual
    }
    list->setFocus(Qt::MouseFocusReason);
    if (type == QEvent::MouseButtonDblClick && mouse->button() == Qt::LeftButton) {
        imageListDoubleClick();
    }
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A run stops without a notice; it ends its pages properly (or keeps the earlier ones)
    // while the program goes, which waits for it.
    runner_->abandon();
    WindowPlacement::store(*this, settings_);
    rememberFolder();
    QMainWindow::closeEvent(event);
}

// Esc stops a run as Cancel does; a key pressed while no control has the focus moves the
// focus to Execute.
void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && runner_->isActive()) {
        cancelRun();
        return;
    }
    QWidget* focus = focusWidget();
    if (focus == nullptr || focus == this) {
        ui_.executeButton->setFocus();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

// Keeps the folder shown in the settings file (its one line); a file that cannot take it is
// left alone.
void MainWindow::rememberFolder() {
    const QString shown = currentFolder();
    if (shown.isEmpty() || shown == settings_.lastFolder) return;
    settings_.lastFolder = shown;
    try {
        saveSetting(settings_, &CatalogSettings::lastFolder);
    } catch (const Error&) {
    }
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
