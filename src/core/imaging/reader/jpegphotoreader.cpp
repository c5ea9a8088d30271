#include "core/imaging/reader/jpegphotoreader.h"

#include "core/imaging/imagefilemessage.h"
#include "core/imaging/jpeg/jpegimage.h"

namespace tessaly {

namespace {

// The start of a file read for its header and metadata segments.
constexpr qint64 kHeaderBytes = 256 * 1024;

}  // namespace

JpegPhotoReader::JpegPhotoReader(const QString& path) : path_(path) {
    QByteArray data = JpegImage::readFile(path, kHeaderBytes);
    const bool whole = data.size() < kHeaderBytes;
    JpegHeader header;
    bool read = false;
    try {
        header = namingFile(path, [&] { return JpegImage::readHeader(data); });
        read = header.withinData || whole;
    } catch (const ImageError&) {
        if (whole) throw;
    }
    if (!read) {  // the header goes on further, or fails on its own
        data = JpegImage::readFile(path);
        header = namingFile(path, [&] { return JpegImage::readHeader(data); });
    }
    JpegSegments segments;
    try {
        segments = JpegImage::readSegments(data);
    } catch (const ImageError&) {
    }
    for (const JpegSegment& segment : segments.list) {
        if (segment.marker == JpegSegments::kApp1 && segment.data.startsWith("Exif\0\0")) {
            takeExif(segment.data, false);
            break;
        }
    }
    takeXmp(segments.xmpPacket());
    iccProfile_ = segments.iccProfile();
    orientation_ = header.orientation;
    setStoredSize(header.storedWidth, header.storedHeight);
    decoderBytes_ = header.decoderBytes;
}

PixelImage JpegPhotoReader::picture(int reduction) {
    const QByteArray data = JpegImage::readFile(path_);
    JpegImage jpeg;
    namingFile(path_, [&] { jpeg.loadFromData(data, reduction); });
    return jpeg.picture();
}

qint64 JpegPhotoReader::decodeBytes() const { return PhotoReader::decodeBytes() + decoderBytes_; }

}  // namespace tessaly
