#include "core/imaging/pixels/pixelstorage.h"

#include <cstring>
#include <new>
#include <vector>

namespace tessaly {

int PixelStorage::strideFor(int width, int bitCount) {
    return int(((qint64(width) * bitCount + 31) / 32) * 4);
}

bool PixelStorage::fitsLimits(qint64 width, qint64 rows, int bitCount) {
    if (width < 1 || rows < 1 || width > kMaxImagePixels || rows > kMaxImagePixels) {
        return false;
    }
    const qint64 stride = ((width * bitCount + 31) / 32) * 4;
    return width * rows <= kMaxImagePixels && stride * rows <= kMaxImageBytes;
}

void PixelStorage::allocate(size_t size, bool zeroed) {
    // calloc hands out fresh zeroed pages without touching them first, but memory the heap
    // has had before is zeroed byte by byte.
    uchar* p = static_cast<uchar*>(zeroed ? std::calloc(size ? size : 1, 1)
                                          : std::malloc(size ? size : 1));
    if (!p) {
        throw std::bad_alloc();
    }
    bits_.reset(p);
    size_ = size;
}

std::shared_ptr<PixelStorage> PixelStorage::create(int width, int height, int bitCount,
                                                   int colorCount) {
    const bool goodBits = bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 24;
    const qint64 rows = height < 0 ? -qint64(height) : qint64(height);
    if (width <= 0 || height == 0 || colorCount < 0 || colorCount > 256 || !goodBits ||
        !fitsLimits(width, rows, bitCount)) {
        throw ImageSizeError(QString::fromLatin1(imagemsg::kCreateStorage));
    }
    std::shared_ptr<PixelStorage> dib(new PixelStorage());
    dib->width_ = width;
    dib->height_ = height;
    dib->bitCount_ = bitCount;
    dib->colorCount_ = colorCount;
    dib->stride_ = strideFor(width, bitCount);
    dib->allocate(size_t(dib->stride_) * size_t(rows));
    return dib;
}

std::shared_ptr<PixelStorage> PixelStorage::createUnfilled(int width, int height, int bitCount,
                                                           int colorCount) {
    // Create's checks on a 1 x 1 storage, then the real size without zeroing.
    std::shared_ptr<PixelStorage> dib = create(1, height < 0 ? -1 : 1, bitCount, colorCount);
    const qint64 rows = height < 0 ? -qint64(height) : qint64(height);
    if (width <= 0 || height == 0 || !fitsLimits(width, rows, bitCount)) {
        throw ImageSizeError(QString::fromLatin1(imagemsg::kCreateStorage));
    }
    dib->width_ = width;
    dib->height_ = height;
    dib->stride_ = strideFor(width, bitCount);
    dib->allocate(size_t(dib->stride_) * size_t(rows), false);
    dib->zeroRowPadding();
    return dib;
}

void PixelStorage::zeroRowPadding() {
    const size_t used = (size_t(width_) * size_t(bitCount_) + 7) / 8;
    const size_t padding = size_t(stride_) - used;
    if (padding == 0) return;
    for (int y = 0; y < rows(); ++y) std::memset(row(y) + used, 0, padding);
}

std::shared_ptr<PixelStorage> PixelStorage::createCompressed(int width, int height, int bitCount,
                                                             const std::vector<uchar>& stream) {
    std::shared_ptr<PixelStorage> dib(new PixelStorage());
    dib->width_ = width;
    dib->height_ = height;
    dib->bitCount_ = bitCount;
    dib->compression_ = bitCount == 8 ? kRle8 : kRle4;
    dib->colorCount_ = 1 << bitCount;
    dib->stride_ = strideFor(width, bitCount);
    dib->allocate(stream.size());
    if (!stream.empty()) {
        std::memcpy(dib->bits_.get(), stream.data(), stream.size());
    }
    return dib;
}

std::shared_ptr<PixelStorage> PixelStorage::clone() const {
    std::shared_ptr<PixelStorage> dib(new PixelStorage());
    dib->width_ = width_;
    dib->height_ = height_;
    dib->bitCount_ = bitCount_;
    dib->compression_ = compression_;
    dib->stride_ = stride_;
    dib->colorCount_ = colorCount_;
    dib->colors_ = colors_;
    dib->allocate(size_);
    std::memcpy(dib->bits_.get(), bits_.get(), size_);
    return dib;
}

PixelFormat PixelStorage::pixelFormat() const {
    switch (bitCount_) {
        case 1:
            if (compression_ == kNone) return PixelFormat::Indexed1;
            throw PixelFormatError(QString::fromLatin1(imagemsg::kGetPixelFormat1));
        case 4:
            if (compression_ == kNone) return PixelFormat::Indexed4;
            if (compression_ == kRle4) return PixelFormat::Rle4;
            throw PixelFormatError(QString::fromLatin1(imagemsg::kGetPixelFormat4));
        case 8:
            if (compression_ == kNone) return PixelFormat::Indexed8;
            if (compression_ == kRle8) return PixelFormat::Rle8;
            throw PixelFormatError(QString::fromLatin1(imagemsg::kGetPixelFormat8));
        case 24:
            if (compression_ == kNone) return PixelFormat::Bgr24;
            throw PixelFormatError(QString::fromLatin1(imagemsg::kGetPixelFormat24));
        default:
            throw PixelFormatError(QString::fromLatin1(imagemsg::kGetPixelFormatBitCount));
    }
}

quint32 PixelStorage::color(int index) const {
    const uchar* e = colors_.data() + 4 * index;
    return quint32(e[2]) | (quint32(e[1]) << 8) | (quint32(e[0]) << 16);
}

void PixelStorage::setColor(int index, quint32 color) {
    uchar* e = colors_.data() + 4 * index;
    e[0] = uchar((color >> 16) & 0xFF);
    e[1] = uchar((color >> 8) & 0xFF);
    e[2] = uchar(color & 0xFF);
    e[3] = 0;
}

size_t PixelStorage::rowOffset(int y) const {
    const int stored = height_ > 0 ? height_ - 1 - y : y;
    return size_t(stored) * size_t(stride_);
}

}  // namespace tessaly
