#pragma once

#include <QString>
#include <functional>

#include "core/imaging/tnkdib.h"

namespace tessaly {

// The thumbnail box of the settings.
struct ThumbnailBox {
    int width;
    int height;
    int quality;
    bool filter;  // thumbFilter != "off"
};

// Turns one photograph into one thumbnail JPEG that fits the box: the plain stretch
// (nearest-neighbour, whole rows and columns dropped or repeated) or the filter path
// (area-averaging reduction, then sharpening after a reduction by 3 or more).
class ThumbnailMaker {
public:
    // Decodes the photograph (throws ImageError / IoError).
    void load(const QString& sourcePath);
    int imageWidth() const;
    int imageHeight() const;

    // The fit ratio r: the larger of w / box.width and h / box.height.
    static long double fitRatio(int w, int h, const ThumbnailBox& box);
    // w / r by h / r rounded half to even; never less than 1 pixel.
    static void nominalSize(int w, int h, const ThumbnailBox& box, int& tw, int& th);

    // Scales (plain stretch or filter path) and saves the thumbnail JPEG at box.quality,
    // replacing the file. status receives "通常圧縮" or "フィルター処理".
    // Throws IoError/ImageError when the save fails.
    void make(const ThumbnailBox& box, const QString& thumbPath,
              const std::function<void(const QString&)>& status);

    // The preview bitmap: the decoded photo after load, the thumbnail after make.
    const TNkDIB& picture() const;
    // Drops the images.
    void release();

private:
    TNkDIB picture_;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace tessaly
