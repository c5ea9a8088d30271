#pragma once

#include <QDate>
#include <QString>

#include "core/settings/catalogsettings.h"
#include "core/text/textfile.h"
#include "core/toc/tocentry.h"
#include "core/toc/tocgenerator.h"

namespace tessaly {

// The pieces every table-of-contents page shares, worked out once per run: colours, title
// styling, the date, the catalogue count, the body line.
class TocPageHead {
public:
    TocPageHead(const CatalogSettings& settings, const TocOptions& options, int catalogueCount);

    // Lines 1 to 8: document type, version, the given third line, date comment, head, title.
    void writeDocumentStart(TextFileWriter& out, const QString& thirdLine) const;
    // Lines 1 to 13 of the contents page and title.htm: the above with the count comment,
    // then the body line, an empty line and the opening of the title table.
    void writeOpening(TextFileWriter& out) const;
    // The title table's cell line; the contents page pads the title with ideographic spaces.
    QString titleCell(const QString& fontSize, bool padTitle) const;
    // "[2026年12月7日作成]"
    QString dateCaption() const;

    // The thumbnail of an entry: folder/folderName/thumbFolderName/thumbnailName.
    QString thumbnailPath(const QString& folder, const TocEntry& entry) const;
    // Link to the entry's catalogue page and its thumbnail, relative to the folder. Names are
    // kept as they are, except the characters that would break a link or the tag, which are
    // written as addresses (pageAddress).
    QString pageLink(const TocEntry& entry) const;
    QString thumbnailLink(const TocEntry& entry) const;
    // A title (markup, as typed) inside the ALT attribute: '"' and control characters become
    // references; character references stay as they are.
    static QString altText(const QString& title);

    const CatalogSettings& settings() const { return settings_; }

private:
    QString bodyLine() const;

    const CatalogSettings& settings_;
    QString title_;
    bool useBackgroundImage_;
    QString backgroundSuffix_;
    QString pageColour_;
    QDate date_;
    int count_;
};

}  // namespace tessaly
