#pragma once

#include <QString>
#include <memory>

#include "core/pages/pagefile.h"
#include "core/toc/tocentry.h"
#include "core/toc/tocpagehead.h"

namespace tessaly {

// Writes the frame set: the top page (named by htmlFileName) splitting the window into the
// left pane title.htm and the right pane showing a catalogue, then title.htm itself, a single
// column of thumbnails and titles that open their catalogues in the right pane.
// Calling order: the constructor writes the top page and the head of title.htm;
// writeEntry once per catalogue; finish, which puts both pages in place (until then the
// earlier ones stay as they were, see PageFile).
class FramePageWriter {
public:
    // Thumbnails in the left pane are shown this many pixels wide.
    static constexpr int kThumbnailWidth = 80;

    FramePageWriter(const QString& folder, const TocPageHead& head, const QString& firstFolderName);

    void writeEntry(const TocEntry& entry);
    // Writes the footer of title.htm and puts both pages in place.
    void finish();

    static QString titlePagePath(const QString& folder);

private:
    void writeTopPage(const QString& firstFolderName);
    void writeTitleHeader();
    QString sizePart(const TocEntry& entry) const;

    QString folder_;
    const TocPageHead& head_;
    std::unique_ptr<PageFile> top_;
    std::unique_ptr<PageFile> out_;
};

}  // namespace tessaly
