#include "core/imaging/jpeg/jpegscanner.h"

#include <QBuffer>

namespace tessaly {

namespace {

constexpr int kStartOfImage = 0xD8;
constexpr int kEndOfImage = 0xD9;
constexpr int kStartOfScan = 0xDA;

// Markers that stand alone, without a length: TEM, RST0..RST7.
bool isStandalone(int marker) { return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7); }

}  // namespace

JpegScanner::JpegScanner(QIODevice& device, Extraneous extraneous)
    : device_(device), extraneous_(extraneous), size_(device.size()) {
    int first = 0, second = 0;
    isJpeg_ = device_.seek(0) && readByte(first) && readByte(second) && first == 0xFF &&
              second == kStartOfImage;
    ended_ = !isJpeg_;
}

bool JpegScanner::readByte(int& byte) {
    char c;
    if (!device_.getChar(&c)) return false;
    byte = static_cast<unsigned char>(c);
    return true;
}

std::optional<JpegMarkerSegment> JpegScanner::stop(bool atScan) {
    ended_ = true;
    reachedScan_ = atScan;
    return std::nullopt;
}

// The next marker code after its 0xFF and any fill bytes; false where the walk ends. Passing
// over extraneous bytes, it skips what is no 0xFF and every stuffed zero (0xFF 0x00).
bool JpegScanner::readMarker(int& marker) {
    const bool passOver = extraneous_ == Extraneous::PassOver;
    int byte = 0;
    do {
        if (!readByte(byte)) return false;
        while (passOver && byte != 0xFF) {
            if (!readByte(byte)) return false;
        }
        if (byte != 0xFF) return false;
        do {
            if (!readByte(marker)) return false;
        } while (marker == 0xFF);  // fill bytes
    } while (passOver && marker == 0);
    return true;
}

std::optional<JpegMarkerSegment> JpegScanner::next() {
    while (!ended_) {
        if (++count_ > kMaxSegments) return stop();
        int marker = 0;
        if (!readMarker(marker)) return stop();
        if (isStandalone(marker)) continue;
        if (marker == kStartOfScan) return stop(true);
        if (marker == 0 || marker == kStartOfImage || marker == kEndOfImage) return stop();
        int high = 0, low = 0;
        if (!readByte(high) || !readByte(low)) return stop();
        JpegMarkerSegment segment;
        segment.marker = marker;
        segment.payloadAt = device_.pos();
        segment.start = segment.payloadAt - 4;
        segment.payloadSize = ((high << 8) | low) - 2;
        if (segment.payloadSize < 0 || segment.end() > size_ || !device_.seek(segment.end())) {
            return stop();
        }
        return segment;
    }
    return std::nullopt;
}

QByteArray JpegScanner::payload(const JpegMarkerSegment& segment) {
    const qint64 resume = device_.pos();
    QByteArray data;
    if (device_.seek(segment.payloadAt)) data = device_.read(segment.payloadSize);
    device_.seek(resume);
    return data.size() == segment.payloadSize ? data : QByteArray();
}

JpegHead JpegScanner::scan(QIODevice& device, Extraneous extraneous) {
    JpegScanner scanner(device, extraneous);
    JpegHead head;
    head.isJpeg = scanner.isJpeg();
    bool frameSeen = false;
    while (const std::optional<JpegMarkerSegment> segment = scanner.next()) {
        head.segments.push_back(*segment);
        if (!frameSeen && isFrameMarker(segment->marker)) {
            frameSeen = true;
            head.frame = frameSize(scanner.payload(*segment));
        }
    }
    head.reachedScan = scanner.reachedScan();
    return head;
}

JpegHead JpegScanner::scan(const QByteArray& data, Extraneous extraneous) {
    QBuffer buffer;
    buffer.setData(data);
    if (!buffer.open(QIODevice::ReadOnly)) return {};
    return scan(buffer, extraneous);
}

bool JpegScanner::isFrameMarker(int marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

std::optional<JpegSize> JpegScanner::frameSize(const QByteArray& payload) {
    if (payload.size() < 6) return std::nullopt;  // precision, height, width, components
    const auto word = [&payload](int at) {
        return (uchar(payload[at]) << 8) | uchar(payload[at + 1]);
    };
    const JpegSize size{word(3), word(1)};
    if (size.width == 0 || size.height == 0) return std::nullopt;
    return size;
}

}  // namespace tessaly
