#pragma once

#include <QDialog>

#include "gui/common/appcontext.h"

class QPushButton;

namespace tessaly {

class VolumeBox;
class FolderList;

// The folder picker "フォルダ選択": the options dialog and the comment editor ask it for a
// folder. It keeps its place between uses: each opening shows the folder open at the end of
// the previous one (at first the process's current folder).
//     QString folder = picker->choose();   // empty text after キャンセル
class FolderPicker : public QDialog {
    Q_OBJECT
public:
    // Placed once at the main window's left + 80, top + 110.
    FolderPicker(AppContext& context, QWidget* mainWindow);

    // Shows the picker modally and returns the chosen folder: the folder open in folderList after
    // 選択, empty text after キャンセル, the previous result when closed by the frame.
    QString choose();
    // The result of the last use (empty before the first).
    QString chosenFolder() const { return chosen_; }

    // Button handlers, callable by tests as if clicked.
    void selectFolder();
    void cancelChoice();

private:
    void volumeChanged(const QString& root);

    // Controls; each carries its legacy form name as objectName.
    VolumeBox* volumeBox = nullptr;
    FolderList* folderList = nullptr;
    QPushButton* selectButton = nullptr;
    QPushButton* cancelButton = nullptr;
    AppContext& context_;
    QString chosen_;
};

}  // namespace tessaly
