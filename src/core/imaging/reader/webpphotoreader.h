#pragma once

#include "core/imaging/reader/photoreader.h"

namespace tessaly {

// A WebP file through libwebp: lossy or lossless, with or without alpha (laid over white);
// of an animation the first frame, on its canvas. The EXIF block comes from the EXIF chunk
// (its Orientation is honoured), the colour profile from ICCP. A whole-canvas picture
// decodes at 1/2, 1/4 or 1/8 of its size through libwebp's own scaling.
class WebpPhotoReader : public PhotoReader {
public:
    explicit WebpPhotoReader(const QString& path);
    // The bytes of a file called name (the name goes into the messages only).
    WebpPhotoReader(const QByteArray& data, const QString& name);
    QString formatName() const override { return QStringLiteral("WebP"); }
    PixelImage picture(int reduction = 1) override;
    bool decodesReduced() const override { return wholeCanvas_; }

private:
    void readHeader();

    QString name_;
    QByteArray data_;
    bool wholeCanvas_ = false;  // the first frame covers the canvas
};

}  // namespace tessaly
