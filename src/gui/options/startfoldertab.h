#pragma once

#include <functional>

#include "gui/options/optionstab.h"

class QLineEdit;

namespace tessaly {

// "起動フォルダ": the folder the main window shows at start-up, chosen with the folder picker.
class StartFolderTab : public OptionsTab {
    Q_OBJECT
public:
    // Returns the chosen folder, or an empty text when the user cancelled.
    using FolderChooser = std::function<QString(const QString& start)>;

    StartFolderTab(Prompts& prompts, const FolderChooser& pickFolder);

private:
    void chooseFolder();

    Prompts& prompts_;
    const FolderChooser& pickFolder_;
    QLineEdit* folder_;
};

}  // namespace tessaly
