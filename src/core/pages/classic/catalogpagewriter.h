#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <memory>

#include "core/pages/catalogentry.h"
#include "core/pages/outputlayout.h"
#include "core/settings/catalogsettings.h"

namespace tessaly {

class PageFile;

// Writes the catalogue page of one run in three stages: the head (writeHead, then
// writeBodyStart), one table cell per image (writeImage) and the tail (writeTail); publish()
// then puts it in place. Until then the page is a temporary file beside the old page, which
// stays as it was (see PageFile).
// Lines are Shift-JIS with CR LF; characters the code page cannot hold become "&#N;".
// Titles, header, footer and comments go into the page as typed (markup). File names are
// data: links carry them as pageAddress writes them, texts as htmlText.
class CatalogPageWriter {
public:
    // files gives the background image the page shows and whether a slide show page is made
    // (the page then has its button).
    CatalogPageWriter(const CatalogSettings& settings, const PageFiles& files);
    ~CatalogPageWriter();  // closes quietly if open
    CatalogPageWriter(const CatalogPageWriter&) = delete;
    CatalogPageWriter& operator=(const CatalogPageWriter&) = delete;

    // Starts the page (its temporary file) and writes the head lines. Raises IoError.
    // perRow below 1 counts as 1. firstThumbnail is the first thumbnail's file name.
    void writeHead(const QString& path, const QString& title, int perRow, int selectedCount,
                   const QString& firstThumbnail, const QDate& date);
    // The body start: background, title block, header line and the table's first row.
    void writeBodyStart();
    // The cell of image number n (1 for the first image written), its comment slot, and the
    // row break when one is due. commentsOn is the comment switch as sampled after the image.
    void writeImage(int n, const CatalogEntry& entry, bool commentsOn);
    // Filler cells, the last comment row when commentsOn, the closing lines; then closes the
    // file (raises IoError when that fails). The page is not in place yet.
    void writeTail(bool commentsOn);
    // Puts the ended page in place of the old one (raises IoError when that fails).
    void publish();
    // Drops whatever is open without writing more (failure paths): the old page stays.
    void close() noexcept;
    bool isOpen() const;
    // After writeTail and before publish, when photographs were left out: states the image
    // count and the first thumbnail's file name in the page's head again. Raises IoError.
    void restateImages(int count, const QString& firstThumbnail);

    // The line under the title: "[Y年M月D日作成]" or the header text typed (markup).
    static QString headerTextOf(const CatalogSettings& settings, const QDate& date);
    // The footer: the program's link, or the footer text typed (markup), linked when asked.
    static QString footerTextOf(const CatalogSettings& settings);

    // A title in the font the settings give titles (size, colour, face, bold, italic), as the
    // catalogue and the contents pages show it: "<FONT size=..."><B><I>text</I></B></FONT>".
    static QString titleFont(const CatalogSettings& settings, const QString& size,
                             const QString& text);
    // The title table's cell as it opens, with the width and colour the settings give:
    // "<TD align="center" width="..." bgcolor="#RRGGBB">".
    static QString titleCellStart(const CatalogSettings& settings);

private:
    QStringList headLines() const;
    QString fileLine() const;
    QStringList scriptLines() const;
    QString bodyTag() const;
    QString titleLine() const;
    QString cellLine(const CatalogEntry& entry) const;
    void writeCommentRow();
    void writeLines(const QStringList& lines);
    void writeLine(const QString& line);

    CatalogSettings settings_;
    PageFiles files_;
    std::unique_ptr<PageFile> file_;
    QString path_;
    QString title_;
    int perRow_ = 1;
    int selectedCount_ = 0;
    QString firstThumbnail_;
    QDate date_;
    QStringList commentCells_;  // finished comment cell of each slot of the current row
};

}  // namespace tessaly
