#include "core/imaging/thumbnailmaker.h"

#include <QFileInfo>
#include <algorithm>

#include "core/imaging/imagefilemessage.h"
#include "core/imaging/pixels/areaaverager.h"
#include "core/imaging/pixels/pixelstorage.h"
#include "core/imaging/pixels/sampledstretch.h"
#include "core/imaging/pixels/thumbnailfilters.h"
#include "core/text/errors.h"
#include "core/text/formatting.h"

namespace tessaly {

namespace {

// A box side below 1 pixel (only from a hand-edited settings file) counts as 1.
int side(int value) { return std::max(value, 1); }

// The start of a file read for its header: the markers before the first scan, EXIF data
// included, nearly always fit.
constexpr qint64 kHeaderBytes = 256 * 1024;

// Runs a decoding step whose codec failures then name the file, as those of
// JpegImage::LoadFromFile do.
template <typename Step>
auto namingFile(const QString& path, Step step) -> decltype(step()) {
    try {
        return step();
    } catch (const JpegError& error) {
        throw JpegError(jpegFileMessage(path, error.message()));
    }
}

// The ICC profile chunks of a file's start; none when its header cannot be read (the decode
// then reports the problem).
JpegSegments colourProfileOf(const QByteArray& data) {
    try {
        return JpegImage::readSegments(data).iccChunks();
    } catch (const Error&) {
        return {};
    }
}

}  // namespace

void ThumbnailMaker::open(const QString& sourcePath) {
    release();
    path_ = sourcePath;
    data_ = JpegImage::readFile(sourcePath, kHeaderBytes);
    whole_ = data_.size() < kHeaderBytes;
    bool read = false;
    try {
        header_ = namingFile(path_, [this] { return JpegImage::readHeader(data_); });
        read = header_.withinData || whole_;
    } catch (const ImageError&) {
        if (whole_) throw;
    }
    if (!read) readWholeFile();  // the header goes on further, or fails on its own
    colourProfile_ = colourProfileOf(data_);
    fileBytes_ = whole_ ? data_.size() : QFileInfo(sourcePath).size();
    width_ = header_.width();
    height_ = header_.height();
}

void ThumbnailMaker::load(const QString& sourcePath) {
    open(sourcePath);
    readWholeFile();
    decodePicture();
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

// The filter path is taken for a photograph larger than the box, unless the reduction would
// leave no whole band or run: then the plain stretch.
bool ThumbnailMaker::filterPath(const ThumbnailBox& box) const {
    const int tw = side(box.width), th = side(box.height);
    if (!box.filter || (width_ <= tw && height_ <= th)) return false;
    int cutW = 0, cutH = 0;
    averageReduceSize(width_, height_, tw, th, cutW, cutH);
    return cutW >= 1 && cutH >= 1;
}

ThumbnailMaker::Decoded ThumbnailMaker::plan(const ThumbnailBox& box) const {
    if (loaded_) return Decoded::Nothing;
    if (decoding_ == Decoding::FullPicture) return Decoded::FullPicture;
    if (filterPath(box)) {
        if (header_.orientation != 1) return Decoded::FullPicture;
        AreaAverager probe(width_, height_, side(box.width), side(box.height));
        return probe.coversResult() ? Decoded::EveryRow : Decoded::FullPicture;
    }
    return header_.rowsSkippable ? Decoded::SampledRows : Decoded::EveryRow;
}

qint64 ThumbnailMaker::scaleBytes(const ThumbnailBox& box) const {
    qint64 bytes = fileBytes_ + header_.decoderBytes;
    // A hand-edited box may be absurd: the estimate saturates instead of overflowing (such a
    // thumbnail is refused when its storage is made).
    const double thumbnailBytes = 3.0 * (double(side(box.width)) + 3) * side(box.height);
    const qint64 thumbnail = thumbnailBytes < 1e18 ? qint64(thumbnailBytes) : qint64(1e18);
    switch (plan(box)) {
        case Decoded::FullPicture: {
            const int bits = header_.grayscale ? 8 : 24;
            const qint64 stored =
                qint64(PixelStorage::strideFor(header_.storedWidth, bits)) * header_.storedHeight;
            const qint64 turned = header_.orientation == 1
                                      ? 0
                                      : qint64(PixelStorage::strideFor(width_, bits)) * height_;
            return bytes + stored + turned + thumbnail;
        }
        case Decoded::EveryRow:
            return bytes + 12 * qint64(header_.storedWidth) + thumbnail;
        default:
            return bytes + thumbnail;
    }
}

ThumbnailMaker::Method ThumbnailMaker::scale(const ThumbnailBox& box) {
    if (width_ < 1 || scaled_) {
        throw ImageError(QStringLiteral("TNkDIB: no photograph has been loaded"));
    }
    const int tw = side(box.width), th = side(box.height);
    if (!loaded_) readWholeFile();  // the sizes are those of the bytes decoded from here on
    const bool filter = filterPath(box);
    decoded_ = plan(box);
    if (decoded_ == Decoded::FullPicture) decodePicture();
    if (filter) {
        if (loaded_) {
            PixelImage work = std::move(picture_);  // reduced in place, without a second copy
            picture_ = PixelImage();
            averageReduce(work, width_, height_, tw, th);
            picture_ = std::move(work);
        } else {
            reduceStreamed(tw, th);
        }
        if (fitRatio(width_, height_, box) >= 3.0L && tw > 3 && th > 3) sharpen3x3(picture_);
    } else {
        int nw = 0, nh = 0;
        nominalSize(width_, height_, box, nw, nh);
        picture_ = loaded_ ? stretchNearest(picture_, nw, nh) : stretchStreamed(nw, nh);
    }
    loaded_ = false;
    scaled_ = true;
    if (!keepFile_) {
        data_.clear();  // only the thumbnail is kept from here on
        whole_ = false;
    }
    return filter ? Method::Filter : Method::Plain;
}

PixelImage ThumbnailMaker::stretchStreamed(int tw, int th) {
    SampledStretch stretch(header_, tw, th);
    namingFile(path_, [&] { return JpegImage::decodeRows(data_, stretch.rows(), stretch); });
    return stretch.result();
}

void ThumbnailMaker::reduceStreamed(int tw, int th) {
    AreaAverager averager(width_, height_, tw, th, header_.grayscale);
    namingFile(path_, [&] { return JpegImage::decodeRows(data_, {}, averager); });
    picture_ = averager.result();
}

void ThumbnailMaker::save(const QString& thumbPath, int quality) const {
    JpegImage jpeg;
    jpeg.Assign(picture_);
    jpeg.setCompressionQuality(quality);
    jpeg.setSegments(colourProfile_);
    jpeg.saveToFile(thumbPath);
}

ThumbnailMaker::Method ThumbnailMaker::make(const ThumbnailBox& box, const QString& thumbPath) {
    const Method method = scale(box);
    save(thumbPath, box.quality);
    return method;
}

// The whole file, and its header read again from it, so that the decode and the sizes agree
// even when the file changed after open().
void ThumbnailMaker::readWholeFile() {
    if (!whole_) {
        data_ = JpegImage::readFile(path_);
        whole_ = true;
        fileBytes_ = data_.size();
    }
    header_ = namingFile(path_, [this] { return JpegImage::readHeader(data_); });
    width_ = header_.width();
    height_ = header_.height();
}

// The whole picture from the whole file, as shown (turned by its orientation).
void ThumbnailMaker::decodePicture() {
    JpegImage jpeg;
    namingFile(path_, [&] { jpeg.loadFromData(data_); });
    picture_ = jpeg.picture();
    jpeg.clear();  // the picture is now the only owner of the pixels
    width_ = picture_.width();
    height_ = picture_.height();
    loaded_ = true;
}

const PixelImage& ThumbnailMaker::picture() const { return picture_; }

void ThumbnailMaker::release() {
    picture_ = PixelImage();
    data_.clear();
    path_.clear();
    header_ = JpegHeader();
    colourProfile_ = JpegSegments();
    fileBytes_ = 0;
    whole_ = false;
    loaded_ = false;
    scaled_ = false;
    decoded_ = Decoded::Nothing;
    width_ = 0;
    height_ = 0;
}

}  // namespace tessaly
