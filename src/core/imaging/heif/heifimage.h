#pragma once

#include <QByteArray>
#include <QString>

#include "core/imaging/imageerrors.h"
#include "core/imaging/pixels/pixelimage.h"

namespace tessaly {

// A HEIF file could not be read (damaged, truncated, too large or of a kind libheif cannot
// decode). The message names the file, says what went wrong in Japanese and ends with
// libheif's own text in brackets.
class HeifError : public ImageError {
public:
    using ImageError::ImageError;
};

// A HEIF photograph (HEIC, as phones store them: HEVC-coded, often in tiles), read with
// libheif. The primary image is decoded to 8-bit colour with the file's own transforms
// (rotation, mirror, crop) applied as libheif applies them, so the picture stands as the
// phone showed it; alpha is dropped, higher bit depths are reduced to 8 bits.
// Size limits are those of the pixel image, tested before anything is decoded.
class HeifImage {
public:
    HeifImage() = default;

    // True when the bytes (at least the first 12 of a file) begin like a HEIF file.
    static bool looksLikeHeif(const QByteArray& head);

    // Reads a file: IoError when it cannot be opened, HeifError for bad content.
    void loadFromFile(const QString& path);
    // Reads the bytes of a file called name (the name goes into the messages only).
    void loadFromData(const QByteArray& data, const QString& name = QString());
    // Reads only what loadFromData reads besides the pixels: the size as shown (shownWidth,
    // shownHeight), the EXIF block and the colour profile. The picture stays empty.
    void readHeader(const QByteArray& data, const QString& name = QString());
    // Lays a picture with alpha over white instead of dropping the alpha (off by default).
    void setAlphaOverWhite(bool on) { alphaOverWhite_ = on; }
    // The size readHeader or loadFromData found, transforms applied.
    int shownWidth() const { return shownWidth_; }
    int shownHeight() const { return shownHeight_; }

    bool isEmpty() const { return empty_; }
    int width() const { return empty_ ? 0 : picture_.width(); }
    int height() const { return empty_ ? 0 : picture_.height(); }
    // The upright picture, 24 bits, rows top-down.
    const PixelImage& picture() const { return picture_; }
    // The primary image's first EXIF block as libexif reads it ("Exif\0\0" and the TIFF
    // data), empty when the file holds none. The item's TIFF header is found where its
    // offset field says, else at the first TIFF byte-order mark near its start (some
    // writers leave out the offset field or the "Exif\0\0" it points past).
    const QByteArray& exif() const { return exif_; }
    // The primary image's first XMP packet (a "mime" item of type application/rdf+xml) as
    // stored, empty when the file holds none or one larger than 4 MB.
    const QByteArray& xmp() const { return xmp_; }
    // The primary image's ICC profile as stored, empty when it has none. A file that
    // describes its colours only by primaries (nclx) other than sRGB's has its picture
    // converted to sRGB instead, so its JPEG needs no profile.
    const QByteArray& iccProfile() const { return iccProfile_; }

    // "<name>: <sentence>", the sentence chosen from libheif's error, then "（<detail>）" when
    // a detail is given. Errors raised carry libheif's text as their detail instead.
    static QString failureMessage(const QString& name, int errorCode, const QString& detail);

private:
    void clear();
    void read(const QByteArray& data, const QString& name, bool pixels);

    PixelImage picture_;
    QByteArray exif_;
    QByteArray xmp_;
    QByteArray iccProfile_;
    bool empty_ = true;
    bool alphaOverWhite_ = false;
    int shownWidth_ = 0;
    int shownHeight_ = 0;
};

}  // namespace tessaly
