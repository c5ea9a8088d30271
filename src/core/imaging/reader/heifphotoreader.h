#pragma once

#include "core/imaging/reader/photoreader.h"

namespace tessaly {

// An AVIF or HEIC/HEIF file through the HEIF image class (libheif): 8, 10 or 12 bits,
// colour or monochrome, its rotation, mirror and crop applied by the decoder (the EXIF
// Orientation is not applied a second time), alpha laid over white. The capture time comes
// from the Exif item.
class HeifPhotoReader : public PhotoReader {
public:
    explicit HeifPhotoReader(const QString& path);
    QString formatName() const override;
    PixelImage picture(int reduction = 1) override;

    // True for a file whose primary image is AV1-coded (AVIF), from its brands.
    bool isAvif() const { return avif_; }

private:
    QString path_;
    QByteArray data_;
    bool avif_ = false;
};

}  // namespace tessaly
