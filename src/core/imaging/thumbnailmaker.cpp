#include "core/imaging/thumbnailmaker.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <iterator>
#include <memory>

#include "core/imaging/files/filereplacement.h"
#include "core/imaging/imagefilemessage.h"
#include "core/imaging/metadata/photometadata.h"
#include "core/imaging/pixels/areaaverager.h"
#include "core/imaging/pixels/pixelstorage.h"
#include "core/imaging/pixels/sampledstretch.h"
#include "core/imaging/pixels/thumbnailfilters.h"
#include "core/imaging/reader/photoreader.h"
#include "core/imaging/reader/rowstreaming.h"
#include "core/text/errors.h"
#include "core/text/formatting.h"

namespace tessaly {

namespace {

// A box side below 1 pixel (only from a hand-edited settings file) counts as 1.
int side(int value) { return std::max(value, 1); }

// The reader of a photograph: by its content with other formats (a file of no known content
// under a JPEG name, or one that cannot be opened, goes to the JPEG reader, whose messages say
// what is wrong), the JPEG reader alone without.
std::unique_ptr<PhotoReader> readerFor(const QString& path, bool allFormats) {
    const PhotoFormatRow& jpeg = photoFormatRow(PhotoFormat::Jpeg);
    QFile file(path);
    if (!allFormats || !QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        return jpeg.open(path);
    }
    const PhotoFormatRow* row = photoFormatByContent(file.read(32));
    file.close();
    if (!row && !hasJpegExtension(QFileInfo(path).fileName())) return openPhotoReader(path);
    return (row ? *row : jpeg).open(path);
}

// Hands every decoded row to two sinks.
class BothSinks : public JpegRowSink {
public:
    BothSinks(JpegRowSink& first, JpegRowSink& second) : first_(first), second_(second) {}
    void takeRows(int first, int count, const uchar* rows, size_t stride) override {
        first_.takeRows(first, count, rows, stride);
        second_.takeRows(first, count, rows, stride);
    }

private:
    JpegRowSink& first_;
    JpegRowSink& second_;
};

// Whether the box's reduction is followed by sharpening.
bool sharpens(int w, int h, const ThumbnailBox& box) {
    return ThumbnailMaker::fitRatio(w, h, box) >= 3.0L && side(box.width) > 3 &&
           side(box.height) > 3;
}

}  // namespace

ThumbnailMaker::ThumbnailMaker(Decoding decoding, bool allFormats)
    : decoding_(decoding), allFormats_(allFormats) {}

ThumbnailMaker::~ThumbnailMaker() = default;

void ThumbnailMaker::open(const QString& sourcePath) {
    release();
    path_ = sourcePath;
    reader_ = readerFor(sourcePath, allFormats_);
    rows_ = reader_->rowStreaming();
    width_ = reader_->width();
    height_ = reader_->height();
    colourProfile_ = reader_->iccChunks();
    fileBytes_ =
        rows_ && rows_->holdsWholeFile() ? rows_->heldBytes().size() : QFileInfo(sourcePath).size();
}

void ThumbnailMaker::load(const QString& sourcePath) {
    open(sourcePath);
    if (!rows_) return decodeWithReader();
    readWholeFile();
    decodePicture();
}

const JpegHeader& ThumbnailMaker::header() const {
    static const JpegHeader none;
    return rows_ ? rows_->storedRows() : none;
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
        if (header().orientation != 1) return Decoded::FullPicture;
        AreaAverager probe(width_, height_, side(box.width), side(box.height));
        return probe.coversResult() ? Decoded::EveryRow : Decoded::FullPicture;
    }
    return header().rowsSkippable ? Decoded::SampledRows : Decoded::EveryRow;
}

