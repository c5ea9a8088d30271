#pragma once

#include <QByteArray>
#include <QIODevice>
#include <optional>
#include <vector>

namespace tessaly {

// Pixel size of a JPEG image as its frame header states it.
struct JpegSize {
    int width = 0;
    int height = 0;
};

// One marker segment of a JPEG file's head: its marker code, where its marker stands (the
// 0xFF before the code, after any fill bytes) and where its payload (the bytes after the two
// length bytes) lies.
struct JpegMarkerSegment {
    int marker = 0;
    qint64 start = 0;
    qint64 payloadAt = 0;
    int payloadSize = 0;

    qint64 end() const { return payloadAt + payloadSize; }
    bool isApplicationOrComment() const {
        return (marker >= 0xE0 && marker <= 0xEF) || marker == 0xFE;
    }
};

// What the head of a JPEG file holds, up to its first scan.
struct JpegHead {
    bool isJpeg = false;                      // it starts with the start-of-image marker
    std::vector<JpegMarkerSegment> segments;  // in file order, every one whole in the data
    std::optional<JpegSize> frame;            // of the first start-of-frame segment
    bool reachedScan = false;  // the walk ended at the start of the scan, not at damage
};

// Walks the marker segments of a JPEG file's head, from its start-of-image marker to its
// first scan, the one walk of JPEG markers outside the codec. As the codec does, it lets fill
// bytes (0xFF) stand before a marker; it stops at anything else that is no marker (unless told
// to pass over such bytes as the codec does, with a warning, in a file it decodes), at a
// length that is too short or runs past the end of the data, at a second start of image, at
// the end of the image, and after kMaxSegments segments, so damaged or hostile data is read
// only so far. Only the lengths are read on the way; a payload is read when asked for.
class JpegScanner {
public:
    static constexpr int kMaxSegments = 1024;

    // What the walk does with bytes that are no marker where one should stand.
    enum class Extraneous { Stop, PassOver };

    // Reads from the start of the device, which must allow seeking (a file or a buffer).
    explicit JpegScanner(QIODevice& device, Extraneous extraneous = Extraneous::Stop);

    bool isJpeg() const { return isJpeg_; }
    // The next segment, or nothing where the walk ends (see above).
    std::optional<JpegMarkerSegment> next();
    // True when the walk ended at the start of the scan.
    bool reachedScan() const { return reachedScan_; }
    // The payload of a segment that next() gave.
    QByteArray payload(const JpegMarkerSegment& segment);

    // The whole head of the data or of the device.
    static JpegHead scan(QIODevice& device, Extraneous extraneous = Extraneous::Stop);
    static JpegHead scan(const QByteArray& data, Extraneous extraneous = Extraneous::Stop);

    // Start-of-frame markers: C0..CF except DHT (C4), JPG (C8) and DAC (CC).
    static bool isFrameMarker(int marker);
    // The size a start-of-frame payload states; nothing when it is cut short or states a zero
    // width or height.
    static std::optional<JpegSize> frameSize(const QByteArray& payload);

private:
    QIODevice& device_;
    Extraneous extraneous_;
    qint64 size_ = 0;
    bool isJpeg_ = false;
    bool ended_ = false;
    bool reachedScan_ = false;
    int count_ = 0;

    bool readByte(int& byte);
    bool readMarker(int& marker);
    std::optional<JpegMarkerSegment> stop(bool atScan = false);
};

}  // namespace tessaly
