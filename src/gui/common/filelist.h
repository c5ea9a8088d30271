#pragma once

#include <QListWidget>
#include <QStringList>

namespace tessaly {

// The file list of this platform: the regular files of one folder that are not hidden, in
// the program's listing order (core/text/folderlisting.h) and filtered by a mask ("*.*" or "*" for
// every file, several patterns separated by ";", letter case ignored). The windows keep it hidden
// and read its entries; contentsChanged is emitted whenever the entries are read again.
class FileList : public QListWidget {
    Q_OBJECT
public:
    explicit FileList(QWidget* parent = nullptr);

    QString directory() const { return directory_; }
    // Points the list at a folder and reads it.
    void setDirectory(const QString& path);
    QString mask() const { return mask_; }
    void setMask(const QString& mask);
    // Long names are shortened in the middle to the list's width; the list never scrolls
    // sideways, so no scroll bar hides its last row.
    void fitEntriesToWidth();
    // Reads the folder again.
    void refresh();
    // The entries (file names without folder) in their order.
    QStringList files() const { return files_; }

signals:
    void contentsChanged();

private:
    QString directory_;
    QString mask_ = QStringLiteral("*.*");
    QStringList files_;
};

}  // namespace tessaly
