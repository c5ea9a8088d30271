#include "core/imaging/reader/jpegphotoreader.h"

#include "core/imaging/imagefilemessage.h"
#include "core/text/errors.h"

namespace tessaly {

namespace {

// The start of a file read for its header and metadata segments: the markers before the
// first scan, EXIF data included, nearly always fit.
constexpr qint64 kHeaderBytes = 256 * 1024;

}  // namespace

JpegPhotoReader::JpegPhotoReader(const QString& path) : path_(path) {
    data_ = JpegImage::readFile(path, kHeaderBytes);
    whole_ = data_.size() < kHeaderBytes;
    bool read = false;
    try {
        header_ = namingFile(path, [this] { return JpegImage::readHeader(data_); });
        read = header_.withinData || whole_;
    } catch (const ImageError&) {
        if (whole_) throw;
    }
    if (!read) readWholeFile();  // the header goes on further, or fails on its own
    takeSegments();
    orientation_ = header_.orientation;
    setStoredSize(header_.storedWidth, header_.storedHeight);
}

// The metadata of the segments read; none when they cannot be read (a decode then reports
// the problem).
void JpegPhotoReader::takeSegments() {
    JpegSegments segments;
    try {
        segments = JpegImage::readSegments(data_);
    } catch (const Error&) {
    }
    for (const JpegSegment& segment : segments.list) {
        if (segment.marker == JpegSegments::kApp1 && segment.data.startsWith("Exif\0\0")) {
            takeExif(segment.data, false);
            break;
        }
    }
    takeXmp(segments.xmpPacket());
    iccProfile_ = segments.iccProfile();
    iccChunks_ = segments.iccChunks();
}

PixelImage JpegPhotoReader::picture(int reduction) {
    const QByteArray data = JpegImage::readFile(path_);
    JpegImage jpeg;
    namingFile(path_, [&] { jpeg.loadFromData(data, reduction); });
    return jpeg.picture();
}

qint64 JpegPhotoReader::decodeBytes() const {
    return PhotoReader::decodeBytes() + header_.decoderBytes;
}

void JpegPhotoReader::readWholeFile() {
    if (!whole_) {
        data_ = JpegImage::readFile(path_);
        whole_ = true;
    }
    header_ = namingFile(path_, [this] { return JpegImage::readHeader(data_); });
}

void JpegPhotoReader::decodeRows(const std::vector<int>& rows, JpegRowSink& sink) {
    namingFile(path_, [&] { return JpegImage::decodeRows(data_, rows, sink); });
}

PixelImage JpegPhotoReader::decodeHeld(int reduction) {
    JpegImage jpeg;
    namingFile(path_, [&] { jpeg.loadFromData(data_, reduction); });
    PixelImage picture = jpeg.picture();
    jpeg.clear();  // the picture is now the only owner of the pixels
    return picture;
}

void JpegPhotoReader::dropBytes() {
    data_.clear();
    whole_ = false;
}

}  // namespace tessaly
