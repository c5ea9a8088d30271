#pragma once

#include <QByteArray>
#include <vector>

namespace tessaly {

// One APPn or COM segment of a JPEG file: its marker code and its payload (the bytes after
// the two length bytes), as stored.
struct JpegSegment {
    int marker = 0;
    QByteArray data;
};

// The metadata segments of a JPEG file (EXIF, XMP, IPTC, ICC profile chunks, comments ...),
// in file order, and the ways they are carried into a newly written file.
class JpegSegments {
public:
    static constexpr int kApp0 = 0xE0;
    static constexpr int kApp1 = 0xE1;
    static constexpr int kApp2 = 0xE2;
    static constexpr int kApp14 = 0xEE;
    static constexpr int kComment = 0xFE;

    // What a standard XMP APP1 segment starts with, before its packet.
    static inline const QByteArray kXmpHeader{"http://ns.adobe.com/xap/1.0/\0", 29};

    std::vector<JpegSegment> list;

    bool isEmpty() const { return list.empty(); }
    void append(int marker, const QByteArray& data) { list.push_back({marker, data}); }

    // The APP2 "ICC_PROFILE" chunks among them, in order.
    JpegSegments iccChunks() const;
    // The profile the chunks hold, joined in their sequence numbers' order; empty when there
    // is none or the chunks do not make one whole profile.
    QByteArray iccProfile() const;
    // The packet of the first standard XMP segment (after kXmpHeader); empty when none.
    QByteArray xmpPacket() const;
    // A profile cut into APP2 chunks, numbered as the ICC profile format lays them out.
    static JpegSegments fromIccProfile(const QByteArray& profile);

    // The encoded file with these segments right after its start marker, in their order, in
    // place of the APPn and COM segments the encoder wrote. The encoder's Adobe segment stays
    // when these hold none: it tells how the colours are coded. The file as it was when it
    // does not start like a JPEG file.
    QByteArray insertedInto(const QByteArray& encoded) const;

    static bool isIccChunk(const JpegSegment& segment);

    // True for the segment types that describe how the pixels are coded rather than the
    // photograph (JFIF, Adobe): they only fit the coded data they came with.
    static bool describesCoding(const JpegSegment& segment);
};

}  // namespace tessaly
