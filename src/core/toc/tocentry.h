#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace tessaly {

// The values the table of contents takes from one catalogue page, cut from its leading lines
// by character positions (a Japanese character counts as one).
struct TocEntry {
    QString folderName;     // the sub-folder holding the page
    QString title;          // line 7 between "<TITLE>" and "</TITLE>"
    QString imageCount;     // line 3, characters 11 to 13
    QString date;           // line 4, characters 6 to 15
    QString thumbnailName;  // line 3 from character 15 up to the closing " -->"
};

// The text a catalogue page's second line begins with.
extern const char* const kCatalogMarker;

// The first `count` lines of a text file, decoded from Shift-JIS (from UTF-8 when one of them
// is the modern catalogue page's "<head><meta charset="utf-8">"); lines past the end are
// empty. At most a few megabytes are read, whatever the file holds. Raises IoError when the
// file cannot be opened.
QStringList readLeadingLines(const QString& path, int count);

// True when the second line begins with the catalogue marker.
bool hasCatalogMarker(const QString& secondLine);

// True when the page exists as a regular file and carries the marker on its second line.
bool isCatalogPage(const QString& pagePath);

// The entry of a catalogue page, or nothing when the page is missing or carries no marker.
std::optional<TocEntry> readTocEntry(const QString& pagePath, const QString& folderName);

// Cuts the entry fields from the first seven lines of a marked page.
TocEntry cutTocEntry(const QStringList& lines, const QString& folderName);

}  // namespace tessaly
