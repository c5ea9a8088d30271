#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <memory>

struct _ExifData;  // libexif's

namespace tessaly {

// One EXIF block: the payload of an APP1 segment ("Exif\0\0" followed by the TIFF data), or
// the same made from a HEIF file's EXIF item. It is read once with libexif, as it stands (no
// entries added or fixed, no maker notes interpreted), and every reading of EXIF fields in
// the program goes through it, so all of them agree on which entry counts: where an IFD holds
// one tag twice, the first entry libexif can load.
class ExifBlock {
public:
    explicit ExifBlock(const QByteArray& payload);
    ~ExifBlock();
    ExifBlock(const ExifBlock&) = delete;
    ExifBlock& operator=(const ExifBlock&) = delete;

    // True when the payload starts with the "Exif\0\0" identifier.
    static bool isExifPayload(const unsigned char* payload, std::size_t size);

    // The Orientation value read as browsers do: IFD0 only, an entry of type SHORT with one
    // value from 1 to 8. Anything else (no EXIF data, another type or count, a value out of
    // range, damaged data) gives 1.
    int orientation() const;
    // When it was taken: DateTimeOriginal, else DateTimeDigitized, else DateTime (the first of
    // them that reads as a date and time), held as UTC with no shift. Invalid when none.
    QDateTime taken() const;
    // Camera model, focal length, exposure time, F-number and ISO as far as recorded, e.g.
    // "NIKON D70 18mm 1/60秒 F4.0 ISO200". Empty when none of them is there.
    QString camera() const;
    // True when an embedded thumbnail (IFD1) was read.
    bool hasThumbnail() const;

    // A new block holding only the date and camera fields (IFD0: Make, Model, DateTime; EXIF
    // IFD: DateTimeOriginal, DateTimeDigitized, their sub-second and time zone fields,
    // exposure time, F-number, ISO, focal lengths, lens make and model). Empty when none is
    // there.
    QByteArray dateAndCameraBlock() const;

    // The block edited in place for a photograph whose pixels were turned to stand as they
    // were shown.
    struct Upright {
        QByteArray payload;  // empty when the block is left out
        // The fields (EXIF names) that were left as they were because they could not be
        // edited where they stand; the block is kept.
        QStringList unchanged;
        bool leftOut = false;  // the block could not be edited at all
    };
    // Sets the Orientation libexif reads to 1 (top-left); with swapDimensions, exchanges the
    // width and height values (IFD0 ImageWidth/ImageLength, EXIF PixelXDimension/
    // PixelYDimension), widening a SHORT field to LONG where the other value needs it; with
    // dropThumbnail, unlinks IFD1, the embedded thumbnail, which would show the picture as it
    // was stored. Every other byte stays, so fields no library knows (maker notes above all),
    // dates, camera and position survive. The result is read back: a block whose orientation
    // still reads otherwise or whose date or camera read otherwise, or whose TIFF data is too
    // damaged to edit, is left out.
    Upright madeUpright(bool swapDimensions, bool dropThumbnail) const;

    // The block as a published copy carries it: only the listed fields libexif knows, of
    // capture time, camera, exposure and lens, Artist, Copyright, ImageDescription,
    // UserComment, colour space, size and resolution, and the GPS directory when
    // keepLocation; everything else goes (serial numbers, owner names, maker notes, packets
    // stored in EXIF, the embedded thumbnail, the interoperability directory). The
    // orientation is 1 and the pixel dimensions are width x height. Empty when the block
    // cannot be read.
    static QByteArray publishedBlock(const QByteArray& payload, bool keepLocation, int width,
                                     int height);

    // What of the owner's privacy a block carries.
    struct Private {
        bool position = false;  // a GPS latitude or longitude
        bool serial = false;    // a camera or lens serial number
        bool owner = false;     // the camera owner's name
    };
    static Private privateFields(const QByteArray& payload);

private:
    struct Release {
        void operator()(_ExifData* data) const;
    };
    QByteArray payload_;
    std::unique_ptr<_ExifData, Release> data_;
};

}  // namespace tessaly
