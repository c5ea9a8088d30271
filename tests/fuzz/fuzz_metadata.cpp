// The JPEG head walk and the EXIF block on whatever they are given: the bytes as a JPEG file
// and, behind "Exif\0\0", as an EXIF block. The walk stays within the data; a block turned
// upright reads upright, and keeps the date and camera libexif read in it.
#include <cstddef>
#include <cstdint>

#include "core/imaging/jpeg/jpegscanner.h"
#include "core/imaging/metadata/exifblock.h"

namespace {

void checkBlock(const QByteArray& payload) {
    const tessaly::ExifBlock block(payload);
    block.orientation();
    block.dateAndCameraBlock();
    for (const bool quarter : {false, true}) {
        const tessaly::ExifBlock::Upright upright = block.madeUpright(quarter, true);
        if (upright.leftOut) continue;
        if (upright.payload.size() != payload.size()) __builtin_trap();
        const tessaly::ExifBlock turned(upright.payload);
        if (turned.orientation() != 1 || turned.taken() != block.taken() ||
            turned.camera() != block.camera()) {
            __builtin_trap();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const tessaly::JpegHead head = tessaly::JpegScanner::scan(bytes);
    for (const tessaly::JpegMarkerSegment& segment : head.segments) {
        if (segment.start < 2 || segment.end() > bytes.size()) __builtin_trap();
        const QByteArray payload = bytes.mid(segment.payloadAt, segment.payloadSize);
        if (segment.marker == 0xE1 && payload.startsWith(QByteArray("Exif\0\0", 6))) {
            checkBlock(payload);
        }
    }
    if (size <= 0xFFFF) checkBlock(QByteArray("Exif\0\0", 6) + bytes);
    return 0;
}
