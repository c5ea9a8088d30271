#pragma once

#include <QString>

namespace tessaly {

// One image of a catalogue run, handed to the page writers.
struct CatalogEntry {
    QString fileName;  // name and extension as the list shows it, no folder
    // The name shown as the thumbnail's alternative text; null: fileName without its last
    // four characters.
    QString shortName;
    // Paths from the page's folder, as the run's plan decided them; the page writers make
    // addresses of them (pageAddress) and put no names together themselves.
    QString link;             // what the thumbnail links to: the photograph, or a copy of it
    QString thumbnail;        // the thumbnail
    QString doubleThumbnail;  // its double-size version (the modern page)
    int imageWidth = 0;       // size in pixels of the image linked to (the photograph or a copy)
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
