#pragma once

#include <QtGlobal>
#include <vector>

namespace tessaly::rle {

// Decodes a BMP run-length stream (8-bit or 4-bit) into zeroed plain rows in stored order
// (the stream's first row is the first stored row). Pixels the stream skips stay 0.
// A run, delta or absolute block past the row or the image raises BmpFormatError;
// a stream that ends before all rows are done raises the truncation error.
void decode(const uchar* data, size_t size, int bitCount, int width, int rows, uchar* out,
            int stride);

// Encodes plain rows in stored order as a run-length stream of encoded runs only.
std::vector<uchar> encode(const uchar* rowsData, int stride, int width, int rows, int bitCount);

}  // namespace tessaly::rle
