#pragma once

#include <QDialog>
#include <QRect>
#include <QStringList>

#include "gui/common/appcontext.h"

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QSpinBox;
class QStatusBar;

namespace tessaly {

class VolumeBox;
class FileList;
class FolderList;
class PixelImage;

// The converter window "BMP-JPG変換": turns the BMP files selected in its own file list into
// JPEG files of the same name beside them, at the quality of SpinEdit1. The file-type box
// FilterComboBox1 under the list switches it to HEIC/HEIF photographs ("HEIC (*.heic;*.heif)"),
// which are converted the same way, upright, to IMG_0001.jpg for IMG_0001.HEIC.
//
// The main window opens it with openFor(folder) from its menu item BMP1; prepare(folder)
// moves the drive box and the folder list to the main window's folder without showing the
// window (tests drive it that way).
class BmpConverterWindow : public QDialog {
    Q_OBJECT
public:
    BmpConverterWindow(AppContext& context, QWidget* mainWindow);

    // Drive1 and Dir1 take the folder (falling back to the settings' homeFolder when it cannot
    // be read) and File1 lists its BMP files.
    void prepare(const QString& folder);
    // prepare(), then shows the window modally until it is closed.
    void openFor(const QString& folder);

    // Status bar panel 0.
    QString statusText() const;

    // Where the preview of a w x h picture stands inside Panel1: fitted into 116 x 116 and
    // centred in it, 5 pixels from the panel's edges.
    static QRect previewRect(int w, int h);

    VolumeBox* Drive1;
    FolderList* Dir1;
    QLabel* Label1;
    FileList* File1;
    QComboBox* FilterComboBox1;
    QLabel* Label3;
    QFrame* Panel1;
    QLabel* Image2;
    QLabel* Label2;
    QSpinBox* SpinEdit1;
    QPushButton* Button1;
    QPushButton* Button2;
    QStatusBar* StatusBar1;

private slots:
    void Drive1Change(const QString& root);
    void Dir1Change(const QString& path);
    void FilterComboBox1Change(int index);
    void Button1Click();
    void Button2Click();

private:
    void FormCreate(QWidget* mainWindow);
    void buildLists();
    void buildPreview();
    void fallBack();
    void showPreview(const PixelImage& picture);
    QStringList selectedNames() const;
    bool heifChosen() const;

    AppContext& context_;
    QLabel* panel0_ = nullptr;
};

}  // namespace tessaly
