#pragma once

#include <QDateTime>
#include <QString>
#include <cstddef>

namespace tessaly {

// What the camera recorded about a photograph in the EXIF data of its first APP1 "Exif"
// segment, as ExifBlock reads it.
struct CaptureDetails {
    // When it was taken: DateTimeOriginal, else DateTimeDigitized, else DateTime (the first of
    // them that reads as a date and time). Invalid when there is none. The clock time as the
    // camera wrote it, with no time zone (held as UTC so that no local shift applies).
    QDateTime taken;
    // Camera model, focal length, exposure time, F-number and ISO as far as recorded, e.g.
    // "NIKON D70 18mm 1/60秒 F4.0 ISO200". Empty when none of them is there.
    QString camera;

    // From an APP1 payload (the bytes after the segment length, starting with "Exif\0\0").
    // Nothing for any other data; damaged data gives what could be read.
    static CaptureDetails fromExifPayload(const unsigned char* payload, std::size_t size);
    // From a JPEG file: only the markers before its EXIF segment are read (JpegScanner), never
    // the picture. Nothing when the file cannot be read, is no JPEG or holds no EXIF data.
    static CaptureDetails read(const QString& jpegPath);
};

}  // namespace tessaly
