#pragma once

#include <QString>

#include "core/imaging/imageerrors.h"

namespace tessaly {

// The error of an image file that could not be read, as the user sees it:
// "<file name>: <what went wrong, in Japanese>". The sentence is chosen from the decoder's own
// text, which the error keeps as its detail (for standard error; see diagnosticText). The
// codec error's detail, or its message when it has none, is that text.
JpegError jpegFileError(const QString& path, const Error& codec);
JpegError jpegFileError(const QString& path, const QString& detail);
BmpFormatError bmpFileError(const QString& path, const Error& codec);
BmpFormatError bmpFileError(const QString& path, const QString& detail);

// The Japanese sentence for a text of libjpeg or of this program's JPEG checks.
QString jpegReason(const QString& detail);

// Runs a decoding step whose codec failures then name the file, as those of
// JpegImage::loadFromFile do.
template <typename Step>
auto namingFile(const QString& path, Step step) -> decltype(step()) {
    try {
        return step();
    } catch (const JpegError& error) {
        throw jpegFileError(path, error);
    }
}

}  // namespace tessaly
