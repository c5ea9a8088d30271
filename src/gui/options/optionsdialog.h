#pragma once

#include <QDialog>
#include <QPoint>
#include <functional>
#include <vector>

#include "gui/common/appcontext.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QTabWidget;

namespace tessaly {

class ClampingSpinBox;
class ColorSwatch;
class StepButtons;

// The options dialog "オプション": ten tab pages whose controls are the working copy of the
// settings record. OK validates the two output names, copies every control into the record,
// writes the settings file, moves the main window and closes; Cancel reloads every control from
// the record and closes; the frame's close box (or Escape) closes without either.
//
// How the main window uses it:
//   - Create it once at start-up, after the main window has its final position and after the
//     folder picker:  options_ = new OptionsDialog(context, this);
//     It places itself at main window top + 95, left + 50 and loads its controls.
//   - Hand it the folder picker and the rotation window's quality input once they exist:
//     options_->setFolderPicker([picker](const QString& start) { return picker->choose(); });
//     options_->setRotationQualityHandler([rotation](int q) { rotation->setRotateQuality(q); });
//     Without a picker it uses QFileDialog::getExistingDirectory.
//   - Menu item optionsAction: options_->openModal();
//     This sets the position track bars to the main window's current position and runs the
//     dialog modally; the other controls keep what they held when it was last closed. Returns
//     QDialog::Accepted after OK.
// While it is open, dragging its position track bars moves the main window at once.
class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    // Returns the chosen folder, or an empty text when the user cancelled.
    using FolderChooser = std::function<QString(const QString& start)>;
    using QualityHandler = std::function<void(int quality)>;

    OptionsDialog(AppContext& context, QWidget* mainWindow, FolderChooser pickFolder = {});

    void setFolderPicker(FolderChooser pickFolder);
    void setRotationQualityHandler(QualityHandler handler);

    // Syncs the track bars to the main window, then shows the dialog modally.
    int openModal();
    // The track bars (and their number fields) take the main window's current position,
    // limited to their ranges; the main window does not move.
    void syncPositionFromMainWindow();
    // Fills every control from the settings record (done at creation and by Cancel).
    void loadFromSettings();

    // Button handlers, callable by tests as if clicked.
    void storeAndClose();
    void cancelAndClose();

private:
    void buildWindow();
    QWidget* buildStartFolderPage();
    QWidget* buildPagePage();
    QWidget* buildTitlePage();
    QWidget* buildThumbnailPage();
    QWidget* buildFileNamePage();
    QWidget* buildHeaderFooterPage();
    QWidget* buildProgramsPage();
    QWidget* buildSlideShowPage();
    QWidget* buildRotationPage();
    QWidget* buildPositionPage();
    QWidget* buildButtonRow();
    void fillFixedLists();
    void connectControls();

    void loadTextsAndColours();
    void loadNumbers();
    void loadLists();
    void loadPosition();
    void loadChecks();
    void applyEnablingRules();
    void setBars(int left, int top);

    void chooseStartFolder();
    void chooseProgram(QLineEdit* field);
    void chooseBackgroundFile();
    void chooseColour(ColorSwatch* swatch);
    void barMoved(QSlider* bar, int position);

    // The texts OK stores, with the names the messages give them; exact for paths and names.
    struct StoredText {
        QLineEdit* field;
        QString name;
        bool exact;
    };
    std::vector<StoredText> storedTexts() const;
    QString fieldName(const QLineEdit* field) const;
    bool refusedForStorage(const QLineEdit* field, const QString& text);
    bool textsCanBeStored();
    void showField(QLineEdit* field);

    QPoint chosenPosition() const;
    void storeTitleAndThumbnails();
    bool passesNameTest();
    void storeNamesAndPage();

    CatalogSettings& settings_;
    Prompts& prompts_;
    QWidget* mainWindow_;
    FolderChooser pickFolder_;
    QualityHandler rotationQuality_;
    bool settingBars_ = false;

    QLabel* headingPanel = nullptr;
    QTabWidget* tabs = nullptr;
    QWidget* startFolderPage = nullptr;
    QWidget* pagePage = nullptr;
    QWidget* positionPage = nullptr;
    QWidget* programsPage = nullptr;
    QWidget* rotationPage = nullptr;
    QWidget* titlePage = nullptr;
    QWidget* thumbnailPage = nullptr;
    QWidget* slideShowPage = nullptr;
    QWidget* fileNamePage = nullptr;
    QWidget* headerFooterPage = nullptr;

