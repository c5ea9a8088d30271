#pragma once

#include <QByteArray>

#include "core/imaging/metadata/privacyfilter.h"

namespace tessaly {

// What the metadata packets a photograph holds tell about its owner: a GPS position, a
// serial number, an owner's name. Each reads one packet as it is stored, and the packets
// stored inside it; damaged packets tell what could be read of them.
class PacketCarriers {
public:
    // An EXIF block, with or without "Exif\0\0" before the TIFF data: the GPS coordinates,
    // the owner and serial tags, the maker notes (those libexif reads, and Panasonic's), and
    // the XMP and Photoshop packets stored as tags.
    static PrivateFields exif(const QByteArray& block);
    // An XMP packet (the XML): any property whose name holds "Latitude" or "Longitude", or
    // ends in "SerialNumber" or "OwnerName", with a value.
    static PrivateFields xmp(const QByteArray& xml);
    // Photoshop image resources, with or without "Photoshop 3.0\0": the EXIF and XMP
    // resources. The IPTC records carry place names at most, no position.
    static PrivateFields photoshop(const QByteArray& resources);
    // An ImageMagick "Raw profile type <type>" text: the profile in hexadecimal after its
    // type and length.
    static PrivateFields rawProfile(const QByteArray& text);
};

}  // namespace tessaly
