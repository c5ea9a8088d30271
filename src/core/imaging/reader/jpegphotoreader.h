#pragma once

#include "core/imaging/reader/photoreader.h"

namespace tessaly {

// A JPEG photograph through the JPEG image class: the header and the metadata segments on
// opening, the picture (turned by its EXIF orientation) at 1, 1/2, 1/4 or 1/8 of its size
// through the codec's scaled decode.
class JpegPhotoReader : public PhotoReader {
public:
    explicit JpegPhotoReader(const QString& path);
    QString formatName() const override { return QStringLiteral("JPEG"); }
    PixelImage picture(int reduction = 1) override;
    qint64 decodeBytes() const override;

private:
    QString path_;
    qint64 decoderBytes_ = 0;
};

}  // namespace tessaly