qint64 ThumbnailMaker::scaleBytes(const ThumbnailBox& box) const {
    if (!rows_) {
        const qint64 r = readerReduction(box);
        return fileBytes_ + (reader_->decodeBytes() + 3 * qint64(width_) * height_) / (r * r);
    }
    qint64 bytes = fileBytes_ + header().decoderBytes;
    // A hand-edited box may be absurd: the estimate saturates instead of overflowing (such a
    // thumbnail is refused when its storage is made).
    const double thumbnailBytes = 3.0 * (double(side(box.width)) + 3) * side(box.height);
    const qint64 thumbnail = thumbnailBytes < 1e18 ? qint64(thumbnailBytes) : qint64(1e18);
    switch (plan(box)) {
        case Decoded::FullPicture: {
            const int bits = header().grayscale ? 8 : 24;
            const qint64 stored =
                qint64(PixelStorage::strideFor(header().storedWidth, bits)) * header().storedHeight;
            const qint64 turned = header().orientation == 1
                                      ? 0
                                      : qint64(PixelStorage::strideFor(width_, bits)) * height_;
            return bytes + stored + turned + thumbnail;
        }
        case Decoded::EveryRow:
            return bytes + 12 * qint64(header().storedWidth) + thumbnail;
        default:
            return bytes + thumbnail;
    }
}

qint64 ThumbnailMaker::scaleTwiceBytes(const ThumbnailBox& box,
                                       const ThumbnailBox& largerBox) const {
    const qint64 both = scaleBytes(box) + scaleBytes(largerBox);
    if (!rows_ || loaded_ || filterPath(box) || filterPath(largerBox)) return both;
    const qint64 r = sharedReduction(box, largerBox);
    if (r == 1) return both;
    const qint64 w = (header().storedWidth + r - 1) / r, h = (header().storedHeight + r - 1) / r;
    const qint64 reduced = qint64(PixelStorage::strideFor(int(w), 24)) * h;
    return both + (header().orientation == 1 ? reduced : 2 * reduced);
}

