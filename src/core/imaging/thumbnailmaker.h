#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

#include "core/imaging/jpeg/jpegimage.h"
#include "core/imaging/pixels/pixelimage.h"

namespace tessaly {

class PhotoReader;
class RowStreaming;

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
//
// After open() only the header has been read; scale() then takes the pixels straight from
// the decoder's rows where it can, so that no full-size picture is made: the plain stretch
// decodes only the rows it samples (skipping the others where the codec's skip is exact for
// the file's layout, decoding and dropping them elsewhere), the filter path feeds every row
// into the reduction's column sums. A filter-path photograph with an EXIF orientation, and a
// maker set to Decoding::FullPicture, decode the whole picture first. Either way the
// thumbnail is the same, byte for byte.
class ThumbnailMaker {
public:
    // How scale() comes by the pixels after open().
    enum class Decoding { Streamed, FullPicture };
    // What the last scale() decoded.
    enum class Decoded { Nothing, FullPicture, EveryRow, SampledRows };
    // How scale() made the thumbnail: the plain stretch or the filter path.
    enum class Method { Plain, Filter };

    // Every photograph is read through its format's reader (the format table's, by content,
    // with allFormats; the JPEG reader alone without). A reader that streams rows (JPEG) gives
    // them as described above; the others' pictures are decoded whole, the filters the same.
    explicit ThumbnailMaker(Decoding decoding = Decoding::Streamed, bool allFormats = false);
    ~ThumbnailMaker();

    // Reads the photograph's header: its size as shown, without decoding a pixel. Throws
    // what a decode of a file with that header would (IoError, ImageError).
    void open(const QString& sourcePath);
    // Decodes the whole photograph into picture() (throws ImageError / IoError).
    void load(const QString& sourcePath);
    int imageWidth() const;
    int imageHeight() const;

    // The fit ratio r: the larger of w / box.width and h / box.height.
    static long double fitRatio(int w, int h, const ThumbnailBox& box);
    // w / r by h / r rounded half to even; never less than 1 pixel.
    static void nominalSize(int w, int h, const ThumbnailBox& box, int& tw, int& th);

    // The memory scale() holds at most for this photograph and box, about: the file, the
    // decoder's own buffers, and the full-size picture when it needs one.
    qint64 scaleBytes(const ThumbnailBox& box) const;
    // The same for scaleTwice(): both boxes' memory, and the reduced picture when the pair
    // comes from one.
    qint64 scaleTwiceBytes(const ThumbnailBox& box, const ThumbnailBox& largerBox) const;

    // Scales (plain stretch or filter path): picture() becomes the thumbnail. Returns the
    // method it took. Throws the decode's failures (after open()).
    Method scale(const ThumbnailBox& box);
    // Saves picture() as a JPEG file at the quality, replacing the file. The photograph's ICC
    // profile, when it has one, goes into the thumbnail too, so colour-managed browsers show
    // both alike; the pixels are the same either way.
    // Throws IoError/ImageError when the save fails.
    void save(const QString& thumbPath, int quality) const;
    // scale() for two boxes from one decode of the photograph: picture() becomes the thumbnail
    // of box and `larger` that of largerBox, each as scale() alone would make it, except that
    // two plain stretches of a large photograph come from one decode reduced by 2, 4 or 8
    // (reduction()) that stays twice the larger thumbnail. Returns the method taken for box.
    Method scaleTwice(const ThumbnailBox& box, const ThumbnailBox& largerBox, PixelImage& larger);
    // Saves a picture made from this photograph (the larger one of scaleTwice) as save() does.
    void saveOther(const PixelImage& picture, const QString& path, int quality) const;
    // scale(), then save() at box.quality; returns scale()'s method.
    Method make(const ThumbnailBox& box, const QString& thumbPath);

    // The preview bitmap: the decoded photo after load, the thumbnail after make.
    const PixelImage& picture() const;
    Decoded decoded() const { return decoded_; }
    // The reduction (1, 2, 4 or 8) the last decode took: scale() decodes a WebP photograph
    // smaller where it stays twice the thumbnail's size, scaleTwice() a WebP one or a JPEG
    // one for two plain stretches. The sizes reported stay those of the whole photograph.
    int reduction() const { return reduction_; }
    // Drops the images and the file.
    void release();
    // Keeps the whole file read by scale() for another use of the same read (wholeFile()).
    void keepWholeFile(bool keep) { keepFile_ = keep; }
    // The bytes of a streamed (JPEG) photograph read by open(): the start of the file, or all
    // of it (empty once scale() ran, unless the file is kept).
    QByteArray fileStart() const;
    // The file's size as open() or the last read found it.
    qint64 fileBytes() const { return fileBytes_; }
    // The whole file when it was read and kept; empty otherwise.
    QByteArray wholeFile() const;

    // True when the photograph open is read by a reader that does not stream rows (another
    // format than JPEG); then the whole picture after load() or a scale(), until the
    // thumbnail replaces it, is fullPicture().
    bool otherFormat() const { return reader_ && !rows_; }
    // The reader of such a photograph (its metadata), null for a JPEG.
    const PhotoReader* reader() const { return otherFormat() ? reader_.get() : nullptr; }
    // Decodes such a photograph whole, when not yet done (for saveCopy before scale).
    void decodeWhole();
    // The memory such a decode holds, about: the file, the reader's buffers and the whole
    // picture (0 for a JPEG).
    qint64 wholeDecodeBytes() const;
    // Saves the decoded whole picture of such a photograph as a JPEG copy at the quality
    // (its colour profile, capture date and camera kept), replacing the file; call between
    // load() and scale(). Throws IoError/ImageError.
    void saveCopy(const QString& copyPath, int quality) const;

private:
    const JpegHeader& header() const;  // of a streamed photograph (empty for the others)
    bool filterPath(const ThumbnailBox& box) const;
    Decoded plan(const ThumbnailBox& box) const;
    void readWholeFile();
    void decodePicture();
    PixelImage stretchStreamed(int tw, int th);
    PixelImage fromPicture(PixelImage picture, const ThumbnailBox& box) const;
    void scaleTwiceStreamed(const ThumbnailBox& box, const ThumbnailBox& largerBox,
                            PixelImage& larger);
    void reduceStreamed(int tw, int th);
    bool reductionFits(int r, const ThumbnailBox& box) const;
    int readerReduction(const ThumbnailBox& box) const;
    int sharedReduction(const ThumbnailBox& box, const ThumbnailBox& other) const;
    void decodeReduced(int reduction);
    void decodeWithReader(int reduction = 1);

    Decoding decoding_;
    bool allFormats_ = false;
    std::unique_ptr<PhotoReader> reader_;  // the photograph open
    RowStreaming* rows_ = nullptr;         // the reader's row streaming, when it has one
    Decoded decoded_ = Decoded::Nothing;
    int reduction_ = 1;
    QString path_;
    bool keepFile_ = false;
    qint64 fileBytes_ = 0;
    JpegSegments colourProfile_;  // the photograph's ICC profile chunks
    bool loaded_ = false;         // picture_ holds the decoded photograph
    bool scaled_ = false;         // picture_ holds the thumbnail
    PixelImage picture_;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace tessaly
