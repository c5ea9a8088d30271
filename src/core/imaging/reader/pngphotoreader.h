#pragma once

#include "core/imaging/reader/photoreader.h"

namespace tessaly {

// A PNG file through libpng: every colour type and bit depth, interlaced or not; palette
// and grey become colour, 16-bit samples are rounded to 8 bits, transparency (alpha or a
// tRNS colour) is laid over white. The EXIF block comes from the eXIf chunk (its
// Orientation is honoured), the colour profile from iCCP.
class PngPhotoReader : public PhotoReader {
public:
    explicit PngPhotoReader(const QString& path);
    // The bytes of a file called name (the name goes into the messages only).
    PngPhotoReader(const QByteArray& data, const QString& name);
    QString formatName() const override { return QStringLiteral("PNG"); }
    PixelImage picture(int reduction = 1) override;

private:
    void readHeader();

    QString name_;
    QByteArray data_;
};

}  // namespace tessaly
