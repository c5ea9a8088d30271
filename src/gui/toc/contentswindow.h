#pragma once

#include <QDialog>
#include <memory>

#include "gui/common/appcontext.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QThread;

namespace tessaly {

class VolumeBox;
class FolderList;
class ThreadBridge;

// The table-of-contents window, "目次作成": writes into a chosen folder one page linking the
// catalogue pages of its sub-folders (a list, or a grid with thumbnails), or a frame set of
// two pages, then offers to open the result in the browser.
//
// The main window creates it once at start-up, after its own position is final:
//     toc_ = new ContentsWindow(context, this);   // placed at main left + 50, top + 95
// and opens it modally from its menu item openContentsAction ("目次作成ウインドウを開く") on its
// current folder:
//     toc_->openOn(currentFolder);         // returns when the user closes the window
// The title, colour, switches and background image keep their values between openings.
// The pages are written on a worker thread while statusLabel shows "001/012" as each
// catalogue is written; the window is not closed meanwhile.
class ContentsWindow : public QDialog {
    Q_OBJECT

public:
    ContentsWindow(AppContext& context, QWidget* mainWindow);
    // A run still going is waited for.
    ~ContentsWindow() override;

    // Points volumeBox and folderList at the folder and shows the window modally.
    void openOn(const QString& folder);

    // The first step of openOn without showing the window.
    void setFolder(const QString& folder);

    // The folder folderList has open: the folder the contents are written into.
    QString folder() const;
    // The background colour shown by colourSwatch (a Windows colour value 0x00BBGGRR).
    int backgroundColour() const { return backgroundColour_; }
    // From executeButton until the window is idle again.
    bool isRunning() const { return running_; }

protected:
    void reject() override;

private:
    void createFolderArea(QWidget* client);
    void createTitleArea(QWidget* client);
    void createBackgroundArea(QWidget* client);
    void createButtons(QWidget* client);
    void showBackgroundColour();

    void volumeChanged(const QString& root);
    void framesToggled();
    void backgroundImageToggled();
    void chooseColour();
    void chooseBackgroundFile();
    void execute();
    void setRunning(bool running);
    void runEnded(const QString& page, const QString& notice, const QString& error);

    AppContext& context_;
    int backgroundColour_ = 8421504;
    std::unique_ptr<ThreadBridge> bridge_;
    QThread* worker_ = nullptr;  // the last run's thread
    bool running_ = false;

    QLabel* folderLabel = nullptr;
    VolumeBox* volumeBox = nullptr;
    FolderList* folderList = nullptr;
    QLabel* titleLabel = nullptr;
    QLineEdit* titleEdit = nullptr;
    QCheckBox* framesCheck = nullptr;
    QCheckBox* imagesCheck = nullptr;
    QLabel* colourSwatch = nullptr;
    QPushButton* colourButton = nullptr;
    QCheckBox* backgroundImageCheck = nullptr;
    QLineEdit* backgroundFileEdit = nullptr;
    QPushButton* backgroundFileButton = nullptr;
    QPushButton* executeButton = nullptr;
    QPushButton* closeButton = nullptr;
    QStatusBar* statusLine = nullptr;
    QLabel* statusLabel = nullptr;
};

}  // namespace tessaly
