#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include "core/pages/catalogentry.h"
#include "core/pages/outputlayout.h"
#include "core/settings/catalogsettings.h"

namespace tessaly {

// Writes the catalogue page in the modern style: HTML5 in UTF-8, a responsive grid of
// thumbnails with their double-size versions for high-density screens, and a lightbox (the
// slide show runs inside it) from the stylesheet and script beside the thumbnails. Without
// the script every thumbnail is a plain link to its photograph.
// The page keeps the classic page's leading comment lines (version, image count and first
// thumbnail, date), so the table of contents reads it alike.
// Calling order: start, addImage per image, finish; nothing is written before finish, which
// puts the stylesheet, the script and then the page in place (each through a temporary
// file), so a failed or dropped run leaves the earlier page as it was.
class ModernPageWriter {
public:
    // files: where the page, its style sheet and script lie, the background image it shows,
    // and whether it has the slide show button (a slide show page named there).
    ModernPageWriter(const CatalogSettings& settings, const PageFiles& files);

    // title is markup as typed (or a name already made page text).
    void start(const QString& title, int perRow, const QDate& date);
    // The cell of the next image; commentsOn is the comment switch sampled after it.
    void addImage(const CatalogEntry& entry, bool commentsOn);
    // Writes the files; firstThumbnail is the first thumbnail's file name. Raises IoError /
    // CreateError.
    void finish(const QString& firstThumbnail);
    // Drops what was gathered.
    void close() noexcept;

    // The page text in full (CR LF line ends).
    QString pageText(const QString& firstThumbnail) const;

private:
    QStringList headLines(const QString& firstThumbnail) const;
    QStringList bodyStart() const;
    QStringList dialogLines() const;
    QString rootClass() const;
    QString colourStyle() const;
    QString backgroundStyle() const;

    CatalogSettings settings_;
    PageFiles files_;
    QString title_;
    int perRow_ = 5;
    QDate date_;
    int eager_ = 0;  // thumbnails of the first screen, loaded without waiting
    QStringList cells_;
};

// The text of a page attribute from a comment typed as markup: what a browser shows of it
// (tags dropped, references read, a "<" or "&" that starts neither kept), its white space
// run together, then made page text as names are.
QString plainAttributeText(const QString& markup);

// A page address (pageAddress's form) made fit for a srcset candidate, where whitespace ends the
// URL and leading or trailing commas are separators: spaces and commas percent-encoded.
QString srcsetUrl(const QString& link);

}  // namespace tessaly
