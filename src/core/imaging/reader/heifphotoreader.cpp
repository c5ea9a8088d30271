#include "core/imaging/reader/heifphotoreader.h"

#include "core/imaging/heif/heifimage.h"

namespace tessaly {

namespace {

// AVIF files name "avif" or "avis" among the brands of their first box.
bool hasAvifBrand(const QByteArray& data) {
    const QByteArray head = data.left(64);
    return head.mid(8, 4) == "avif" || head.mid(8, 4) == "avis" || head.indexOf("avif") > 0;
}

}  // namespace

HeifPhotoReader::HeifPhotoReader(const QString& path)
    : path_(path), data_(readPhotoFile(path, QStringLiteral("HEIF"))) {
    avif_ = hasAvifBrand(data_);
    HeifImage heif;
    heif.readHeader(data_, path_);
    takeExif(heif.exif(), false);
    takeXmp(heif.xmp());
    iccProfile_ = heif.iccProfile();
    setStoredSize(heif.shownWidth(), heif.shownHeight());
}

QString HeifPhotoReader::formatName() const {
    return avif_ ? QStringLiteral("AVIF") : QStringLiteral("HEIF");
}

PixelImage HeifPhotoReader::picture(int) {
    HeifImage heif;
    heif.setAlphaOverWhite(true);
    heif.loadFromData(data_, path_);
    // A file that describes its colours by primaries alone is converted to sRGB on decoding.
    if (heif.iccProfile().isEmpty()) iccProfile_.clear();
    return heif.picture();
}

}  // namespace tessaly