ThumbnailMaker::Method ThumbnailMaker::scale(const ThumbnailBox& box) {
    if (width_ < 1 || scaled_) {
        throw ImageError(QStringLiteral("TNkDIB: no photograph has been loaded"));
    }
    const int tw = side(box.width), th = side(box.height);
    Decoded byReader = Decoded::Nothing;
    if (!loaded_ && !rows_) {
        decodeWithReader(readerReduction(box));
        byReader = Decoded::FullPicture;
    } else if (!loaded_) {
        readWholeFile();  // the sizes are those of the bytes decoded from here on
    }
    const bool filter = filterPath(box);
    decoded_ = rows_ ? plan(box) : byReader;
    if (decoded_ == Decoded::FullPicture && !loaded_) decodePicture();
    if (filter) {
        if (loaded_) {
            PixelImage work = std::move(picture_);  // reduced in place, without a second copy
            picture_ = PixelImage();
            averageReduce(work, work.width(), work.height(), tw, th);
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
    if (!keepFile_ && rows_) rows_->dropBytes();  // only the thumbnail is kept from here on
    return filter ? Method::Filter : Method::Plain;
}

ThumbnailMaker::Method ThumbnailMaker::scaleTwice(const ThumbnailBox& box,
                                                  const ThumbnailBox& largerBox,
                                                  PixelImage& larger) {
    if (width_ < 1 || scaled_) {
        throw ImageError(QStringLiteral("TNkDIB: no photograph has been loaded"));
    }
    const bool filter = filterPath(box);
    // Two plain stretches would touch nearly every block row of a large JPEG at full size:
    // both come from one reduced decode instead, as another format's thumbnails do.
    const bool plainPair = !filter && !filterPath(largerBox);
    if (!loaded_ && !rows_) {
        decodeWithReader(reader_->decodesReduced() ? sharedReduction(box, largerBox) : 1);
    } else if (!loaded_) {
        readWholeFile();
        const int reduction = plainPair ? sharedReduction(box, largerBox) : 1;
        if (reduction > 1) decodeReduced(reduction);
    }
    const Decoded first = plan(box), second = plan(largerBox);
    if (!loaded_ && first != Decoded::FullPicture && second != Decoded::FullPicture) {
        decoded_ = first == Decoded::SampledRows && second == Decoded::SampledRows
                       ? Decoded::SampledRows
                       : Decoded::EveryRow;
        scaleTwiceStreamed(box, largerBox, larger);
    } else {
        if (!loaded_) decodePicture();
        decoded_ =
            first == Decoded::Nothing && reduction_ == 1 ? Decoded::Nothing : Decoded::FullPicture;
        larger = fromPicture(picture_, largerBox);
        PixelImage whole = std::move(picture_);
        picture_ = fromPicture(std::move(whole), box);
    }
    loaded_ = false;
    scaled_ = true;
    if (!keepFile_ && rows_) rows_->dropBytes();
    return filter ? Method::Filter : Method::Plain;
}

// The thumbnail of a whole decoded picture, as scale() makes it from one.
PixelImage ThumbnailMaker::fromPicture(PixelImage picture, const ThumbnailBox& box) const {
    const int tw = side(box.width), th = side(box.height);
    if (filterPath(box)) {
        averageReduce(picture, picture.width(), picture.height(), tw, th);
        if (sharpens(width_, height_, box)) sharpen3x3(picture);
        return picture;
    }
    int nw = 0, nh = 0;
    nominalSize(width_, height_, box, nw, nh);
    return stretchNearest(picture, nw, nh);
}

// Both thumbnails gathered from the same pass over every stored row.
void ThumbnailMaker::scaleTwiceStreamed(const ThumbnailBox& box, const ThumbnailBox& largerBox,
                                        PixelImage& larger) {
    struct Maker {
        std::unique_ptr<AreaAverager> averager;
        std::unique_ptr<SampledStretch> stretch;
        JpegRowSink& sink() { return averager ? static_cast<JpegRowSink&>(*averager) : *stretch; }
    };
    const auto makerFor = [this](const ThumbnailBox& b) {
        Maker maker;
        if (filterPath(b)) {
            maker.averager = std::make_unique<AreaAverager>(width_, height_, side(b.width),
                                                            side(b.height), header().grayscale);
        } else {
            int nw = 0, nh = 0;
            nominalSize(width_, height_, b, nw, nh);
            maker.stretch = std::make_unique<SampledStretch>(header(), nw, nh);
        }
        return maker;
    };
    Maker small = makerFor(box), large = makerFor(largerBox);
    BothSinks both(small.sink(), large.sink());
    // Two stretches need only the rows either samples; a reduction needs every row.
    std::vector<int> rows;
    if (small.stretch && large.stretch) {
        const std::vector<int>&a = small.stretch->rows(), &b = large.stretch->rows();
        std::set_union(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(rows));
    }
    rows_->decodeRows(rows, both);
    const auto finish = [this](Maker& maker, const ThumbnailBox& b) {
        if (!maker.averager) return maker.stretch->result();
        PixelImage result = maker.averager->result();
        if (sharpens(width_, height_, b)) sharpen3x3(result);
        return result;
    };
    picture_ = finish(small, box);
    larger = finish(large, largerBox);
}

void ThumbnailMaker::saveOther(const PixelImage& picture, const QString& path, int quality) const {
    JpegImage jpeg;
    jpeg.Assign(picture);
    jpeg.setCompressionQuality(quality);
    jpeg.setSegments(colourProfile_);
    jpeg.saveToFile(path);
}

PixelImage ThumbnailMaker::stretchStreamed(int tw, int th) {
    SampledStretch stretch(header(), tw, th);
    rows_->decodeRows(stretch.rows(), stretch);
    return stretch.result();
}

void ThumbnailMaker::reduceStreamed(int tw, int th) {
    AreaAverager averager(width_, height_, tw, th, header().grayscale);
    rows_->decodeRows({}, averager);
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
    rows_->readWholeFile();
    fileBytes_ = rows_->heldBytes().size();
    width_ = header().width();
    height_ = header().height();
}

// The whole picture from the whole file, as shown (turned by its orientation).
void ThumbnailMaker::decodePicture() {
    picture_ = rows_->decodeHeld(1);
    width_ = picture_.width();
    height_ = picture_.height();
    loaded_ = true;
}

const PixelImage& ThumbnailMaker::picture() const { return picture_; }

QByteArray ThumbnailMaker::fileStart() const { return rows_ ? rows_->heldBytes() : QByteArray(); }

QByteArray ThumbnailMaker::wholeFile() const {
    return rows_ && rows_->holdsWholeFile() ? rows_->heldBytes() : QByteArray();
}

// Whether a decode reduced by r leaves a picture at least twice the box's thumbnail on both
// sides, from which the filter path makes a thumbnail of the same size.
bool ThumbnailMaker::reductionFits(int r, const ThumbnailBox& box) const {
    const int tw = side(box.width), th = side(box.height);
    const bool filter = filterPath(box);
    int nw = 0, nh = 0;
    if (filter) {
        averageReduceSize(width_, height_, tw, th, nw, nh);
    } else {
        nominalSize(width_, height_, box, nw, nh);
    }
    const int w = (width_ + r - 1) / r, h = (height_ + r - 1) / r;
    if (w < 2 * qint64(nw) || h < 2 * qint64(nh)) return false;
    int rw = nw, rh = nh;
    if (filter) averageReduceSize(w, h, tw, th, rw, rh);
    return rw == nw && rh == nh;
}

// The largest reduction (1, 2, 4 or 8) the reader can decode at that fits the box.
int ThumbnailMaker::readerReduction(const ThumbnailBox& box) const {
    if (!otherFormat() || !reader_->decodesReduced() || loaded_) return 1;
    for (int r = 8; r > 1; r /= 2) {
        if (reductionFits(r, box)) return r;
    }
    return 1;
}

// The largest reduction that fits both boxes.
int ThumbnailMaker::sharedReduction(const ThumbnailBox& box, const ThumbnailBox& other) const {
    for (int r = 8; r > 1; r /= 2) {
        if (reductionFits(r, box) && reductionFits(r, other)) return r;
    }
    return 1;
}

// The JPEG photograph decoded reduced by r (turned as shown); the sizes stay those of the
// whole photograph.
void ThumbnailMaker::decodeReduced(int reduction) {
    picture_ = rows_->decodeHeld(reduction);
    reduction_ = reduction;
    loaded_ = true;
}

// The photograph through its reader; a reduced decode keeps the sizes of the whole one.
void ThumbnailMaker::decodeWithReader(int reduction) {
    picture_ = reader_->picture(reduction);
    reduction_ = reduction;
    if (reduction == 1) {
        width_ = picture_.width();
        height_ = picture_.height();
    }
    colourProfile_ = reader_->iccChunks();
    loaded_ = true;
}

void ThumbnailMaker::decodeWhole() {
    if (otherFormat() && !loaded_ && !scaled_) decodeWithReader();
}

qint64 ThumbnailMaker::wholeDecodeBytes() const {
    return otherFormat() ? fileBytes_ + reader_->decodeBytes() + 3 * qint64(width_) * height_ : 0;
}

void ThumbnailMaker::saveCopy(const QString& copyPath, int quality) const {
    if (!otherFormat() || !loaded_) {
        throw ImageError(QStringLiteral("TNkDIB: no photograph has been loaded"));
    }
    JpegImage jpeg;
    jpeg.Assign(picture_);
    jpeg.setCompressionQuality(quality);
    JpegSegments segments;
    const QByteArray kept = PhotoMetadata::keptExif(reader_->exif());
    if (!kept.isEmpty()) segments.append(JpegSegments::kApp1, kept);
    for (const JpegSegment& chunk : colourProfile_.list) segments.list.push_back(chunk);
    jpeg.setSegments(segments);
    FileReplacement::replace(copyPath, jpeg.saveToData(), FileReplacement::Links::Refuse);
}

void ThumbnailMaker::release() {
    picture_ = PixelImage();
    reader_.reset();
    rows_ = nullptr;
    path_.clear();
    colourProfile_ = JpegSegments();
    fileBytes_ = 0;
    loaded_ = false;
    scaled_ = false;
    decoded_ = Decoded::Nothing;
    reduction_ = 1;
    width_ = 0;
    height_ = 0;
}

}  // namespace tessaly
