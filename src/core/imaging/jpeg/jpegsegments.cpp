#include "core/imaging/jpeg/jpegsegments.h"

#include <algorithm>

#include "core/imaging/jpeg/jpegscanner.h"

namespace tessaly {

namespace {

const char kIccTag[] = "ICC_PROFILE";  // with its terminating zero: 12 bytes
constexpr int kIccHeader = 14;         // tag, sequence number, chunk count
constexpr int kMaxPayload = 0xFFFF - 2;

}  // namespace

bool JpegSegments::isIccChunk(const JpegSegment& segment) {
    return segment.marker == JpegSegments::kApp2 && segment.data.size() > kIccHeader &&
           segment.data.startsWith(QByteArray(kIccTag, sizeof kIccTag));
}

namespace {

int byteAt(const QByteArray& data, int at) { return uchar(data[at]); }

// Where the APPn and COM segments that follow the start marker end, and the first Adobe
// segment among them (empty when none).
struct LeadingSegments {
    bool isJpeg = false;
    qint64 end = 2;
    qint64 adobeStart = 0, adobeEnd = 0;
};

LeadingSegments leadingSegments(const QByteArray& encoded) {
    LeadingSegments found;
    const JpegHead head = JpegScanner::scan(encoded);
    found.isJpeg = head.isJpeg;
    for (const JpegMarkerSegment& segment : head.segments) {
        if (!segment.isApplicationOrComment()) break;
        if (segment.marker == JpegSegments::kApp14 && found.adobeEnd == 0) {
            found.adobeStart = segment.start;
            found.adobeEnd = segment.end();
        }
        found.end = segment.end();
    }
    return found;
}

}  // namespace

JpegSegments JpegSegments::iccChunks() const {
    JpegSegments chunks;
    for (const JpegSegment& segment : list) {
        if (isIccChunk(segment)) chunks.list.push_back(segment);
    }
    return chunks;
}

QByteArray JpegSegments::xmpPacket() const {
    for (const JpegSegment& segment : list) {
        if (segment.marker == kApp1 && segment.data.startsWith(kXmpHeader)) {
            return segment.data.mid(kXmpHeader.size());
        }
    }
    return {};
}

QByteArray JpegSegments::iccProfile() const {
    const JpegSegments chunks = iccChunks();
    if (chunks.isEmpty()) return {};
    const int count = byteAt(chunks.list.front().data, 13);
    if (count < 1 || int(chunks.list.size()) != count) return {};
    std::vector<const JpegSegment*> ordered(size_t(count), nullptr);
    for (const JpegSegment& chunk : chunks.list) {
        const int sequence = byteAt(chunk.data, 12);
        if (byteAt(chunk.data, 13) != count || sequence < 1 || sequence > count ||
            ordered[size_t(sequence - 1)]) {
            return {};
        }
        ordered[size_t(sequence - 1)] = &chunk;
    }
    QByteArray profile;
    for (const JpegSegment* chunk : ordered) profile += chunk->data.mid(kIccHeader);
    return profile;
}

JpegSegments JpegSegments::fromIccProfile(const QByteArray& profile) {
    JpegSegments chunks;
    const int room = kMaxPayload - kIccHeader;
    const int count = int((profile.size() + room - 1) / room);
    if (count < 1 || count > 255) return chunks;
    for (int i = 0; i < count; ++i) {
        QByteArray data(kIccTag, sizeof kIccTag);
        data.append(char(i + 1)).append(char(count)).append(profile.mid(i * room, room));
        chunks.append(kApp2, data);
    }
    return chunks;
}

bool JpegSegments::describesCoding(const JpegSegment& segment) {
    return (segment.marker == kApp0 && segment.data.startsWith(QByteArray("JFIF\0", 5))) ||
           (segment.marker == kApp14 && segment.data.startsWith("Adobe"));
}

QByteArray JpegSegments::insertedInto(const QByteArray& encoded) const {
    const LeadingSegments leading = leadingSegments(encoded);
    if (encoded.size() < 4 || !leading.isJpeg) return encoded;
    const bool ownAdobe = std::any_of(list.begin(), list.end(), [](const JpegSegment& s) {
        return s.marker == kApp14 && describesCoding(s);
    });
    QByteArray result = encoded.left(2);
    for (const JpegSegment& segment : list) {
        if (segment.data.size() > kMaxPayload) continue;
        const int length = int(segment.data.size()) + 2;
        result.append(char(0xFF)).append(char(segment.marker));
        result.append(char(length >> 8)).append(char(length & 0xFF)).append(segment.data);
    }
    if (leading.adobeEnd > 0 && !ownAdobe) {
        result += encoded.mid(leading.adobeStart, leading.adobeEnd - leading.adobeStart);
    }
    return result + encoded.mid(leading.end);
}

}  // namespace tessaly
