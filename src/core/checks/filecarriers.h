#pragma once

#include <QByteArray>
#include <QString>

#include "core/imaging/metadata/privacyfilter.h"

namespace tessaly {

// What a file a web server would serve tells about the photographer, wherever its format
// keeps metadata: JPEG's EXIF, XMP (extended XMP as well) and Photoshop segments, of every
// picture in the file; every chunk of PNG (eXIf, XMP and ImageMagick's raw profiles in text
// chunks, before or after the image data) and of WebP (whatever its header's flags say);
// the EXIF and XMP items of HEIF. Files are told apart by their content, not their name;
// a file of no format we read carries nothing.
class FileCarriers {
public:
    static PrivateFields of(const QString& path);

    static PrivateFields ofJpeg(const QByteArray& file);
    static PrivateFields ofPng(const QByteArray& file);
    static PrivateFields ofWebp(const QByteArray& file);
    static PrivateFields ofHeif(const QString& path);
};

}  // namespace tessaly
