#include "core/imaging/pixels/pixelimage.h"

#include <QFile>
#include <QFileInfo>
#include <cstring>

#include "core/imaging/bmp/bmpreader.h"
#include "core/imaging/imagefilemessage.h"
#include "core/imaging/pixels/pixelformatconverter.h"
#include "core/imaging/pixels/pixelstorage.h"
#include "core/text/textfile.h"

namespace tessaly {

namespace {

int bitCountOf(PixelFormat format) {
    switch (format) {
        case PixelFormat::Indexed1:
            return 1;
        case PixelFormat::Indexed4:
        case PixelFormat::Rle4:
            return 4;
        case PixelFormat::Indexed8:
        case PixelFormat::Rle8:
            return 8;
        default:
            return 24;
    }
}

[[noreturn]] void fail(const char* message) { throw PixelRangeError(QString::fromLatin1(message)); }

}  // namespace

PixelImage::PixelImage() : storage_(PixelStorage::create(1, 1, 8, 2)) {}

PixelImage::PixelImage(int width, int height, PixelFormat format) {
    const int bits = bitCountOf(format);
    storage_ = PixelStorage::create(width, height, bits, bits == 24 ? 0 : 1 << bits);
    if (format == PixelFormat::Rle4 || format == PixelFormat::Rle8) {
        setPixelFormat(format);
    }
}

PixelImage PixelImage::unfilled(int width, int height, PixelFormat format) {
    if (format == PixelFormat::Rle4 || format == PixelFormat::Rle8)
        return PixelImage(width, height, format);
    const int bits = bitCountOf(format);
    return PixelImage(
        PixelStorage::createUnfilled(width, height, bits, bits == 24 ? 0 : 1 << bits));
}

PixelImage::PixelImage(std::shared_ptr<PixelStorage> storage) : storage_(std::move(storage)) {}
PixelImage::PixelImage(const PixelImage& other) = default;
PixelImage& PixelImage::operator=(const PixelImage& other) = default;
PixelImage::~PixelImage() = default;

// A moved-from image is left as a new 1 x 1 image.
PixelImage::PixelImage(PixelImage&& other) noexcept : storage_(std::move(other.storage_)) {
    other.storage_ = nullptr;
}

PixelImage& PixelImage::operator=(PixelImage&& other) noexcept {
    storage_.swap(other.storage_);
    other.storage_.reset();
    return *this;
}

void PixelImage::makePrivate() {
    if (!storage_) {
        storage_ = PixelStorage::create(1, 1, 8, 2);
    } else if (storage_.use_count() != 1) {
        storage_ = storage_->clone();
    }
}

int PixelImage::width() const { return storage_ ? storage_->width() : 1; }
int PixelImage::height() const { return storage_ ? storage_->rows() : 1; }
bool PixelImage::topDown() const { return storage_ && storage_->height() < 0; }
int PixelImage::bitCount() const { return storage_ ? storage_->bitCount() : 8; }
int PixelImage::stride() const { return storage_ ? storage_->stride() : 4; }

void PixelImage::setWidth(int width) {
    if (width <= 0) {
        throw ImageSizeError(QString::fromLatin1(imagemsg::kInvalidWidth));
    }
    makePrivate();
    if (width == storage_->width()) return;
    storage_ = PixelStorage::create(width, storage_->height(), storage_->bitCount(),
                                    storage_->colorCount());
}

void PixelImage::setHeight(int height) {
    if (height == 0) {
        throw ImageSizeError(QString::fromLatin1(imagemsg::kInvalidHeight));
    }
    makePrivate();
    if (height == storage_->height()) return;
    storage_ = PixelStorage::create(storage_->width(), height, storage_->bitCount(),
                                    storage_->colorCount());
}

PixelFormat PixelImage::pixelFormat() const {
    return storage_ ? storage_->pixelFormat() : PixelFormat::Indexed8;
}

void PixelImage::setPixelFormat(PixelFormat format) {
    if (format == pixelFormat()) return;
    makePrivate();
    storage_ = PixelFormatConverter::convert(*storage_, format);
}

quint32 PixelImage::pixel(int x, int y) const {
    if (!storage_) return 0;
    const PixelStorage& s = *storage_;
    if (s.compression() != PixelStorage::kNone) {
        throw CompressedImageError(QString::fromLatin1(imagemsg::kGetPixelsBadType));
    }
    if (x < 0 || x >= s.width() || y < 0 || y >= s.rows()) fail(imagemsg::kGetPixelsRange);
    const uchar* row = s.row(y);
    switch (s.bitCount()) {
        case 24: {
            const uchar* p = row + 3 * x;
            return quint32(p[2]) | (quint32(p[1]) << 8) | (quint32(p[0]) << 16);
        }
        case 8:
            return row[x];
        case 4:
            return x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
        default:
            return (row[x / 8] >> (7 - x % 8)) & 1;
    }
}

void PixelImage::setPixel(int x, int y, quint32 value) {
    makePrivate();
    PixelStorage& s = *storage_;
    if (s.compression() != PixelStorage::kNone) {
        throw CompressedImageError(QString::fromLatin1(imagemsg::kSetPixelsBadType));
    }
    if (x < 0 || x >= s.width() || y < 0 || y >= s.rows()) fail(imagemsg::kSetPixelsRange);
    uchar* row = s.row(y);
    switch (s.bitCount()) {
        case 24:
            row[3 * x] = uchar((value >> 16) & 0xFF);
            row[3 * x + 1] = uchar((value >> 8) & 0xFF);
            row[3 * x + 2] = uchar(value & 0xFF);
            break;
        case 8:
            row[x] = uchar(value & 0xFF);
            break;
        case 4: {
            uchar& b = row[x / 2];
            b = x % 2 == 0 ? uchar((b & 0x0F) | ((value & 0x0F) << 4))
                           : uchar((b & 0xF0) | (value & 0x0F));
            break;
        }
        default: {
            const uchar bit = uchar(0x80 >> (x % 8));
            row[x / 8] = (value & 1) ? uchar(row[x / 8] | bit) : uchar(row[x / 8] & ~bit);
        }
    }
}

void PixelImage::checkRow(int y, const char* rangeMessage, const char* typeMessage) const {
    if (y < 0 || y >= height()) fail(rangeMessage);
    if (storage_->compression() != PixelStorage::kNone) {
        throw CompressedImageError(QString::fromLatin1(typeMessage));
    }
}

uchar* PixelImage::scanLine(int y) {
    makePrivate();
    checkRow(y, imagemsg::kScanLineRange, imagemsg::kScanLineBadType);
    return storage_->row(y);
}

const uchar* PixelImage::constScanLine(int y) const {
    if (!storage_) return nullptr;
    checkRow(y, imagemsg::kScanLineRange, imagemsg::kScanLineBadType);
    return storage_->row(y);
}

int PixelImage::colorCount() const { return storage_ ? storage_->colorCount() : 2; }

quint32 PixelImage::color(int index) const {
    if (!storage_ || index < 0 || index > 255) return 0;
    return storage_->color(index);
}

void PixelImage::setColor(int index, quint32 color) {
    if (index < 0 || index > 255) {
        throw ImageSizeError(QString::fromLatin1(imagemsg::kCreateStorage));
    }
    makePrivate();
    storage_->setColor(index, color);
}

void PixelImage::setColorCount(int count) {
    if (count < 0 || count > 256) {
        throw ImageSizeError(QString::fromLatin1(imagemsg::kCreateStorage));
    }
    makePrivate();
    for (int i = storage_->colorCount(); i < count; ++i) storage_->setColor(i, 0);
    storage_->setColorCount(count);
}

void PixelImage::cutTo(int width, int height) {
    if (width < 1 || height < 1 || width > this->width() || height > this->height()) {
        throw ImageSizeError(QString::fromLatin1(imagemsg::kCreateStorage));
    }
    if (width == this->width() && height == this->height()) return;
    const PixelStorage& old = *storage_;
    checkRow(0, imagemsg::kScanLineRange, imagemsg::kScanLineBadType);
    auto cut = PixelStorage::create(width, old.height() < 0 ? -height : height, old.bitCount(),
                                    old.colorCount());
    std::memcpy(cut->colorTable(), old.colorTable(), 1024);
    const size_t bytes = size_t(cut->stride());  // whole bytes; padding bits are harmless
    for (int y = 0; y < height; ++y) std::memcpy(cut->row(y), old.row(y), bytes);
    storage_ = std::move(cut);
}

void PixelImage::loadFromFile(const QString& path) {
    *this = PixelImage();
    QFile file(path);
    // Only a regular file: a device or a pipe under a bitmap's name would never end.
    if (!isRegularFile(path) || !file.open(QIODevice::ReadOnly)) {
        throw IoError(unreadableMessage(path));
    }
    if (file.size() > kMaxImageBytes + (qint64(64) << 20)) {
        throw bmpFileError(path, QString::fromLatin1(imagemsg::kTooLarge));
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw IoError(cannotOpenMessage(path));
    }
    try {
        loadFromData(data);
    } catch (const BmpFormatError& error) {
        throw bmpFileError(path, error);
    }
}

void PixelImage::loadFromData(const QByteArray& data) {
    *this = PixelImage();
    *this = BmpReader::read(data);
}

bool PixelImage::sharesStorageWith(const PixelImage& other) const {
    return storage_ && storage_ == other.storage_;
}

}  // namespace tessaly
