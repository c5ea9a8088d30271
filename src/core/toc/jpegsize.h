#pragma once

#include <QString>
#include <optional>

#include "core/imaging/jpeg/jpegscanner.h"

namespace tessaly {

// Reads the size from the JPEG file's markers without decoding the image: the first
// start-of-frame segment before the scan data. Nothing when the file cannot be opened, is not
// a JPEG, or states a zero width or height. Reads only the headers, whatever the file holds.
std::optional<JpegSize> readJpegSize(const QString& path);

// The same, raising ImageError naming the file when no size can be read.
JpegSize requireJpegSize(const QString& path);

}  // namespace tessaly
