#pragma once

#include <QString>

namespace tessaly {

// One image of a catalogue run, handed to the page writers.
struct CatalogEntry {
    QString fileName;  // name and extension as the list shows it, no folder
    // The thumbnail's name in the thumbnail folder, before the prefix; empty: fileName.
    QString thumbnailName;
    // The JPEG copy the page links to in place of the photograph, in the thumbnail folder
    // before the prefix; empty: the page links to the photograph itself.
    QString copyName;
    // The name shown as the thumbnail's alternative text; null: fileName without its last
    // four characters.
    QString shortName;
    // The web copy the pages link to in place of the photograph or its JPEG copy (its name in
    // the thumbnail folder's "web" folder); empty when they link to one of those.
    QString webCopyName;
    int imageWidth = 0;  // size in pixels of the image linked to (the photograph or a copy)
    int imageHeight = 0;
    long double scale = 1.0L;  // larger of imageWidth / thumbWidth and imageHeight / thumbHeight
    int thumbnailWidth = 0;    // imageWidth / scale, rounded half to even
    int thumbnailHeight = 0;
    QString comment1;
    QString comment2;
    int slideWidth = 0;  // size announced to the slide show page
    int slideHeight = 0;
};

}  // namespace tessaly
