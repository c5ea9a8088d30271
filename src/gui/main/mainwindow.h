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

    // Handlers (public so the helpers and tests can drive them).
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button7Click();
    void Button8Click();
    void Button9Click();
    void Button11Click();
    void maxupClick();
    void maxdownClick();
    void OldFileDblClick();
    void restoreWindow();
    void rebuildImageList();

    // Controls, named as the users of this window know them.
    QFrame* Panel1 = nullptr;
    VolumeBox* Drive1 = nullptr;
    FolderList* Dir1 = nullptr;
    FileList* File1 = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* Button7 = nullptr;
    QPushButton* Button8 = nullptr;
    QLabel* Label7 = nullptr;
    QLineEdit* HPtytlebox = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* edit2 = nullptr;
    StepButtons* UpDown1 = nullptr;
    QCheckBox* CommentBox = nullptr;
    QLabel* Label1 = nullptr;
    QListWidget* OldFile = nullptr;
    QSplitter* Splitter1 = nullptr;
    QWidget* ButtonColumn = nullptr;
    QPushButton* Button11 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button9 = nullptr;
    QPushButton* Button6 = nullptr;
    QFrame* Panel2 = nullptr;
    QLabel* Panel3 = nullptr;
    QLabel* Image1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    std::array<QLabel*, 3> statusPanels{};
    QMenu* File2 = nullptr;
    QMenu* Edit1 = nullptr;
    QMenu* Help1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QMenu* PopupMenu2 = nullptr;
    QAction* N1 = nullptr;
    QAction* N3 = nullptr;
    QAction* BMP1 = nullptr;
    QAction* N9 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* Object1 = nullptr;
    QAction* Contents1 = nullptr;
    QAction* About1 = nullptr;
    QAction* N4 = nullptr;
    QAction* maxup = nullptr;
    QAction* maxdown = nullptr;
    QAction* Refresh2 = nullptr;
    QAction* N6 = nullptr;
    QAction* Refresh1 = nullptr;

    // Helpers (created with the window).
    FolderNavigator* navigator() const { return navigator_.get(); }
    ImagePreview* preview() const { return preview_.get(); }
    MainRunner* runner() const { return runner_.get(); }
    WindowSounds& sounds() const { return *sounds_; }

protected:
    // A double-click anywhere in the image list, below its last entry too, opens the viewer;
    // a click beside the entries keeps the selection it would act on.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void connectHandlers();
    void showMoveRefusal();

    CatalogSettings settings_;
    AppContext context_;
    std::unique_ptr<FolderNavigator> navigator_;
    std::unique_ptr<ImagePreview> preview_;
    std::unique_ptr<MainRunner> runner_;
    std::unique_ptr<WindowSounds> sounds_;
    WindowSet* windows_ = nullptr;
    bool closeAfterRun_ = false;
};

}  // namespace tessaly
