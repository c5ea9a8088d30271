#pragma once

#include <QtGlobal>
#include <array>
#include <cstdlib>
#include <memory>

#include "core/imaging/pixels/pixelimage.h"

namespace tessaly {

// The shared pixel storage of PixelImage: header values, colour table and the pixel bytes
// (plain rows, or the run-length stream of a compressed image).
class PixelStorage {
public:
    enum Compression { kNone = 0, kRle8 = 1, kRle4 = 2 };

    // A zeroed storage; raises "TNkInternalDIB.CreateDIB: Invalid Parameters" for a width of
    // 0 or less, a height of 0, a colour count outside 0..256, a bit count other than 1, 4,
    // 8, 24, or a size beyond the image limits.
    static std::shared_ptr<PixelStorage> create(int width, int height, int bitCount,
                                                int colorCount);
    // The same checks and header, but the pixel bytes are left as the allocator hands them
    // out; only the padding at the end of each row is zeroed. For a storage whose every row
    // is written next (a decode target), so that no time goes into zeroing it first.
    static std::shared_ptr<PixelStorage> createUnfilled(int width, int height, int bitCount,
                                                        int colorCount);
    // A compressed storage holding a copy of the run-length stream.
    static std::shared_ptr<PixelStorage> createCompressed(int width, int height, int bitCount,
                                                          const std::vector<uchar>& stream);
    std::shared_ptr<PixelStorage> clone() const;

    static int strideFor(int width, int bitCount);
    // True when a width x rows image of that bit count fits the image limits.
    static bool fitsLimits(qint64 width, qint64 rows, int bitCount);

    int width() const { return width_; }
    int height() const { return height_; }  // negative: top-down rows
    int rows() const { return height_ < 0 ? -height_ : height_; }
    int bitCount() const { return bitCount_; }
    int compression() const { return compression_; }
    int stride() const { return stride_; }
    size_t byteSize() const { return size_; }
    PixelFormat pixelFormat() const;

    int colorCount() const { return colorCount_; }
    void setColorCount(int count) { colorCount_ = count; }
    uchar* colorTable() { return colors_.data(); }  // 256 entries: blue, green, red, reserved
    const uchar* colorTable() const { return colors_.data(); }
    quint32 color(int index) const;  // 0x00BBGGRR
    void setColor(int index, quint32 color);

    uchar* bits() { return bits_.get(); }
    const uchar* bits() const { return bits_.get(); }
    // Row y counted from the top (plain storage only).
    uchar* row(int y) { return bits_.get() + rowOffset(y); }
    const uchar* row(int y) const { return bits_.get() + rowOffset(y); }

private:
    struct FreeDeleter {
        void operator()(uchar* p) const { std::free(p); }
    };
    PixelStorage() = default;
    size_t rowOffset(int y) const;
    void allocate(size_t size, bool zeroed = true);
    void zeroRowPadding();

    int width_ = 1;
    int height_ = 1;
    int bitCount_ = 8;
    int compression_ = kNone;
    int stride_ = 4;
    int colorCount_ = 0;
    std::array<uchar, 1024> colors_{};
    std::unique_ptr<uchar, FreeDeleter> bits_;
    size_t size_ = 0;
};

}  // namespace tessaly
