#pragma once

#include <QListWidget>
#include <QString>

namespace tessaly {

// The folder list of this platform. Its entries are the open folder's ancestors from the
// root down, the open folder itself, then the open folder's sub-folders sorted ignoring case.
// Entry 0 is the root ("/"); every other entry's text is the folder's own name. An entry
// is opened by double-clicking it or pressing Enter on it; a highlighted entry is not open.
class FolderList : public QListWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget* parent = nullptr);

    // The open folder: an absolute, clean path without a trailing "/" (except the root).
    QString directory() const { return directory_; }
    // Opens path. False (and nothing changes) when it is no readable folder. Emits
    // directoryChanged when the open folder changes.
    bool setDirectory(const QString& path);
    // Long names are shortened in the middle to the list's width; the list never scrolls
    // sideways, so no scroll bar hides its last row.
    void fitEntriesToWidth();
    // Reads the open folder's sub-folders again (no signal). False when the folder is gone.
    bool refresh();

    // Index of the open folder's entry (its depth: the root's entry is 0).
    int openIndex() const { return openIndex_; }
    // Full path of the folder that an entry stands for; empty for a bad index.
    QString entryPath(int index) const;
    // Opens the folder of an entry; false when it cannot be opened (openFailed is emitted).
    bool openEntry(int index);

signals:
    void directoryChanged(const QString& path);
    // An entry the user opened could not be read.
    void openFailed(const QString& path);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fill();

    QString directory_;
    int openIndex_ = 0;
};

}  // namespace tessaly
