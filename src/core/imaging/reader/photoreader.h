#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <memory>

#include "core/imaging/imageerrors.h"
#include "core/imaging/jpeg/jpegsegments.h"
#include "core/imaging/pixels/pixelimage.h"
#include "core/imaging/reader/photoformats.h"

namespace tessaly {

class RowStreaming;

// A photograph of a format other than JPEG could not be read. The message names the file,
// says what went wrong in Japanese and ends with the decoder's own text in brackets.
class PhotoFormatError : public ImageError {
public:
    using ImageError::ImageError;
};

// One photograph file of any format the program reads, opened for its header: the size as
// shown, the orientation, the capture time and the colour profile are known without
// decoding a pixel; picture() decodes. Pictures stand upright as browsers show them,
// transparency is laid over white, deeper samples are reduced to 8 bits with rounding.
class PhotoReader {
public:
    virtual ~PhotoReader() = default;

    // Short name of the format, e.g. "PNG" (for messages).
    virtual QString formatName() const = 0;
    // The size as shown (orientation applied).
    int width() const { return width_; }
    int height() const { return height_; }
    // The EXIF Orientation value the picture is turned by (1..8; 1 for formats whose own
    // transforms are applied by the decoder).
    int orientation() const { return orientation_; }
    // When it was taken (see CaptureDetails); invalid when not recorded.
    const QDateTime& taken() const { return taken_; }
    // Camera details as CaptureDetails gives them.
    const QString& camera() const { return camera_; }
    // The ICC profile as stored; empty when there is none.
    const QByteArray& iccProfile() const { return iccProfile_; }
    // The EXIF block ("Exif\0\0" and the TIFF data); empty when there is none.
    const QByteArray& exif() const { return exif_; }
    // The XMP packet as stored (the XML alone, no JPEG header); empty when there is none or
    // when it is larger than kMaxXmpBytes.
    const QByteArray& xmp() const { return xmp_; }
    static constexpr qsizetype kMaxXmpBytes = qsizetype(4) << 20;

    // Decodes the picture, upright, 24 bits (or 8-bit grey for a grey JPEG), reduced by
    // `reduction` (1, 2, 4 or 8) where the codec can decode smaller for less work: the
    // result is then about width() / reduction by height() / reduction; codecs that cannot
    // give the whole size. Throws ImageError (the file named) or IoError.
    virtual PixelImage picture(int reduction = 1) = 0;

    // The largest memory picture() needs, about.
    virtual qint64 decodeBytes() const;
    // True when picture(reduction) really decodes smaller: to width() / reduction by
    // height() / reduction, rounded up.
    virtual bool decodesReduced() const { return false; }

    // The colour profile as the APP2 chunks of a JPEG file made from the photograph: a JPEG
    // photograph's chunks as stored, the others' profile cut into chunks.
    virtual JpegSegments iccChunks() const { return JpegSegments::fromIccProfile(iccProfile_); }
    // The reader's row streaming, when its codec can stream rows (JPEG); null otherwise.
    virtual RowStreaming* rowStreaming() { return nullptr; }

protected:
    // Takes the EXIF block's orientation (when useOrientation), capture time and camera;
    // comes before setStoredSize.
    void takeExif(const QByteArray& exif, bool useOrientation);
    // Keeps the XMP packet unless it is larger than kMaxXmpBytes.
    void takeXmp(const QByteArray& xmp);
    // Sets the size as stored; width() and height() follow the orientation.
    void setStoredSize(int width, int height);

    int width_ = 0;
    int height_ = 0;
    int orientation_ = 1;
    QDateTime taken_;
    QString camera_;
    QByteArray iccProfile_;
    QByteArray exif_;
    QByteArray xmp_;
};

// Opens a photograph by its content, with the reader of its row of the format table (a file
// of no known content under a JPEG name goes to the JPEG reader): reads only what the
// header needs. Throws IoError when the file cannot be read and ImageError subclasses
// (JpegError, PhotoFormatError, HeifError) when its content cannot be.
std::unique_ptr<PhotoReader> openPhotoReader(const QString& path);

// The error of a file of `format` that could not be read: "<file name>: <sentence>" for the
// user, the decoder's own text as its detail (for standard error).
PhotoFormatError photoFileError(const QString& path, const QString& format, const QString& detail);

// The whole file, when it is a regular file not larger than the pixel limit (IoError when
// it cannot be read, PhotoFormatError when it is too large).
QByteArray readPhotoFile(const QString& path, const QString& format);

// Lays 8-bit red, green, blue, alpha rows over white into a new top-down 24-bit picture.
PixelImage overWhite(const uchar* rgba, int width, int height, qsizetype stride);

}  // namespace tessaly
