#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

namespace tessaly {

// The two comment lines of one image; both empty when the image has no comment.
struct CommentLines {
    QString first;
    QString second;
};

// The comments of one image folder, as kept in its PicComment.txt: records of four lines
// (separator, file name, first comment line, second comment line), Shift-JIS, CR LF.
// File names match without regard to letter case; when a name occurs twice, the later
// entry wins. Each user loads a table afresh; nothing is cached between uses.
class CommentTable {
public:
    // The comment file of a folder: folder + "/PicComment.txt" ("/" gives "/PicComment.txt").
    static QString filePath(const QString& folder);

    // Replaces the entries with the records of the folder's comment file. A missing file gives
    // an empty table; a file that exists but cannot be read raises IoError. Reading stops at the
    // first empty name line; a file ending inside a record gives empty missing lines. There is
    // no fixed capacity: every record of the file is read. A file larger than kMaxFileBytes
    // (16 MB) is refused with IoError naming it.
    void load(const QString& folder);

    static constexpr qint64 kMaxFileBytes = qint64(16) << 20;

    // The lines of the last entry whose name equals fileName ignoring letter case.
    CommentLines lookUp(const QString& fileName) const;

    // Stores the two lines for fileName, replacing the matching entry's lines or adding one.
    void set(const QString& fileName, const QString& first, const QString& second);

    // Writes the folder's comment file anew: one record per listed name, in list order, with
    // the lines lookUp gives. The file is replaced atomically, so on any failure the old file
    // stays as it was. Raises EncodingError (nothing written) when a name or comment holds a
    // character Shift-JIS cannot store, IoError when the file cannot be created or written.
    // An empty list writes a 0-byte file. Empty names are skipped (an empty name line would end
    // the reading there); a line break inside a comment is stored as a space, so the record
    // keeps its four lines; a name holding a line break is refused with EncodingError. A name
    // that cannot be stored (a line break, a character Shift-JIS lacks) is only refused when it
    // has comments; without them it is left out, as no record could ever match it.
    void save(const QString& folder, const QStringList& fileNames) const;

    // Number of entries held (duplicates included).
    int size() const;

private:
    struct Entry {
        QString fileName;
        QString first;
        QString second;
    };

    static QString key(const QString& fileName);
    void append(const QString& fileName, const QString& first, const QString& second);

    std::vector<Entry> entries_;
    QHash<QString, int> lastIndex_;  // lowercased name -> index of its last entry
};

}  // namespace tessaly
