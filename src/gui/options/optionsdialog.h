#pragma once

#include <QDialog>
#include <QPoint>
#include <functional>
#include <vector>

#include "gui/common/appcontext.h"
#include "gui/options/settingbinding.h"

class QListWidget;
class QTabWidget;

namespace tessaly {

class OptionsTab;
class PositionTab;

// The options dialog "オプション": ten tab pages (OptionsTab) whose controls are the working
// copy of the settings record, each bound to the row of the setting it edits (SettingBinding);
// every row the dialog edits has its one control, or a debug build stops at creation. OK copies
// every control into a new record, validates the two output names and writes the settings file;
// only then does the record take the new values, the main window move and the dialog close.
// Cancel reloads every control from the record and closes; the frame's close box (or Escape)
// closes without either.
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

    // The controls of every page, bound to their settings.
    const SettingBinding& binding() const { return binding_; }
    // What keeps the controls and the settings from meeting one to one (SettingBinding::
    // problems); empty in a sound build.
    QStringList bindingProblems() const { return binding_.problems(*this); }

    // Button handlers, callable by tests as if clicked.
    void storeAndClose();
    void cancelAndClose();

private:
    void buildWindow();
    QWidget* buildButtonRow();
    QListWidget* buildPageList();
    void addTab(OptionsTab* tab);
    void checkBinding() const;

    // The OK path (optionsdialogstore.cpp).
    bool textsCanBeStored();
    void showField(QWidget* field);
    bool passesNameTest(const CatalogSettings& record);

    CatalogSettings& settings_;
    Prompts& prompts_;
    QWidget* mainWindow_;
    FolderChooser pickFolder_;
    QualityHandler rotationQuality_;
    QTabWidget* tabs_ = nullptr;
    std::vector<OptionsTab*> pages_;
    SettingBinding binding_;
    PositionTab* position_ = nullptr;
};

}  // namespace tessaly
