#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <vector>

#include "core/imaging/jobs/rotationjob.h"
#include "core/imaging/pixels/pixelimage.h"
#include "gui/common/appcontext.h"

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QSpinBox;
class QStatusBar;

namespace tessaly {

class ElidedLabel;

// The batch rotation window "画像回転": walks through the photographs selected in the main
// window's image list, turns each ".jpg" file by quarter turns and saves it over its own file,
// after a backup copy in "_backup" when the settings ask for one. A photograph of another
// format is shown with the reason it cannot be turned. The window keeps its own copy of the
// selection: the main window's list is only read.
//
// The main window opens it with openFor(folder, imageList) from its rotateButton and menu item
// openRotationAction. prepare() does the opening without showing the window (tests drive it that
// way).
class RotationWindow : public QDialog {
    Q_OBJECT
public:
    RotationWindow(AppContext& context, QWidget* mainWindow);

    // The opening rules: the selected entries of imageList are taken in their order (the list
    // itself is left as it is); the first is loaded from folder. False (after the message
    // "ファイルが選択されていません。", the message that none of them can be turned, or the
    // load error) when there is nothing to show.
    bool prepare(const QString& folder, const QListWidget* imageList);
    // prepare(), then shows the window modally until it is closed.
    void openFor(const QString& folder, const QListWidget* imageList);

    // The options dialog's confirmed quality for qualityEdit (limited to 50..100).
    void setRotateQuality(int quality);

    // Status bar panel text (panel 2 holds the counter, panel 3 the name of the photograph).
    QString panelText(int panel) const;
    // The picture as it would be saved: the current image with its turns.
    const PixelImage& picture() const { return picture_; }
    bool hasPicture() const { return hasPicture_; }

    // The row in the image list of the photograph on screen.
    int currentIndex() const { return currentIndex_; }
    int shownNumber() const { return shownNumber_; }
    int selectedCount() const { return selectedCount_; }

    // The preview size for a picture of w x h: the longer side 200, the other in proportion.
    static QSize fitPreview(int w, int h);

    // The one notice at the end of a batch: how many photographs had to be re-encoded
    // because their size does not allow a lossless turn.
    static QString reencodedSummary(int count);
    // The status line's word on one of them (its tooltip holds the whole sentence).
    static QString reencodedNotice(const QString& name);
    // Why a photograph of another format than ".jpg" is not turned (one short line).
    static QString notTurnedReason(const QString& name);
    // The message when none of the selected photographs can be turned.
    static QString noneTurnableMessage();

    // Esc, the title bar's close box and 終了 come here: a turn not yet saved is not dropped
    // without asking "変更を保存しますか？" (Yes saves, No drops it, Cancel stays).
    void reject() override;

private slots:
    void rotateRight();
    void rotateLeft();
    void skipToNext();
    void saveAndNext();
    void finish();
    void goBack();

private:
    void placeWindow(QWidget* mainWindow);
    void buildControls();
    void buildButtons();
    void buildStatusBar();
    void rotate(Turn turn);
    void loadCurrent();
    void showPicture();
    void clearPicture();
    void showCounter();
    void moveToNext();
    void markLastPosition();
    void showSaveCaption(bool closes);
    void showColourWarning();
    void showOtherFormat();
    void closeWindow();
    bool keepTurnBeforeClosing();
    bool store();
    QString currentName() const;
    int nextSelected(int from, int step) const;
    int positionOf(int row) const;

    AppContext& context_;
    // The selection taken at opening: the rows in the list and their names.
    std::vector<int> rows_;
    QStringList names_;
    QString folder_;
    PixelImage picture_;
    bool hasPicture_ = false;
    int firstIndex_ = -1;
    int lastIndex_ = -1;
    int currentIndex_ = -1;
    int shownNumber_ = 0;
    int selectedCount_ = 0;
    int quarterTurns_ = 0;  // clockwise quarter turns of the picture since it was loaded
    int reencoded_ = 0;     // photographs of this batch that could not be turned losslessly
    QString notice_;        // about the photograph saved last, shown once in the status line
    QLabel* panels_[3] = {};
    ElidedLabel* namePanel_ = nullptr;

    // Controls; each carries its legacy form name as objectName.
    QLabel* headingLabel = nullptr;
    QLabel* colourOnlyLabel = nullptr;
    QLabel* notTurnedLabel = nullptr;  // the reason a photograph of another format stays
    QLabel* qualityLabel = nullptr;
    QSpinBox* qualityEdit = nullptr;
    QCheckBox* losslessCheck = nullptr;  // "可能なら無劣化で回転", the rotateLossless setting
    QPushButton* rotateRightButton = nullptr;
    QPushButton* rotateLeftButton = nullptr;
    QPushButton* nextButton = nullptr;
    QPushButton* saveNextButton = nullptr;
    QPushButton* backButton = nullptr;
    QPushButton* closeButton = nullptr;
    QFrame* previewPanel = nullptr;
    QLabel* previewImage = nullptr;
    QMenu* rotateMenu = nullptr;
    QAction* rotateRightAction = nullptr;
    QAction* rotateLeftAction = nullptr;
    QStatusBar* statusLine = nullptr;
};

}  // namespace tessaly
