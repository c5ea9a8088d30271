#include "core/imaging/tnkdib.h"

#include <QFile>
#include <QFileInfo>
#include <cstring>

#include "core/imaging/bmpreader.h"
#include "core/imaging/imagefilemessage.h"
#include "core/imaging/pixelformatconverter.h"
#include "core/imaging/tnkinternaldib.h"
#include "core/text/textfile.h"

namespace tessaly {

namespace {

int bitCountOf(TNkPixelFormat format) {
    switch (format) {
        case nk1Bit:
            return 1;
        case nk4Bit:
        case nk4BitRLE:
            return 4;
        case nk8Bit:
        case nk8BitRLE:
            return 8;
        default:
            return 24;
    }
}

[[noreturn]] void fail(const char* message) {
    throw ENkDIBPixelPositionRange(QString::fromLatin1(message));
}

}  // namespace

TNkDIB::TNkDIB() : storage_(TNkInternalDIB::Create(1, 1, 8, 2)) {}

TNkDIB::TNkDIB(int width, int height, TNkPixelFormat format) {
    const int bits = bitCountOf(format);
    storage_ = TNkInternalDIB::Create(width, height, bits, bits == 24 ? 0 : 1 << bits);
    if (format == nk4BitRLE || format == nk8BitRLE) {
        SetPixelFormat(format);
    }
}

TNkDIB TNkDIB::Unfilled(int width, int height, TNkPixelFormat format) {
    if (format == nk4BitRLE || format == nk8BitRLE) return TNkDIB(width, height, format);
    const int bits = bitCountOf(format);
    return TNkDIB(TNkInternalDIB::CreateUnfilled(width, height, bits, bits == 24 ? 0 : 1 << bits));
}

TNkDIB::TNkDIB(std::shared_ptr<TNkInternalDIB> storage) : storage_(std::move(storage)) {}
TNkDIB::TNkDIB(const TNkDIB& other) = default;
TNkDIB& TNkDIB::operator=(const TNkDIB& other) = default;
TNkDIB::~TNkDIB() = default;

// A moved-from image is left as a new 1 x 1 image.
TNkDIB::TNkDIB(TNkDIB&& other) noexcept : storage_(std::move(other.storage_)) {
    other.storage_ = nullptr;
}

TNkDIB& TNkDIB::operator=(TNkDIB&& other) noexcept {
    storage_.swap(other.storage_);
    other.storage_.reset();
    return *this;
}

void TNkDIB::makePrivate() {
    if (!storage_) {
        storage_ = TNkInternalDIB::Create(1, 1, 8, 2);
    } else if (storage_.use_count() != 1) {
        storage_ = storage_->clone();
    }
}

int TNkDIB::Width() const { return storage_ ? storage_->width() : 1; }
int TNkDIB::Height() const { return storage_ ? storage_->rows() : 1; }
bool TNkDIB::TopDown() const { return storage_ && storage_->height() < 0; }
int TNkDIB::BitCount() const { return storage_ ? storage_->bitCount() : 8; }
int TNkDIB::Stride() const { return storage_ ? storage_->stride() : 4; }

void TNkDIB::SetWidth(int width) {
    if (width <= 0) {
        throw ENkDIBInvalidDIBPara(QString::fromLatin1(nkmsg::kInvalidWidth));
    }
    makePrivate();
    if (width == storage_->width()) return;
    storage_ = TNkInternalDIB::Create(width, storage_->height(), storage_->bitCount(),
                                      storage_->colorCount());
}

void TNkDIB::SetHeight(int height) {
    if (height == 0) {
        throw ENkDIBInvalidDIBPara(QString::fromLatin1(nkmsg::kInvalidHeight));
    }
    makePrivate();
    if (height == storage_->height()) return;
    storage_ = TNkInternalDIB::Create(storage_->width(), height, storage_->bitCount(),
                                      storage_->colorCount());
}

TNkPixelFormat TNkDIB::PixelFormat() const { return storage_ ? storage_->pixelFormat() : nk8Bit; }

void TNkDIB::SetPixelFormat(TNkPixelFormat format) {
    if (format == PixelFormat()) return;
    makePrivate();
    storage_ = PixelFormatConverter::convert(*storage_, format);
}

quint32 TNkDIB::Pixels(int x, int y) const {
    if (!storage_) return 0;
    const TNkInternalDIB& s = *storage_;
    if (s.compression() != TNkInternalDIB::kNone) {
        throw ENkDIBBadDIBType(QString::fromLatin1(nkmsg::kGetPixelsBadType));
    }
    if (x < 0 || x >= s.width() || y < 0 || y >= s.rows()) fail(nkmsg::kGetPixelsRange);
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

void TNkDIB::SetPixels(int x, int y, quint32 value) {
    makePrivate();
    TNkInternalDIB& s = *storage_;
    if (s.compression() != TNkInternalDIB::kNone) {
        throw ENkDIBBadDIBType(QString::fromLatin1(nkmsg::kSetPixelsBadType));
    }
    if (x < 0 || x >= s.width() || y < 0 || y >= s.rows()) fail(nkmsg::kSetPixelsRange);
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

void TNkDIB::checkRow(int y, const char* rangeMessage, const char* typeMessage) const {
    if (y < 0 || y >= Height()) fail(rangeMessage);
    if (storage_->compression() != TNkInternalDIB::kNone) {
        throw ENkDIBBadDIBType(QString::fromLatin1(typeMessage));
    }
}

uchar* TNkDIB::ScanLine(int y) {
    makePrivate();
    checkRow(y, nkmsg::kScanLineRange, nkmsg::kScanLineBadType);
    return storage_->row(y);
}

const uchar* TNkDIB::ConstScanLine(int y) const {
    if (!storage_) return nullptr;
    checkRow(y, nkmsg::kScanLineRange, nkmsg::kScanLineBadType);
    return storage_->row(y);
}

int TNkDIB::ColorCount() const { return storage_ ? storage_->colorCount() : 2; }

quint32 TNkDIB::Colors(int index) const {
    if (!storage_ || index < 0 || index > 255) return 0;
    return storage_->color(index);
}

void TNkDIB::SetColors(int index, quint32 color) {
    if (index < 0 || index > 255) {
        throw ENkDIBInvalidDIBPara(QString::fromLatin1(nkmsg::kCreateDIB));
    }
    makePrivate();
    storage_->setColor(index, color);
}

void TNkDIB::SetColorCount(int count) {
    if (count < 0 || count > 256) {
        throw ENkDIBInvalidDIBPara(QString::fromLatin1(nkmsg::kCreateDIB));
    }
    makePrivate();
    for (int i = storage_->colorCount(); i < count; ++i) storage_->setColor(i, 0);
    storage_->setColorCount(count);
}

void TNkDIB::CutTo(int width, int height) {
    if (width < 1 || height < 1 || width > Width() || height > Height()) {
        throw ENkDIBInvalidDIBPara(QString::fromLatin1(nkmsg::kCreateDIB));
    }
    if (width == Width() && height == Height()) return;
    const TNkInternalDIB& old = *storage_;
    checkRow(0, nkmsg::kScanLineRange, nkmsg::kScanLineBadType);
    auto cut = TNkInternalDIB::Create(width, old.height() < 0 ? -height : height, old.bitCount(),
                                      old.colorCount());
    std::memcpy(cut->colorTable(), old.colorTable(), 1024);
    const size_t bytes = size_t(cut->stride());  // whole bytes; padding bits are harmless
    for (int y = 0; y < height; ++y) std::memcpy(cut->row(y), old.row(y), bytes);
    storage_ = std::move(cut);
}

void TNkDIB::LoadFromFile(const QString& path) {
    *this = TNkDIB();
    QFile file(path);
    // Only a regular file: a device or a pipe under a bitmap's name would never end.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        throw IoError(cannotOpenMessage(path));
    }
    if (file.size() > kMaxImageBytes + (qint64(64) << 20)) {
        throw ENkDIBInvalidDIBFile(BmpFileMessage(path, QString::fromLatin1(nkmsg::kTooLarge)));
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw IoError(cannotOpenMessage(path));
    }
    try {
        LoadFromData(data);
    } catch (const ENkDIBInvalidDIBFile& error) {
        throw ENkDIBInvalidDIBFile(BmpFileMessage(path, error.message()));
    }
}

void TNkDIB::LoadFromData(const QByteArray& data) {
    *this = TNkDIB();
    *this = BmpReader::read(data);
}

bool TNkDIB::SharesStorageWith(const TNkDIB& other) const {
    return storage_ && storage_ == other.storage_;
}

}  // namespace tessaly
