#pragma once

#include <QByteArray>

namespace tessaly {

// An XMP packet as a published copy carries it: a fresh packet holding only the properties
// this filter knows to be safe, dc:title, dc:description, dc:subject (the keywords),
// dc:rights, dc:creator, xmp:CreateDate, xmp:ModifyDate, xmp:Rating, photoshop:DateCreated
// and exif:DateTimeOriginal, and, when the location is kept, the exif:GPS properties. Every
// other property goes, whatever its namespace. Properties are told by their namespace, not
// by the prefix the packet gives it.
class XmpFilter {
public:
    explicit XmpFilter(bool keepLocation) : keepLocation_(keepLocation) {}

    // The packet (the XML alone) rebuilt; empty when it is no well-formed XML or keeps
    // nothing.
    QByteArray filtered(const QByteArray& xml) const;

private:
    bool keepLocation_;
};

}  // namespace tessaly
