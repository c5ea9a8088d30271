#pragma once

#include <QDialog>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "core/conversion/bmpconversion.h"
#include "core/work/stoptoken.h"
#include "gui/common/appcontext.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QImage;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QStatusBar;
class QThread;

namespace tessaly {

class VolumeBox;
class FileList;
class FolderList;
class PixelImage;
class ThreadBridge;

// The converter window "画像変換": turns the BMP files selected in its own file list into
// JPEG files of the same name beside them, at the quality of qualityBox. The file-type box
// fileTypeBox under the list switches it to HEIC/HEIF photographs ("HEIC (*.heic;*.heif)"),
// which are converted the same way, upright, to IMG_0001.jpg for IMG_0001.HEIC. The type
// chosen last is kept in the settings file (converterFileType) for the next start.
//
// The conversion works on a worker thread (several files at once, one per core) while the
// window shows "n/m" in progressBar; stopButton (中止, in place of convertButton) or Esc stops
// it between files. subfoldersCheck adds the matching files of every sub-folder.
//
// The main window opens it with openFor(folder) from its menu item openConverterAction;
// prepare(folder) moves the drive box and the folder list to the main window's folder without
// showing the window (tests drive it that way).
class BmpConverterWindow : public QDialog {
    Q_OBJECT
public:
    BmpConverterWindow(AppContext& context, QWidget* mainWindow);
    // A conversion still going is stopped and waited for.
    ~BmpConverterWindow() override;

    // volumeBox and folderList take the folder (falling back to the settings' homeFolder when it
    // cannot be read) and fileList lists its BMP files.
    void prepare(const QString& folder);
    // prepare(), then shows the window modally until it is closed.
    void openFor(const QString& folder);

    // Status bar panel 0.
    QString statusText() const;
    // From convert until the window is idle again.
    bool isConverting() const { return running_; }

    // Called on a worker thread before each file is read (tests slow the reading down).
    void setBeforeReading(std::function<void(const QString& path)> hook);

    // Where the preview of a w x h picture stands inside previewFrame: fitted into 116 x 116 and
    // centred in it, 5 pixels from the panel's edges.
    static QRect previewRect(int w, int h);

private slots:
    void volumeChanged(const QString& root);
    void folderChanged(const QString& path);
    void fileTypeChanged(int index);
    void convert();
    void stop();
    void finish();

protected:
    void reject() override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeWindow(QWidget* mainWindow);
    void buildLists();
    void buildPreview();
    void fallBack();
    void buildRunControls();
    void showPreview(const QImage& picture, int width, int height);
    QStringList selectedNames() const;
    QStringList filesToConvert() const;
    BmpConversion::Source chosenSource() const;
    void rememberFileType(const QString& type);
    void setRunning(bool running);
    void startWorker(const QStringList& files);
    BmpConversion::Hooks runHooks();
    void conversionEnded(int failure, const QString& message);

    AppContext& context_;
    QLabel* panel0_ = nullptr;
    std::unique_ptr<ThreadBridge> bridge_;
    QThread* worker_ = nullptr;  // the conversion's thread, while it goes on
    // Threads of stopped runs still waiting for the reads in hand; deleted once finished.
    std::vector<QThread*> finishing_;
    StopToken stop_;     // the stop of the run going on
    int runNumber_ = 0;  // what the run going on posts is shown; a stopped run's is dropped
    std::function<void(const QString&)> beforeReading_;
    bool running_ = false;
    bool closeAfterRun_ = false;
    static constexpr QSize kDesignedSize{418, 210};
    std::vector<std::pair<QWidget*, QRect>> designedPlaces_;  // each control at that size

    // Controls; each carries its legacy form name as objectName.
    VolumeBox* volumeBox = nullptr;
    FolderList* folderList = nullptr;
    QLabel* listLabel = nullptr;
    FileList* fileList = nullptr;
    QComboBox* fileTypeBox = nullptr;
    QLabel* fileNameLabel = nullptr;
    QFrame* previewFrame = nullptr;
    QLabel* previewImage = nullptr;
    QLabel* qualityLabel = nullptr;
    QSpinBox* qualityBox = nullptr;
    QPushButton* convertButton = nullptr;
    QPushButton* stopButton = nullptr;
    QPushButton* closeButton = nullptr;
    QCheckBox* subfoldersCheck = nullptr;
    QProgressBar* progressBar = nullptr;
    QStatusBar* statusLine = nullptr;
};

}  // namespace tessaly
