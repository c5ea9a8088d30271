#pragma once

#include <cstddef>

namespace tessaly {

// The EXIF Orientation value of an APP1 segment's payload (the bytes after the segment
// length, starting with "Exif\0\0"), read as browsers do: IFD0 only, an Orientation entry of
// type SHORT with one value from 1 to 8. Anything else (no EXIF data, another type or count,
// a value out of range, damaged data) gives 1 (see ExifBlock::orientation).
int exifOrientation(const unsigned char* payload, size_t size);

// True when the payload starts with the "Exif\0\0" identifier.
bool isExifPayload(const unsigned char* payload, size_t size);

}  // namespace tessaly