    // Start folder
    QLabel* startFolderLabel = nullptr;
    QLineEdit* startFolderEdit = nullptr;
    QPushButton* startFolderButton = nullptr;
    // Page
    QLabel* frameWidthLabel = nullptr;
    QLabel* frameWidthNote = nullptr;
    ClampingSpinBox* frameWidthBox = nullptr;
    QLabel* backgroundColourLabel = nullptr;
    ColorSwatch* backgroundSwatch = nullptr;
    QPushButton* backgroundColourButton = nullptr;
    QCheckBox* backgroundImageCheck = nullptr;
    QLabel* backgroundFileLabel = nullptr;
    QLineEdit* backgroundFileEdit = nullptr;
    QPushButton* backgroundFileButton = nullptr;
    // Title
    QLabel* titleSizeLabel = nullptr;
    QComboBox* titleSizeBox = nullptr;
    QLabel* titleColourLabel = nullptr;
    ColorSwatch* titleColourSwatch = nullptr;
    QPushButton* titleColourButton = nullptr;
    QCheckBox* titleItalicCheck = nullptr;
    QCheckBox* titleBoldCheck = nullptr;
    QCheckBox* titleFontCheck = nullptr;
    QLabel* titleFontLabel = nullptr;
    QComboBox* titleFontBox = nullptr;
    QCheckBox* titleTableCheck = nullptr;
    QLabel* titleTableWidthLabel = nullptr;
    QComboBox* titleTableWidthBox = nullptr;
    QLabel* titleBackColourLabel = nullptr;
    ColorSwatch* titleBackSwatch = nullptr;
    QPushButton* titleBackColourButton = nullptr;
    // Thumbnails
    QCheckBox* skipExistingCheck = nullptr;
    QLabel* thumbWidthLabel = nullptr;
    ClampingSpinBox* thumbWidthBox = nullptr;
    QLabel* thumbHeightLabel = nullptr;
    ClampingSpinBox* thumbHeightBox = nullptr;
    QLabel* thumbQualityLabel = nullptr;
    QLabel* thumbQualityNote = nullptr;
    ClampingSpinBox* thumbQualityBox = nullptr;
    QCheckBox* thumbFilterCheck = nullptr;
    QCheckBox* newWindowCheck = nullptr;
    QCheckBox* scriptPopupCheck = nullptr;
    // File names
    QLabel* htmlFileLabel = nullptr;
    QLineEdit* htmlFileEdit = nullptr;
    QLabel* thumbFolderLabel = nullptr;
    QLineEdit* thumbFolderEdit = nullptr;
    QLabel* thumbPrefixLabel = nullptr;
    QLineEdit* thumbPrefixEdit = nullptr;
    QLabel* namesCautionLabel = nullptr;
    QLabel* namesCautionText1 = nullptr;
    QLabel* namesCautionText2 = nullptr;
    // Header and footer
    QLabel* headerLabel = nullptr;
    QCheckBox* headerDefaultCheck = nullptr;
    QLabel* headerTextLabel = nullptr;
    QLineEdit* headerTextEdit = nullptr;
    QLabel* footerLabel = nullptr;
    QCheckBox* footerDefaultCheck = nullptr;
    QLabel* footerTextLabel = nullptr;
    QLineEdit* footerTextEdit = nullptr;
    QCheckBox* footerLinkCheck = nullptr;
    QLabel* footerLinkLabel = nullptr;
    QLineEdit* footerLinkEdit = nullptr;
    QLabel* footerLinkNote = nullptr;
    // External programs
    QLabel* programsNote = nullptr;
    QLabel* browserLabel = nullptr;
    QCheckBox* noBrowserCheck = nullptr;
    QLineEdit* browserEdit = nullptr;
    QPushButton* browserButton = nullptr;
    QLabel* viewerLabel = nullptr;
    QLineEdit* viewerEdit = nullptr;
    QPushButton* viewerButton = nullptr;
    // Slide show
    QCheckBox* slideShowCheck = nullptr;
    QLabel* slideIntervalLabel = nullptr;
    ClampingSpinBox* slideIntervalBox = nullptr;
    QCheckBox* slideMaxCheck = nullptr;
    QLabel* slideMaxWidthLabel = nullptr;
    ClampingSpinBox* slideMaxWidthBox = nullptr;
    QLabel* slideMaxHeightLabel = nullptr;
    ClampingSpinBox* slideMaxHeightBox = nullptr;
    QLabel* slideCautionLabel = nullptr;
    QLabel* slideCautionText = nullptr;
    // Rotation
    QLabel* rotationHeading = nullptr;
    QLabel* rotateQualityLabel = nullptr;
    QLineEdit* rotateQualityEdit = nullptr;
    StepButtons* rotateQualityButtons = nullptr;
    QLabel* rotateQualityNote1 = nullptr;
    QLabel* rotateQualityNote2 = nullptr;
    QCheckBox* rotateBackupCheck = nullptr;
    QLabel* rotateBackupNote1 = nullptr;
    QLabel* rotateBackupNote2 = nullptr;
    // Window position
    QCheckBox* keepPositionCheck = nullptr;
    QGroupBox* positionGroup = nullptr;
    QLabel* leftLabel = nullptr;
    QLineEdit* leftEdit = nullptr;
    QSlider* leftBar = nullptr;
    QLabel* topLabel = nullptr;
    QLineEdit* topEdit = nullptr;
    QSlider* topBar = nullptr;
    // Buttons below the pages
    QPushButton* storeButton = nullptr;
    QPushButton* cancelButton = nullptr;
};

}  // namespace tessaly
