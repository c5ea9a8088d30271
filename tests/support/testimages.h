#pragma once

#include <QByteArray>
#include <QString>

namespace tessaly::test {

// Writes a baseline JPEG of the given size with a smooth photo-like pattern (colour, 4:2:0,
// or one grey component). Throws std::runtime_error when the file cannot be written.
void writeTestJpeg(const QString& path, int width, int height, bool grey = false, int quality = 90);

// The JPEG bytes of the same pattern.
QByteArray makeTestJpeg(int width, int height, bool grey = false, int quality = 90);

// The colour (0x00BBGGRR) the test pattern has at (x, y) before compression.
unsigned testPatternColor(int x, int y, int width, int height);

// A bottom-up 24-bit BMP file (40-byte header) holding the test pattern.
QByteArray makeTestBmp24(int w, int h);

}  // namespace tessaly::test
