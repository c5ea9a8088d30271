#pragma once

#include <QString>

namespace tessaly {

// One image of a catalogue run, handed to the page writers.
struct CatalogEntry {
    QString fileName;  // name and extension as the list shows it, no folder
    // The web copy the pages link to instead of the photograph (its name in the thumbnail
    // folder's "web" folder); empty when they link to the photograph.
    QString copyName;
    int imageWidth = 0;  // size in pixels of the image linked to (the photograph or its copy)
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
