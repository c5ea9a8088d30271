#pragma once

#include <QtGlobal>
#include <utility>
#include <vector>

#include "core/imaging/jpeg/jpegimage.h"
#include "core/imaging/pixels/pixelimage.h"

namespace tessaly {

// The area-averaging reduction of a w x h picture for a tw x th box, fed one row at a time,
// so that the picture itself need not be kept: every output pixel is the truncated mean of
// one band-by-run block of source pixels (blocks bounded at trunc(i / s), s the stored scale
// factor); source columns right of the last run and rows below the last band are not used.
// Column sums are 16-bit per byte, moved into 64-bit block sums every 257 rows at most, so the
// result is exactly that of summing each block pixel by pixel.
class AreaAverager : public JpegRowSink {
public:
    // grey: rows of one grey byte per pixel, taken as blue = green = red.
    AreaAverager(int w, int h, int tw, int th, bool grey = false);

    // The result's size, trunc(s * w) by trunc(s * h); may be 0.
    int resultWidth() const { return outW_; }
    int resultHeight() const { return outH_; }
    // True when a block reaches every pixel of the result (always so for a reduction).
    bool coversResult() const { return covers_; }
    // Starts the result as the top-left corner of the 24-bit source, for the pixels no block
    // reaches (only when coversResult() is false).
    void startFrom(const PixelImage& source);

    // Rows first .. first + count - 1, in order from row 0 on; rows after the last band are
    // ignored. A stride of 0 is not allowed for count > 1.
    void takeRows(int first, int count, const uchar* rows, size_t stride) override;

    // The 24-bit result (resultWidth() x resultHeight(), at least 1 x 1) once every row of the
    // last band has been taken.
    PixelImage result();

private:
    using Runs = std::vector<std::pair<int, int>>;  // (x0, x1) of every output column
    struct Sums {
        qint64 b = 0, g = 0, r = 0;
    };
    void addRow(const uchar* row);
    void flushColumns();
    void finishBand();
    void nextBand();

    int w_, h_;
    bool grey_;
    long double step_;
    int outW_ = 0, outH_ = 0;
    bool covers_ = false;
    Runs runs_;
    std::vector<quint16> columns_;  // per byte of the used width, summed over pending rows
    std::vector<Sums> band_;        // per output column, summed over the band
    std::vector<uchar> expanded_;   // a grey row as blue, green, red
    int pending_ = 0;               // rows in columns_
    int y0_ = 0, y1_ = 0, j_ = 1;   // the current band: rows y0_ .. y1_ - 1, output row j_ - 1
    int nextRow_ = 0;
    PixelImage out_;
    bool started_ = false;
};

}  // namespace tessaly
