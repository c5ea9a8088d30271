#pragma once

#include <QMainWindow>
#include <array>
#include <memory>
#include <vector>

#include "core/settings/catalogsettings.h"
#include "gui/common/appcontext.h"
#include "gui/main/mainwindowcontrols.h"

class QListWidgetItem;

namespace tessaly {

class FolderNavigator;
class ImagePreview;
class MainRunner;
class WindowSounds;

// The windows the main window opens from its menus and buttons (WindowSet builds them).
enum class SecondaryWindow { Options, About, Help, Rotation, Contents, Converter, Comments };

// The fields of the status bar: the step or file, the phase, the image counter.
enum class StatusField { Step, Phase, Counter };

// The main window: folder choice, the ordered image list, preview, page title, images per
// row and the Execute button. It owns the settings record and keeps its controls to itself;
// the work behind them is done by small helpers (folder navigation, list moves, preview,
// catalogue run), and the catalogue run and the secondary windows reach it through the named
// methods below.
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

    // The open folder (no trailing "/" except the root) and the volume it lies on.
    QString currentFolder() const;
    QString currentDrive() const;
    // Opens a folder as the folder list does; falls back to the settings' homeFolder silently.
    void openFolder(const QString& path);
    bool runActive() const;
    // The catalogue runs started by execute().
    MainRunner& runner() { return *runner_; }

    // What a catalogue run reads: the image list in order with its selection, the page title,
    // the images per row and whether comments are wanted.
    QStringList imageNames() const;
    std::vector<bool> imageSelection() const;
    QString pageTitle() const;
    int imagesPerRow() const;
    bool commentsWanted() const;
    // The list takes photographs of every format, not JPEG only (the check box under it).
    bool allFormats() const;
    // The image list itself, for the rotation window, which steps through its selected entries.
    QListWidget* imageList() const { return ui_.imageList; }

    // What a catalogue run shows. While running, Execute gives way to Cancel (Esc stops too)
    // and the inputs are disabled; the comment box stays usable.
    void setRunning(bool running);
    void showStatus(StatusField field, const QString& text);
    void deselectImage(int index);
    ImagePreview& preview() { return *preview_; }

    // The menu items and buttons of a secondary window are enabled once it is available.
    void setWindowAvailable(SecondaryWindow window, bool available);
    // Asks for a secondary window, as its menu item does.
    void openWindow(SecondaryWindow window);

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
    void rebuildImageList();
    void setAllFormats(bool on);

signals:
    void windowRequested(SecondaryWindow window);

protected:
    // A double-click anywhere in the image list, below its last entry too, opens the viewer;
    // a click beside the entries keeps the selection it would act on.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Stores the window's place and size (the one thing kept at exit).
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void connectHandlers();
    void connectWindowCommands();
    void updateWindowCommands();
    void showMoveRefusal();
    void followCurrentImage(QListWidgetItem* current);
    void rememberFolder();

    CatalogSettings settings_;
    AppContext context_;
    MainWindowControls ui_;
    std::unique_ptr<FolderNavigator> navigator_;
    std::unique_ptr<ImagePreview> preview_;
    std::unique_ptr<MainRunner> runner_;
    WindowSounds* sounds_;             // a child of the window
    std::array<bool, 7> available_{};  // by SecondaryWindow
    bool running_ = false;
    bool rebuilding_ = false;    // the image list is being filled
    bool refusalShown_ = false;  // the status line says why no catalogue is made here
};

}  // namespace tessaly
