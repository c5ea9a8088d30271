#include "core/imaging/thumbnailmaker.h"

#include <algorithm>

#include "core/imaging/thumbnailfilters.h"
#include "core/imaging/tjpegimage.h"
#include "core/text/formatting.h"

namespace tessaly {

namespace {

// A box side below 1 pixel (only from a hand-edited settings file) counts as 1.
int side(int value) { return std::max(value, 1); }

}  // namespace

void ThumbnailMaker::load(const QString& sourcePath) {
    release();
    TJPEGImage jpeg;
    jpeg.LoadFromFile(sourcePath);
    picture_ = jpeg.Bitmap();
    jpeg.Clear();  // the picture is now the only owner of the pixels
    width_ = picture_.Width();
    height_ = picture_.Height();
}

int ThumbnailMaker::imageWidth() const { return width_; }
int ThumbnailMaker::imageHeight() const { return height_; }

long double ThumbnailMaker::fitRatio(int w, int h, const ThumbnailBox& box) {
    const long double rx = static_cast<long double>(w) / side(box.width);
    const long double ry = static_cast<long double>(h) / side(box.height);
    return rx <= ry ? ry : rx;
}

void ThumbnailMaker::nominalSize(int w, int h, const ThumbnailBox& box, int& tw, int& th) {
    const long double r = fitRatio(w, h, box);
    tw = int(std::max<long long>(roundHalfEven(w / r), 1));
    th = int(std::max<long long>(roundHalfEven(h / r), 1));
}

void ThumbnailMaker::make(const ThumbnailBox& box, const QString& thumbPath,
                          const std::function<void(const QString&)>& status) {
    if (width_ < 1 || picture_.Width() != width_ || picture_.Height() != height_) {
        throw ImageError(QStringLiteral("TNkDIB: no photograph has been loaded"));
    }
    const int tw = side(box.width), th = side(box.height);
    bool filterPath = box.filter && (width_ > tw || height_ > th);
    if (filterPath) {
        // A reduction that would leave no whole band or run falls back to the plain stretch.
        int cutW = 0, cutH = 0;
        averageReduceSize(width_, height_, tw, th, cutW, cutH);
        filterPath = cutW >= 1 && cutH >= 1;
    }
    if (filterPath) {
        if (status) status(QStringLiteral("フィルター処理"));
        TNkDIB work = std::move(picture_);  // reduced in place, without a second copy
        picture_ = TNkDIB();
        AverageReduce(work, width_, height_, tw, th);
        picture_ = std::move(work);
        if (fitRatio(width_, height_, box) >= 3.0L && tw > 3 && th > 3) Sharpen3x3(picture_);
    } else {
        if (status) status(QStringLiteral("通常圧縮"));
        int nw = 0, nh = 0;
        nominalSize(width_, height_, box, nw, nh);
        picture_ = StretchNearest(picture_, nw, nh);
    }
    TJPEGImage jpeg;
    jpeg.Assign(picture_);
    jpeg.SetCompressionQuality(box.quality);
    jpeg.SaveToFile(thumbPath);
}

const TNkDIB& ThumbnailMaker::picture() const { return picture_; }

void ThumbnailMaker::release() {
    picture_ = TNkDIB();
    width_ = 0;
    height_ = 0;
}

}  // namespace tessaly
