#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QLineEdit;

namespace tessaly {

class VolumeBox;
class FileList;
class FolderList;

// The main window's folder choice: drive box, folder list, the hidden file list and the
// title box. A folder or drive that cannot be opened sends the folder list back to the
// home folder (the program's folder, or an installed copy's user home) without a message.
class FolderNavigator : public QObject {
    Q_OBJECT
public:
    // passOver tells the folders next folder never opens (the program's own).
    FolderNavigator(VolumeBox& drives, FolderList& folders, FileList& files, QLineEdit& title,
                    const QString& homeFolder,
                    std::function<bool(const QString&)> passOver = nullptr);

    // Opens a folder; on failure the home folder (or, when that is gone too, the root).
    void openFolder(const QString& path);
    // The drive box chose a volume: its root is opened.
    void changeDrive(const QString& root);
    // The next sibling of the open folder, wrapping to the first, passing over the folders
    // passOver names; the root stays the root.
    void nextFolder();
    // Reads the folder list and the file list again (the file list rebuilds the image list).
    void refresh();

    // The folder's own name: the characters after its last "/" (empty for the root).
    static QString ownName(const QString& folder);
    // 1-based character position of the last "/" of a path; 0 when it has none.
    static int lastSeparator(const QString& path);
    // The parent folder as next folder walks it: the text before the last "/", or the root.
    static QString parentOf(const QString& folder);

private:
    void folderChanged(const QString& path);
    void fallBack();
    int nextSibling(int from, int first) const;

    VolumeBox& drives_;
    FolderList& folders_;
    FileList& files_;
    QLineEdit& title_;
    QString homeFolder_;
    std::function<bool(const QString&)> passOver_;
};

}  // namespace tessaly
