#pragma once

#include <QString>
#include <QStringList>

#include "core/toc/tocentry.h"
#include "core/toc/tocgenerator.h"
#include "core/toc/tocpagehead.h"

namespace tessaly {

// Writes the contents page in the modern style: HTML5 in UTF-8, the grid of the catalogues'
// first thumbnails (with their double-size versions where the catalogue has them), each with
// its title, folder name, photo count and date, linking to its page. The stylesheet is inside
// the page, which has no thumbnail folder of its own.
// Calling order: writeEntry per catalogue, then finish, which puts the page in place through
// a temporary file (until then the earlier page stays as it was).
class ModernTocWriter {
public:
    ModernTocWriter(const QString& path, const QString& folder, const TocPageHead& head,
                    const TocOptions& options);

    void writeEntry(const TocEntry& entry);
    void finish();
    // The page text as finish writes it (CR LF line ends).
    QString pageText() const;

private:
    QString colourStyle() const;

    QString path_;
    QString folder_;
    const TocPageHead& head_;
    const TocOptions& options_;
    QStringList cells_;
};

}  // namespace tessaly
