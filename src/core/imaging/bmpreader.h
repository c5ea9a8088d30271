#pragma once

#include <QByteArray>

#include "core/imaging/tnkdib.h"

namespace tessaly {

// Reads a BMP file's bytes into a pixel image: 12-byte OS/2 and 40/108/124-byte Windows
// headers; 1, 4, 8, 24 bits, 4- and 8-bit run-length data (decoded to plain rows), 16 and
// 32 bits (unpacked to 24 bits through the colour masks). Every size, offset, count and run
// is checked against the data before use.
class BmpReader {
public:
    static TNkDIB read(const QByteArray& data);
};

}  // namespace tessaly
