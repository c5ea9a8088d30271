#pragma once

#include <QString>
#include <array>
#include <optional>

#include "core/pages/pagefile.h"
#include "core/toc/tocentry.h"
#include "core/toc/tocpagehead.h"

namespace tessaly {

// Writes the contents page: a table with one row per catalogue (list variant) or rows of five
// thumbnails, each followed by a row of their titles (grid variant).
// Calling order: the constructor writes the head; writeEntry for k = 1 .. count; finish, which
// puts the page in place (until then the earlier page stays as it was, see PageFile).
class TocPageWriter {
public:
    enum class Variant { List, Grid };

    // Starts the page at path; folder is where the catalogues' sub-folders lie.
    TocPageWriter(const QString& path, const QString& folder, const TocPageHead& head,
                  Variant variant, int count);

    void writeEntry(const TocEntry& entry, int k);
    // Writes the footer and puts the page in place.
    void finish();

private:
    struct Caption {
        QString linkOpening;
        QString title;
    };

    void writeHeader();
    void writeListEntry(const TocEntry& entry, int k);
    void writeGridEntry(const TocEntry& entry, int k);
    void writeCaptionRow();
    QString sizePart(const TocEntry& entry) const;

    PageFile out_;
    QString folder_;
    const TocPageHead& head_;
    Variant variant_;
    int count_;
    std::array<std::optional<Caption>, 5> captions_;
};

}  // namespace tessaly
