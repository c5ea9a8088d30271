#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <memory>

#include "core/catalog/catalogentry.h"
#include "core/settings/catalogsettings.h"
#include "core/settings/settingsview.h"

namespace tessaly {

class TextFileWriter;

// Writes the catalogue page of one run in three stages: the head (writeHead, then
// writeBodyStart), one table cell per image (writeImage) and the tail (writeTail).
// Lines are Shift-JIS with CR LF; characters the code page cannot hold become "&#N;".
// Titles, header, footer and comments go into the page as typed. File names are written as
// they are, except the few characters that would break a link or a tag (see pageUrl).
class CatalogPageWriter {
public:
    explicit CatalogPageWriter(const CatalogSettings& settings);
    ~CatalogPageWriter();  // closes quietly if open
    CatalogPageWriter(const CatalogPageWriter&) = delete;
    CatalogPageWriter& operator=(const CatalogPageWriter&) = delete;

    // Creates or truncates the page file and writes the head lines. Raises IoError.
    // perRow below 1 counts as 1.
    void writeHead(const QString& path, const QString& title, int perRow, int selectedCount,
                   const QString& firstSelectedName, const QDate& date);
    // The body start: background, title block, header line and the table's first row.
    void writeBodyStart();
    // The cell of image number n (1 for the first image written), its comment slot, and the
    // row break when one is due. commentsOn is the comment switch as sampled after the image.
    void writeImage(int n, const CatalogEntry& entry, bool commentsOn);
    // Filler cells, the last comment row when commentsOn, the closing lines; then closes the
    // file (raises IoError when that fails).
    void writeTail(bool commentsOn);
    // Closes whatever is open without writing more (failure paths).
    void close() noexcept;
    bool isOpen() const;
    // After writeTail, when photographs were left out: states the image count and the first
    // thumbnail's name in the finished page's head again (the page is copied through a
    // temporary file and renamed over itself). Raises IoError.
    void restateImages(int count, const QString& firstName);

    // A file name made safe for a relative link inside the page: '"', '#', '?', '%', '\',
    // control characters and an '&' that would read as a character reference ("&amp;") are
    // percent-encoded; everything else (spaces, Japanese, a lone '&') is kept.
    static QString pageUrl(const QString& fileName);
    // A text made safe inside a double-quoted attribute: '"' becomes "&quot;", control
    // characters "&#N;", an '&' that would read as a character reference "&amp;".
    static QString attributeText(const QString& text);

private:
    QStringList headLines() const;
    QString fileLine() const;
    QStringList scriptLines() const;
    QString bodyTag() const;
    QString titleLine() const;
    QString headerText() const;
    QString footerText() const;
    QString cellLine(const CatalogEntry& entry) const;
    void writeCommentRow();
    void writeLines(const QStringList& lines);
    void writeLine(const QString& line);

    CatalogSettings settings_;
    SettingsView view_;
    std::unique_ptr<TextFileWriter> file_;
    QString path_;
    QString title_;
    int perRow_ = 1;
    int selectedCount_ = 0;
    QString firstSelectedName_;
    QDate date_;
    QStringList commentCells_;  // finished comment cell of each slot of the current row
};

}  // namespace tessaly
