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
//     options_->setFolderPicker([picker](const QString& start) { return picker->choose(start); });
//     options_->setRotationQualityHandler([rotation](int q) { rotation->setQuality(q); });
//     Without a picker it uses QFileDialog::getExistingDirectory.
//   - Menu item Object1:  options_->openModal();
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
    void optOKClick();
    void optCanselClick();

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

    void Button1Click();
    void chooseProgram(QLineEdit* field);
    void Button5Click();
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

    QLabel* Panel1 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QWidget* TabSheet3 = nullptr;
    QWidget* TabSheet4 = nullptr;
    QWidget* TabSheet5 = nullptr;
    QWidget* TabSheet6 = nullptr;
    QWidget* TabSheet7 = nullptr;
    QWidget* TabSheet8 = nullptr;
    QWidget* TabSheet9 = nullptr;
    QWidget* TabSheet10 = nullptr;

    // Start folder
    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;
    // Page
    QLabel* Label43 = nullptr;
    QLabel* Label44 = nullptr;
    ClampingSpinBox* tablewidthbox = nullptr;
    QLabel* Label7 = nullptr;
    ColorSwatch* Panel2 = nullptr;
    QPushButton* Button4 = nullptr;
    QCheckBox* Check3 = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QPushButton* Button5 = nullptr;
    // Title
    QLabel* Label13 = nullptr;
    QComboBox* Combo1 = nullptr;
    QLabel* Label14 = nullptr;
    ColorSwatch* Panel3 = nullptr;
    QPushButton* Button6 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QCheckBox* CheckBox4 = nullptr;
    QCheckBox* fontsetbox = nullptr;
    QLabel* Label15 = nullptr;
    QComboBox* Combo2 = nullptr;
    QCheckBox* TtableBox = nullptr;
    QLabel* Label16 = nullptr;
    QComboBox* Combo3 = nullptr;
    QLabel* Label17 = nullptr;
    ColorSwatch* Panel4 = nullptr;
    QPushButton* Button7 = nullptr;
    // Thumbnails
    QCheckBox* s_filebox = nullptr;
    QLabel* Label20 = nullptr;
    ClampingSpinBox* SpinEdit1 = nullptr;
    QLabel* Label21 = nullptr;
    ClampingSpinBox* SpinEdit2 = nullptr;
    QLabel* Label28 = nullptr;
    QLabel* Label29 = nullptr;
    ClampingSpinBox* SpinEdit4 = nullptr;
    QCheckBox* Checkfilter = nullptr;
    QCheckBox* Check5 = nullptr;
    QCheckBox* Check6 = nullptr;
    // File names
    QLabel* Label30 = nullptr;
    QLineEdit* htmlfilebox = nullptr;
    QLabel* Label31 = nullptr;
    QLineEdit* htmlfoldabox = nullptr;
    QLabel* Label34 = nullptr;
    QLineEdit* s_headerbox = nullptr;
    QLabel* Label35 = nullptr;
    QLabel* Label32 = nullptr;
    QLabel* Label33 = nullptr;
    // Header and footer
    QLabel* Label36 = nullptr;
    QCheckBox* headerBox = nullptr;
    QLabel* Label39 = nullptr;
    QLineEdit* headertext = nullptr;
    QLabel* Label37 = nullptr;
    QCheckBox* footerbox = nullptr;
    QLabel* Label40 = nullptr;
    QLineEdit* footertext = nullptr;
    QCheckBox* footerlinkbox = nullptr;
    QLabel* Label41 = nullptr;
    QLineEdit* footerlink = nullptr;
    QLabel* Label42 = nullptr;
    // External programs
    QLabel* Label18 = nullptr;
    QLabel* Label6 = nullptr;
    QCheckBox* veltra_check = nullptr;
    QLineEdit* Edit6 = nullptr;
    QPushButton* Button3 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QPushButton* Button2 = nullptr;
    // Slide show
    QCheckBox* Check7 = nullptr;
    QLabel* Label26 = nullptr;
    ClampingSpinBox* SpinEdit3 = nullptr;
    QCheckBox* s_maxcheck = nullptr;
    QLabel* Label24 = nullptr;
    ClampingSpinBox* SpinSX = nullptr;
    QLabel* Label45 = nullptr;
    ClampingSpinBox* SpinSY = nullptr;
    QLabel* Label25 = nullptr;
    QLabel* Label22 = nullptr;
    // Rotation
    QLabel* Label19 = nullptr;
    QLabel* Label8 = nullptr;
    QLineEdit* Edit7 = nullptr;
    StepButtons* UpDown1 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label12 = nullptr;
    // Window position
    QCheckBox* CheckBox2 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QSlider* HBar = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QSlider* VBar = nullptr;
    // Buttons below the pages
    QPushButton* optOK = nullptr;
    QPushButton* optCansel = nullptr;
};

}  // namespace tessaly
