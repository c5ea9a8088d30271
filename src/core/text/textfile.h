#pragma once

#include <QFile>
#include <QSaveFile>
#include <QString>
#include <memory>

#include "core/text/sjis.h"

namespace tessaly {

// Writes a Shift-JIS text file line by line, CR LF after every line.
// Direct mode creates or truncates the file at once (pages: what was written stays on a failure).
// Atomic mode writes a temporary file beside the target and renames it over the target on
// close(), so a failure leaves the old file untouched (settings, comment file).
// Messages name shownPath when one is given (a temporary file written for another name).
class TextFileWriter {
public:
    enum class Replace { Direct, Atomic };

    TextFileWriter(const QString& path, sjis::Unmappable unmappable,
                   Replace replace = Replace::Direct, const QString& shownPath = QString());
    ~TextFileWriter();
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    void writeLine(const QString& line);
    // Flushes and closes (atomic mode: commits). Raises IoError when that fails.
    void close();
    bool isOpen() const;
    const QString& path() const { return path_; }

private:
    void fail() const;

    QString path_;
    QString shownPath_;
    sjis::Unmappable unmappable_;
    std::unique_ptr<QFile> direct_;
    std::unique_ptr<QSaveFile> atomic_;
};

// Reads a Shift-JIS text file line by line. CR LF and bare LF both end a line;
// reading past the end gives empty lines.
class TextFileReader {
public:
    explicit TextFileReader(const QString& path);  // raises IoError when it cannot be opened
    QString readLine();
    bool atEnd() const;

private:
    QFile file_;
};

// True when the file exists and the effective user may not write it. A file replaced through
// a rename must be refused then, as writing it in place would be, or the rename would override
// its protection.
bool isWriteProtected(const QString& path);

// True when path names a regular file, or a link to one: what a photograph must be. A pipe,
// device or folder under a photograph's name is refused with this before anything opens it
// (opening a pipe waits for a writer).
bool isRegularFile(const QString& path);

// Message texts shared by the file helpers.
// "<path> は通常のファイルではないため開けません" when something other than a file stands
// there (a folder, pipe or device), cannotOpenMessage() otherwise.
QString unreadableMessage(const QString& path);
QString cannotCreateMessage(const QString& path);
QString cannotWriteMessage(const QString& path);
QString cannotOpenMessage(const QString& path);

}  // namespace tessaly
