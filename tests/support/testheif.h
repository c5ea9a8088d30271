#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tessaly::test {

// How makeTestHeic builds its file.
struct HeicOptions {
    int orientation = 1;      // 1..8 as in EXIF: libheif stores it as irot/imir transforms
    bool alpha = false;       // an alpha plane beside the colour
    int bitDepth = 8;         // 8 or 10 (12: HEVC only)
    bool av1 = false;         // AV1-coded (an AVIF file) rather than HEVC
    bool monochrome = false;  // one grey plane (the pattern's green)
    bool clap = false;        // odd sizes cropped by a clean-aperture box (not a grid wrapper)
    int quality = 90;
    QByteArray exif;                   // an EXIF block ("Exif\0\0" + TIFF) stored with the image
    bool bareExif = false;             // the EXIF item holds the TIFF data alone, no offset field
    QByteArray iccProfile;             // stored as a 'prof' colour box
    QByteArray xmp;                    // an XMP packet stored as an application/rdf+xml item
    int nclxPrimaries = 0;             // an nclx box with these primaries, sRGB curve; 0: none
    const char* preset = "ultrafast";  // x265's speed preset
    // The colour 0x00BBGGRR at (x, y); none: testPatternColor.
    unsigned (*pattern)(int x, int y, int width, int height) = nullptr;
};

// A HEIC file (HEVC through libheif's own encoder; AVIF with av1) whose pixels, before the
// transforms, are the pattern (by default the test pattern of testimages.h). Throws
// std::runtime_error when libheif cannot encode.
QByteArray makeTestHeic(int width, int height, const HeicOptions& options = HeicOptions());
void writeTestHeic(const QString& path, int width, int height,
                   const HeicOptions& options = HeicOptions());

// An EXIF block made with libexif holding Make, Model, DateTimeOriginal, an Orientation and
// a GPS latitude reference.
QByteArray makeTestExif(const QString& make, const QString& dateTimeOriginal, int orientation);

// A small JPEG whose APP1 segment holds an EXIF block made with libexif: DateTimeOriginal,
// DateTimeDigitized and DateTime as given (an empty text leaves the field out) and, with
// camera, Model "NIKON D70", FocalLength 18, ExposureTime 10/600, FNumber 4 and ISO 200.
QByteArray makeCameraJpeg(const QString& original, const QString& digitized,
                          const QString& dateTime, bool camera);

// Writes six photographs into folder, with and without capture times (a bad DateTimeOriginal,
// a tie, DateTime only, no EXIF), and returns their names in the order they were taken.
QStringList writeDatedPhotos(const QString& folder);

}  // namespace tessaly::test
