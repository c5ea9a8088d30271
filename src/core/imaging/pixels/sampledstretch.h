#pragma once

#include <utility>
#include <vector>

#include "core/imaging/jpeg/jpegimage.h"
#include "core/imaging/pixels/pixelimage.h"

namespace tessaly {

// The plain stretch of a photograph (StretchNearest of the picture as shown, after its EXIF
// orientation) gathered straight from the stored rows it samples, so that neither the
// full-size picture nor the rows it drops are kept. Every target pixel copies the stored pixel
// that StretchNearest would copy, so the result is the same picture, byte for byte.
class SampledStretch : public JpegRowSink {
public:
    // A stretch of the photograph the header describes to tw x th.
    SampledStretch(const JpegHeader& header, int tw, int th);

    // The stored rows the stretch samples, ascending, each once.
    const std::vector<int>& rows() const { return rows_; }

    // Rows in ascending order; rows not listed in rows() are ignored.
    void takeRows(int first, int count, const uchar* rows, size_t stride) override;

    // The stretched picture: 24-bit, or 8-bit with a grey colour table for greyscale.
    PixelImage result();

private:
    void fillLine(int line, const uchar* row);

    int bytes_;     // per pixel
    bool swapped_;  // orientations 5 to 8: a stored row fills a target column
    std::vector<std::pair<int, int>> lines_;  // (stored row, target line), by stored row
    std::vector<int> pick_;                   // stored column of each pixel along a line
    std::vector<int> rows_;
    std::vector<uchar*> targetRows_;
    size_t next_ = 0;  // into lines_
    PixelImage target_;
};

}  // namespace tessaly
