#pragma once

#include <QString>

#include "core/imaging/thumbnailmaker.h"
#include "core/settings/catalogsettings.h"

namespace tessaly {

// One file a run writes: where it lies, and its path from the page's folder ("/" between
// folders, not yet an address: pageAddress makes one of it for its place in a page).
struct PlacedFile {
    QString path;
    QString fromPage;
};

// The files of a page set beside its entries: the pages, the modern page's style sheet and
// script, the background image the pages show. An empty path: the set has none.
struct PageFiles {
    PlacedFile page;
    bool slideShow = false;    // the slide show is on: its own page, or the modern page's button
    PlacedFile slideShowPage;  // the classic slide show page
    PlacedFile styleSheet;
    PlacedFile script;
    PlacedFile background;
    PlacedFile download;  // the zip of the web copies the pages offer
};

// Where every output of a catalogue in a folder lies, and how its pages reach it: the pages
// beside the photographs, the thumbnails (after their prefix) in the thumbnail folder, their
// double-size versions in its "2x" folder, the web copies in its "web" folder. Names are
// given here once; nothing else puts them together.
class OutputLayout {
public:
    OutputLayout(const CatalogSettings& settings, const QString& folder);

    // The double-size thumbnails' folder inside the thumbnail folder.
    static QString doubleFolderName();
    // The box thumbnails fit, with their quality and filter, as the settings give it.
    static ThumbnailBox thumbnailBox(const CatalogSettings& settings);

    const QString& folder() const { return folder_; }  // ends in "/"
    QString thumbFolder() const;                       // no "/" at the end
    QString doubleFolder() const;
    QString webFolder() const;

    PlacedFile page() const;
    PlacedFile slideShow() const;
    PlacedFile styleSheet() const;  // the modern page's, in the thumbnail folder
    PlacedFile script() const;
    // The background image as the pages name it (only ".jpg" keeps its kind: others are
    // named "back.gif"); empty when the settings use none.
    PlacedFile background() const;

    PlacedFile photo(const QString& name) const;
    // A thumbnail (or a JPEG copy kept beside the thumbnails) of the given name before the
    // prefix, and its double-size version.
    PlacedFile thumbnail(const QString& name) const;
    PlacedFile doubleThumbnail(const QString& name) const;
    // A web copy of the given name.
    PlacedFile webCopy(const QString& name) const;
    // The zip of the web copies, in the thumbnail folder.
    PlacedFile photoArchive() const;
    // The page files of a set in the classic style (page and slide show page) or the modern
    // one (page, style sheet and script), with the slide show or without.
    PageFiles pageFiles(bool modern, bool slideShow) const;
    // The thumbnail's file name with its prefix, as the page's head line names it.
    QString thumbnailFileName(const QString& name) const;

private:
    PlacedFile inThumbFolder(const QString& relative) const;

    QString folder_;
    QString thumbFolderName_;
    QString thumbPrefix_;
    QString htmlFileName_;
    QString backgroundFile_;
    bool background_ = false;
};

}  // namespace tessaly
