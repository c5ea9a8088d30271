#pragma once

#include <QMainWindow>
#include <array>
#include <memory>

#include "core/settings/catalogsettings.h"
#include "gui/common/appcontext.h"

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QSplitter;

namespace tessaly {

class VolumeBox;
class FileList;
class FolderList;
class FolderNavigator;
class ImagePreview;
class MainRunner;
class StepButtons;
class WindowSet;
class WindowSounds;

// The main window: folder choice, the ordered image list, preview, page title, images per
// row and the Execute button. It owns the settings record; the work behind its controls
// is done by small helpers (folder navigation, list moves, preview, catalogue run).
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Loads the settings of appFolder while it is built and opens the start folder.
    MainWindow(const QString& appFolder, Prompts& prompts, Shell& shell, QWidget* parent = nullptr);
    // The same for a program in appFolder whose settings live in settingsFolder (an installed
    // copy: see settingsFolderFor).
    MainWindow(const QString& appFolder, const QString& settingsFolder, Prompts& prompts,
               Shell& shell, QWidget* parent = nullptr);
    ~MainWindow() override;

    AppContext& context() { return context_; }
    CatalogSettings& settings() { return settings_; }
    // The secondary windows; their menu items and buttons are enabled as they are present.
    void setWindowSet(WindowSet* windows);
    WindowSet* windowSet() const { return windows_; }

    // The open folder (no trailing "/" except the root) and the volume it lies on.
    QString currentFolder() const;
    QString currentDrive() const;
    // Opens a folder as the folder list does; falls back to the settings' homeFolder silently.
    void openFolder(const QString& path);
    bool runActive() const;
    // The catalogue runs started by execute().
    MainRunner& runner() { return *runner_; }

    // Handlers (public so the helpers and tests can drive them).
    void moveUp();
    void moveDown();
    void selectAllImages();
    void deselectAllImages();
    void openNextFolder();
    void execute();
    void cancelRun();
    void openViewer();
    void refreshFiles();
    void moveToTop();
    void moveToBottom();
    void imageListDoubleClick();
    void restoreWindow();
    void rebuildImageList();

protected:
    // A double-click anywhere in the image list, below its last entry too, opens the viewer;
    // a click beside the entries keeps the selection it would act on.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The helpers that build the window, run catalogues from it and open its secondary windows
    // reach its controls by name.
    friend class MainWindowLayout;
    friend class MainRunner;
    friend class WindowSet;

    ImagePreview* preview() const { return preview_.get(); }

    void connectHandlers();
    void showMoveRefusal();

    CatalogSettings settings_;
    AppContext context_;
    std::unique_ptr<FolderNavigator> navigator_;
    std::unique_ptr<ImagePreview> preview_;
    std::unique_ptr<MainRunner> runner_;
    WindowSounds* sounds_;  // a child of the window
    WindowSet* windows_ = nullptr;
    bool closeAfterRun_ = false;

    // Controls, named as the users of this window know them; each carries its legacy form name
    // as objectName.
    QFrame* folderPanel = nullptr;
    VolumeBox* volumeBox = nullptr;
    FolderList* folderList = nullptr;
    FileList* fileList = nullptr;
    QPushButton* nextFolderButton = nullptr;
    QPushButton* executeButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QLabel* titleLabel = nullptr;
    QLineEdit* titleEdit = nullptr;
    QLabel* perRowLabel = nullptr;
    QLineEdit* perRowEdit = nullptr;
    StepButtons* perRowButtons = nullptr;
    QCheckBox* commentsCheck = nullptr;
    QLabel* fileTypeLabel = nullptr;
    QListWidget* imageList = nullptr;
    QSplitter* splitter = nullptr;
    QWidget* buttonColumn = nullptr;
    QPushButton* refreshButton = nullptr;
    QPushButton* selectAllButton = nullptr;
    QPushButton* deselectButton = nullptr;
    QPushButton* upButton = nullptr;
    QPushButton* downButton = nullptr;
    QPushButton* viewButton = nullptr;
    QPushButton* rotateButton = nullptr;
    QFrame* previewPanel = nullptr;
    QLabel* previewCaption = nullptr;
    QLabel* previewImage = nullptr;
    QStatusBar* statusLine = nullptr;
    std::array<QLabel*, 3> statusPanels{};
    QMenu* fileMenu = nullptr;
    QMenu* settingsMenu = nullptr;
    QMenu* helpMenu = nullptr;
    QMenu* imageListMenu = nullptr;
    QMenu* folderMenu = nullptr;
    QAction* openRotationAction = nullptr;
    QAction* openContentsAction = nullptr;
    QAction* openConverterAction = nullptr;
    QAction* openCommentsAction = nullptr;
    QAction* exitAction = nullptr;
    QAction* optionsAction = nullptr;
    QAction* helpAction = nullptr;
    QAction* aboutAction = nullptr;
    QAction* viewImageAction = nullptr;
    QAction* moveToTopAction = nullptr;
    QAction* moveToBottomAction = nullptr;
    QAction* refreshImagesAction = nullptr;
    QAction* nextFolderAction = nullptr;
    QAction* refreshFoldersAction = nullptr;
};

}  // namespace tessaly
