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

// The metadata a published copy of a photograph carries: only what this filter knows to be
// safe, everything else dropped, whatever it is. Kept: the EXIF fields of capture time,
// camera, exposure and lens, Artist, Copyright, ImageDescription, UserComment and the colour
// space (see ExifBlock::publishedBlock); the XMP title, description, keywords, rights,
// creator, capture dates and rating (see XmpFilter); the IPTC caption, keywords, credit and
// copyright notice; the comments and the colour profile. Keeping the location keeps the GPS
// directory and the XMP GPS properties besides.
class PrivacyFilter {
public:
    explicit PrivacyFilter(bool keepLocation) : keepLocation_(keepLocation) {}

    // The segments of a photograph as its copy of width x height upright pixels carries them.
    JpegSegments filtered(const JpegSegments& segments, int width, int height) const;

    // An XMP segment's payload rebuilt with the kept properties alone; empty when the packet
    // is no well-formed XML or keeps nothing.
    QByteArray filteredXmp(const QByteArray& payload) const;
    // A Photoshop (APP13) segment's payload holding only its kept IPTC datasets and its
    // resolution and copyright resources; empty when nothing is left or the resources are
    // damaged.
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
