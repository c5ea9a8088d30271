#pragma once

#include <array>

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QSpinBox;
class QSplitter;
class QStatusBar;
class QWidget;

namespace tessaly {

class VolumeBox;
class FileList;
class FolderList;

// The main window's controls as MainWindowLayout builds them. Only the main window holds this
// record; its helpers are handed the few controls they work on. Each control carries its
// legacy form name as objectName (given beside it).
struct MainWindowControls {
    // Top panel: folder choice, title and Execute.
    VolumeBox* volumeBox = nullptr;           // Drive1
    FolderList* folderList = nullptr;         // Dir1
    FileList* fileList = nullptr;             // File1, hidden
    QPushButton* nextFolderButton = nullptr;  // Button5
    QPushButton* executeButton = nullptr;     // Button7
    QPushButton* cancelButton = nullptr;      // Button8, over Execute during a run
    QLineEdit* titleEdit = nullptr;           // HPtytlebox
    QSpinBox* perRowBox = nullptr;            // UpDown1, images per row 1..10
    QCheckBox* commentsCheck = nullptr;       // CommentBox

    // Body: the image list, its buttons and the preview.
    QListWidget* imageList = nullptr;         // OldFile
    QLabel* imageListHeading = nullptr;       // Label1
    QCheckBox* otherFormatsCheck = nullptr;   // photographs of every format in the list
    QPushButton* refreshButton = nullptr;     // Button11
    QPushButton* selectAllButton = nullptr;   // Button3
    QPushButton* deselectButton = nullptr;    // Button4
    QPushButton* upButton = nullptr;          // Button1
    QPushButton* downButton = nullptr;        // Button2
    QPushButton* sortByDateButton = nullptr;  // in the order the photographs were taken
    QPushButton* viewButton = nullptr;        // Button9
    QPushButton* rotateButton = nullptr;      // Button6
    QFrame* previewPanel = nullptr;           // Panel2
    QLabel* previewImage = nullptr;           // Image1
    std::array<QLabel*, 3> statusFields{};    // StatusBar1Panel0..2: step, phase, counter

    // Menus and their items.
    std::array<QMenu*, 3> menus{};            // File2, Edit1, Help1
    QMenu* imageListMenu = nullptr;           // PopupMenu1
    QMenu* folderMenu = nullptr;              // PopupMenu2
    QAction* openRotationAction = nullptr;    // N1
    QAction* openContentsAction = nullptr;    // N3
    QAction* openConverterAction = nullptr;   // BMP1
    QAction* openCommentsAction = nullptr;    // N9
    QAction* exitAction = nullptr;            // Exit1
    QAction* optionsAction = nullptr;         // Object1
    QAction* helpAction = nullptr;            // Contents1
    QAction* aboutAction = nullptr;           // About1
    QAction* viewImageAction = nullptr;       // N4
    QAction* moveToTopAction = nullptr;       // maxup
    QAction* moveToBottomAction = nullptr;    // maxdown
    QAction* refreshImagesAction = nullptr;   // Refresh2
    QAction* nextFolderAction = nullptr;      // N6
    QAction* refreshFoldersAction = nullptr;  // Refresh1
};

}  // namespace tessaly
