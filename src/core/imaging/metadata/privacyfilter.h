#pragma once

#include <QByteArray>
#include <QStringList>

#include "core/imaging/jpeg/jpegsegments.h"

namespace tessaly {

// What a photograph's metadata tells about its owner beyond the picture.
struct PrivateFields {
    bool position = false;  // where it was taken (GPS latitude or longitude)
    bool serial = false;    // a camera or lens serial number
    bool owner = false;     // the camera owner's name

    bool any() const { return position || serial || owner; }
    // "位置情報", "シリアル番号", "所有者名", those it carries, in that order.
    QStringList names() const;
};
// Everything either carries.
PrivateFields operator|(const PrivateFields& a, const PrivateFields& b);

// The metadata a published copy of a photograph carries. Removed: the GPS directory and the
// XMP and IPTC location fields (unless the location is kept), serial numbers, owner names,
// maker notes, embedded thumbnails, and every segment this filter does not know to be safe.
// Kept: the EXIF fields of capture time, camera, exposure and lens, Artist, Copyright,
// ImageDescription, the XMP title, description, subject and rights, the IPTC captions and
// keywords, the comments and the colour profile.
class PrivacyFilter {
public:
    explicit PrivacyFilter(bool keepLocation) : keepLocation_(keepLocation) {}

    // The segments of a photograph as its copy of width x height upright pixels carries them.
    JpegSegments filtered(const JpegSegments& segments, int width, int height) const;

    // An XMP segment's payload without the private properties and attributes; empty when the
    // packet is no well-formed XML.
    QByteArray filteredXmp(const QByteArray& payload) const;
    // A Photoshop (APP13) segment's payload holding only its IPTC records (without the
    // location datasets unless kept) and its resolution and copyright resources; empty when
    // nothing is left or the resources are damaged.
    QByteArray filteredIptc(const QByteArray& payload) const;

    // What the segments carry (EXIF and XMP).
    static PrivateFields find(const JpegSegments& segments);
    // What an EXIF block ("Exif\0\0" and the TIFF data) and an XMP packet (the XML alone)
    // carry; either may be empty.
    static PrivateFields find(const QByteArray& exif, const QByteArray& xmp);

private:
    bool keepLocation_;
};

}  // namespace tessaly
