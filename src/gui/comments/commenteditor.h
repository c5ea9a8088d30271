#pragma once

#include <QDialog>
#include <QImage>
#include <QStringList>
#include <functional>

#include "core/comments/commenttable.h"
#include "gui/common/appcontext.h"

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QStatusBar;

namespace tessaly {

class FileList;

// The comment editor, "コメントファイル作成": lists the photographs of one folder that the
// catalogue takes (the ".jpg" files, or with the formats switch on those of every format the
// catalogue reads), previews the selected one and lets the user give every file two comment
// lines, saved as the folder's PicComment.txt. The comment lines take typing only while a
// photograph is selected.
//
// The main window creates it once at start-up, after its own position is final:
//     comments_ = new CommentEditor(context, this);   // placed at main left + 80, top + 95
// and opens it modally on its current folder from its menu item openCommentsAction
// ("ｺﾒﾝﾄ作成ウインドウを開く"), which is also what the catalogue run's "open the comment editor?"
// question calls:
//     comments_->openOn(currentFolder);          // returns when the user closes the editor
// The editor's Open command asks for another folder through the folder picker; the main
// window hands in its own picker once:
//     comments_->setFolderPicker([this](const QString& current) { return pickFolder(current); });
// (the picker returns the chosen folder, or an empty text when the user cancelled).
// Closing only hides the window; it keeps its state until it is opened on a folder again.
// Comments not yet written to the file (stored with 更新, filled, or typed into the fields)
// are never dropped silently: closing asks whether to save them first.
class CommentEditor : public QDialog {
    Q_OBJECT

public:
    using FolderChooser = std::function<QString(const QString& currentFolder)>;

    CommentEditor(AppContext& context, QWidget* mainWindow);

    // Lists the folder, resets the comments to those of its PicComment.txt and shows the
    // window modally. When the comment file exists but cannot be read, the error is shown and
    // the window is not opened.
    void openOn(const QString& folder);

    // The preparation of openOn without showing the window; false when the comment file could
    // not be read (the error has been shown).
    bool loadFolder(const QString& folder);

    // Replaces the folder picker used by Open (default: QFileDialog::getExistingDirectory).
    void setFolderPicker(FolderChooser pickFolder);

    QString folder() const { return folder_; }
    QStringList fileNames() const;
    const CommentTable& comments() const { return comments_; }
    bool isModified() const { return modified_; }
    // Comments changed since the file was last read or written (typed lines not counted).
    bool hasUnsavedComments() const { return unsaved_; }
    QString panelText(int panel) const;

    // Where a decoded image of imageSize is shown inside a preview panel of panelSize: its
    // longer side fitted to 150 (half-even rounding), centred, 10 pixels below the middle.
    static QRect previewRect(QSize imageSize, QSize panelSize);

    // Esc, the title bar's close box and 終了 come here: with comments not yet saved the
    // user is asked "変更を保存しますか？" (Yes saves, No closes without saving, Cancel stays).
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Fill { Date, Size, Name, NameAndDate, NameAndSize };
    enum class SaveResult { Saved, WriteFailed, NotSaved };

    void createMenus(QMenuBar* menuBar);
    QAction* addFillAction(QMenu* menu, const char* name, const QString& text, Fill fill,
                           bool allFiles);
    void createListArea(QWidget* client);
    void createPreviewArea(QWidget* client);
    void createCommentArea(QWidget* client);
    void createStatusBar(QWidget* client);

    void listFolder(const QString& folder);
    bool resetComments();
    void enableCommentFields(bool on);
    void hidePreview();
    void showPreview(const QString& path);
    static QImage jpegPreview(const QString& path);
    int selectedRow() const;
    QString selectedName() const;
    QString filePath(const QString& name) const;
    void fillFile(int row, Fill fill);

    void fileSelected();
    bool leaveEntry();
    void refreshList();
    bool typedLinesDiffer() const;
    void storeTypedLines();
    SaveResult save();
    void saveAndClose();
    void chooseFolder();
    void fillSelected(Fill fill);
    void fillAll(Fill fill);
    void insertFromCamera(bool camera);

    AppContext& context_;
    FolderChooser pickFolder_;
    QString folder_;
    CommentTable comments_;
    bool modified_ = false;
    bool unsaved_ = false;  // the table differs from the comment file
    QString shownName_;     // the file whose lines the comment fields show

    QLabel* headingPanel = nullptr;
    QLabel* listCaption = nullptr;
    FileList* fileList = nullptr;
    QFrame* previewFrame = nullptr;
    QLabel* previewImage = nullptr;
    QLabel* previewCaption = nullptr;
    QLabel* commentLabel = nullptr;
    QLineEdit* firstLineEdit = nullptr;
    QLineEdit* secondLineEdit = nullptr;
    QPushButton* refreshButton = nullptr;
    QPushButton* saveButton = nullptr;
    QPushButton* saveCloseButton = nullptr;
    QStatusBar* statusLine = nullptr;
    QLabel* statusPanels_[2] = {nullptr, nullptr};
    QAction* noExtensionAction = nullptr;
};

}  // namespace tessaly
