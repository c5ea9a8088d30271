#include "core/imaging/metadata/exifpatch.h"

#include <optional>

namespace tessaly {

namespace {

constexpr int kTiffStart = 6;  // after "Exif\0\0"
constexpr int kShort = 3;
constexpr int kLong = 4;

// The TIFF data of a block, read and written in its byte order, every access bounds-checked.
class Tiff {
public:
    explicit Tiff(QByteArray& block) : block_(block) {}

    bool open() {
        if (!block_.startsWith(QByteArray("Exif\0\0", 6)) || block_.size() < kTiffStart + 8) {
            return false;
        }
        const QByteArray order = block_.mid(kTiffStart, 2);
        if (order != "II" && order != "MM") return false;
        big_ = order == "MM";
        return read(2, 2) == 42u;
    }

    // Offset (from the TIFF start) of the first directory.
    quint32 firstIfd() const { return read(4, 4).value_or(0); }

    bool fits(quint64 at, quint64 bytes) const {
        return at + bytes <= quint64(block_.size() - kTiffStart);
    }

    std::optional<quint32> read(quint64 at, int bytes) const {
        if (!fits(at, quint64(bytes))) return std::nullopt;
        quint32 value = 0;
        for (int i = 0; i < bytes; ++i) {
            const quint32 byte = uchar(block_[int(kTiffStart + at) + (big_ ? i : bytes - 1 - i)]);
            value = (value << 8) | byte;
        }
        return value;
    }

    void write(quint64 at, int bytes, quint32 value) {
        for (int i = 0; i < bytes; ++i) {
            const int shift = 8 * (big_ ? bytes - 1 - i : i);
            block_[int(kTiffStart + at) + i] = char((value >> shift) & 0xFF);
        }
    }

private:
    QByteArray& block_;
    bool big_ = false;
};

// One directory entry whose single value is held in the entry itself.
struct Field {
    quint64 valueAt = 0;
    int bytes = 0;  // 2 for SHORT, 4 for LONG; 0 when the entry does not qualify
};

struct Directory {
    quint64 at = 0;
    int count = 0;
};

std::optional<Directory> directoryAt(const Tiff& tiff, quint32 at) {
    const auto count = tiff.read(at, 2);
    if (at < 8 || !count || !tiff.fits(at, 2 + 12 * quint64(*count) + 4)) return std::nullopt;
    return Directory{at, int(*count)};
}

Field field(const Tiff& tiff, const Directory& dir, int tag) {
    for (int i = 0; i < dir.count; ++i) {
        const quint64 entry = dir.at + 2 + 12 * quint64(i);
        if (tiff.read(entry, 2) != quint32(tag)) continue;
        const quint32 type = tiff.read(entry + 2, 2).value_or(0);
        if (tiff.read(entry + 4, 4) != 1u || (type != kShort && type != kLong)) return {};
        return {entry + 8, type == kShort ? 2 : 4};
    }
    return {};
}

// Exchanges the values of two single-valued fields; false when one cannot hold the other's.
bool swapFields(Tiff& tiff, const Field& a, const Field& b) {
    if (!a.bytes || !b.bytes) return true;  // nothing to exchange
    const quint32 first = *tiff.read(a.valueAt, a.bytes), second = *tiff.read(b.valueAt, b.bytes);
    if ((a.bytes == 2 && second > 0xFFFF) || (b.bytes == 2 && first > 0xFFFF)) return false;
    tiff.write(a.valueAt, a.bytes, second);
    tiff.write(b.valueAt, b.bytes, first);
    return true;
}

bool patch(Tiff& tiff, bool swapDimensions, bool dropThumbnail) {
    if (!tiff.open()) return false;
    const auto ifd0 = directoryAt(tiff, tiff.firstIfd());
    if (!ifd0) return false;
    const Field orientation = field(tiff, *ifd0, 0x0112);
    if (orientation.bytes == 2) tiff.write(orientation.valueAt, 2, 1);
    if (swapDimensions) {
        if (!swapFields(tiff, field(tiff, *ifd0, 0x0100), field(tiff, *ifd0, 0x0101))) {
            return false;
        }
        const Field pointer = field(tiff, *ifd0, 0x8769);
        if (pointer.bytes == 4) {
            const auto exif = directoryAt(tiff, *tiff.read(pointer.valueAt, 4));
            if (!exif) return false;
            if (!swapFields(tiff, field(tiff, *exif, 0xA002), field(tiff, *exif, 0xA003))) {
                return false;
            }
        }
    }
    if (dropThumbnail) tiff.write(ifd0->at + 2 + 12 * quint64(ifd0->count), 4, 0);
    return true;
}

}  // namespace

bool ExifPatch::makeUpright(QByteArray& payload, bool swapDimensions, bool dropThumbnail) {
    QByteArray edited = payload;
    Tiff tiff(edited);
    if (!patch(tiff, swapDimensions, dropThumbnail)) return false;
    payload = edited;
    return true;
}

}  // namespace tessaly
