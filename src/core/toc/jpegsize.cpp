#include "core/toc/jpegsize.h"

#include <QDir>
#include <QFile>

#include "core/text/errors.h"
#include "core/text/textfile.h"

namespace tessaly {
namespace {

bool readByte(QFile& file, unsigned char& byte) {
    char c;
    if (!file.getChar(&c)) return false;
    byte = static_cast<unsigned char>(c);
    return true;
}

bool readWord(QFile& file, int& value) {
    unsigned char high, low;
    if (!readByte(file, high) || !readByte(file, low)) return false;
    value = (high << 8) | low;
    return true;
}

// Start-of-frame markers: C0..CF except DHT (C4), JPG (C8) and DAC (CC).
bool isFrameMarker(unsigned char marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers that stand alone, without a length: TEM, RST0..RST7.
bool isStandalone(unsigned char marker) {
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// Moves to the next marker and returns its code; false at the end of the file.
bool nextMarker(QFile& file, unsigned char& marker) {
    unsigned char byte;
    if (!readByte(file, byte) || byte != 0xFF) return false;
    do {
        if (!readByte(file, marker)) return false;
    } while (marker == 0xFF);  // fill bytes
    return true;
}

std::optional<JpegSize> frameSize(QFile& file) {
    unsigned char precision;
    JpegSize size;
    if (!readByte(file, precision) || !readWord(file, size.height) || !readWord(file, size.width)) {
        return std::nullopt;
    }
    if (size.width == 0 || size.height == 0) return std::nullopt;
    return size;
}

}  // namespace

std::optional<JpegSize> readJpegSize(const QString& path) {
    QFile file(path);
    if (!isRegularFile(path) || !file.open(QIODevice::ReadOnly)) return std::nullopt;
    unsigned char first, second;
    if (!readByte(file, first) || !readByte(file, second) || first != 0xFF || second != 0xD8) {
        return std::nullopt;
    }
    unsigned char marker;
    while (nextMarker(file, marker)) {
        if (isStandalone(marker)) continue;
        if (marker == 0xD8 || marker == 0xD9 || marker == 0xDA) return std::nullopt;
        int length;
        if (!readWord(file, length) || length < 2) return std::nullopt;
        if (isFrameMarker(marker)) return length >= 8 ? frameSize(file) : std::nullopt;
        if (!file.seek(file.pos() + length - 2) || file.pos() > file.size()) return std::nullopt;
    }
    return std::nullopt;
}

JpegSize requireJpegSize(const QString& path) {
    const std::optional<JpegSize> size = readJpegSize(path);
    if (!size) {
        throw ImageError(QStringLiteral("ﾌｧｲﾙ %1 はJPEG画像として読み込めません")
                             .arg(QDir::toNativeSeparators(path)));
    }
    return *size;
}

}  // namespace tessaly
