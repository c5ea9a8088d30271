#pragma once

#include <QDialog>

#include "gui/common/appcontext.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

namespace tessaly {

class VolumeBox;
class FolderList;

// The table-of-contents window, "目次作成": writes into a chosen folder one page linking the
// catalogue pages of its sub-folders (a list, or a grid with thumbnails), or a frame set of
// two pages, then offers to open the result in the browser.
//
// The main window creates it once at start-up, after its own position is final:
//     toc_ = new ContentsWindow(context, this);   // placed at main left + 50, top + 95
// and opens it modally from its menu item N3 ("目次作成ウインドウを開く") on its current folder:
//     toc_->openOn(currentFolder);         // returns when the user closes the window
// The title, colour, switches and background image keep their values between openings.
class ContentsWindow : public QDialog {
    Q_OBJECT

public:
    ContentsWindow(AppContext& context, QWidget* mainWindow);

    // Points Drive1 and Dir1 at the folder and shows the window modally.
    void openOn(const QString& folder);

    // The first step of openOn without showing the window.
    void setFolder(const QString& folder);

    // The folder Dir1 has open: the folder the contents are written into.
    QString folder() const;
    // The background colour shown by Panel2 (a Windows colour value 0x00BBGGRR).
    int backgroundColour() const { return backgroundColour_; }

private:
    void createFolderArea(QWidget* client);
    void createTitleArea(QWidget* client);
    void createBackgroundArea(QWidget* client);
    void createButtons(QWidget* client);
    void showBackgroundColour();

    void Drive1Change(const QString& root);
    void framecheckClick();
    void Check3Click();
    void Button3Click();
    void Button4Click();
    void Button1Click();

    AppContext& context_;
    int backgroundColour_ = 8421504;

    QLabel* Label1 = nullptr;
    VolumeBox* Drive1 = nullptr;
    FolderList* Dir1 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* HPtytlebox = nullptr;
    QCheckBox* framecheck = nullptr;
    QCheckBox* Check2 = nullptr;
    QLabel* Panel2 = nullptr;
    QPushButton* Button3 = nullptr;
    QCheckBox* Check3 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* Label2 = nullptr;
};

}  // namespace tessaly
