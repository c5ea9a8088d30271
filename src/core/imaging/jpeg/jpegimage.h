#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>
#include <vector>

#include "core/imaging/jpeg/jpegsegments.h"
#include "core/imaging/pixels/pixelimage.h"

namespace tessaly {

// What a JPEG file's header says, read without decoding its pixels.
struct JpegHeader {
    int storedWidth = 0;  // the picture as stored in the file
    int storedHeight = 0;
    int orientation = 1;     // the EXIF Orientation value applied when it is shown (1..8)
    bool grayscale = false;  // decoded as one grey byte per pixel
    // Rows skipped with the codec's skip give exactly the pixels of a full decode in the
    // rows read after them (proven for these sampling layouts only: see DecodeRows).
    bool rowsSkippable = false;
    qint64 decoderBytes = 0;  // the codec's own working memory for a decode, about
    bool withinData = true;   // false when the data ended before the header did

    // The size as shown: orientations 5 to 8 swap width and height.
    int width() const { return orientation >= 5 ? storedHeight : storedWidth; }
    int height() const { return orientation >= 5 ? storedWidth : storedHeight; }
};

// Takes the rows of a decode that keeps no full-size picture (JpegImage::DecodeRows).
class JpegRowSink {
public:
    virtual ~JpegRowSink() = default;
    // Stored rows first .. first + count - 1, top to bottom, each `stride` bytes after the
    // one before: blue, green, red bytes per pixel in colour, one grey byte in greyscale.
    virtual void takeRows(int first, int count, const uchar* rows, size_t stride) = 0;
};

// A JPEG photograph: decodes a file at full size with the best-quality settings (integer
// slow DCT, fancy upsampling) into a 24-bit (blue, green, red) picture for colour files or
// an 8-bit grey picture (grey colour table) for greyscale files; encodes its picture as a
// baseline three-component JPEG at the compression quality.
// Codec failures raise JpegError with the codec's message; file failures raise IoError.
// Warnings (for example a truncated file) are not fatal: the picture holds what the file
// held, warnings() lists the codec's texts and isDamaged() tells whether data was missing.
// A progressive file of more than a few hundred scans is refused (JpegError).
// A photograph with an EXIF Orientation tag (first APP1 "Exif" segment, IFD0) is turned or
// mirrored on loading as browsers show it, so width and height are those of the shown
// picture. Saving writes only the segments given with setSegments: the saved pixels are
// upright.
class JpegImage {
public:
    JpegImage() = default;

    void loadFromFile(const QString& path);
    // reduction 2, 4 or 8 decodes at that fraction of the size through the codec's scaled
    // inverse DCT (much less work); any other value decodes the whole size.
    void loadFromData(const QByteArray& data, int reduction = 1);
    // The same, decoded at eighths / 8 of the stored size (1 to 8; each side rounded up).
    void loadScaledFromData(const QByteArray& data, int eighths);

    // The bytes of a photograph file as LoadFromFile reads them, with its checks (a regular
    // file, not beyond the size limit) and its failures, which name the file; at most `limit`
    // bytes when limit is not negative.
    static QByteArray readFile(const QString& path, qint64 limit = -1);
    // The header alone: the checks LoadFromData makes before it decodes any pixel, with the
    // same failures (LoadFromFile's name the file in addition).
    static JpegHeader readHeader(const QByteArray& data);
    // Decodes the stored rows (before any orientation) listed in `rows`, ascending, and hands
    // them to the sink in small blocks; an empty list means every row. The settings are those
    // of LoadFromData, so the rows are exactly its rows. Unlisted rows are skipped by the codec
    // when the header says rowsSkippable, otherwise decoded and dropped; the last row is
    // always decoded, so the codec's warnings and its end of decoding are those of a full
    // decode. Returns the header; failures are those of LoadFromData.
    static JpegHeader decodeRows(const QByteArray& data, const std::vector<int>& rows,
                                 JpegRowSink& sink);
    // The APPn and COM segments before the first scan, in file order, as the marker walk
    // (JpegScanner) finds them in a file the codec reads. Failures are those of ReadHeader.
    static JpegSegments readSegments(const QByteArray& data);
    // Segments written after the start marker of every saved file, in place of the codec's
    // own JFIF segment (none by default).
    void setSegments(const JpegSegments& segments) { segments_ = segments; }

    // Replaces the file (written to a temporary file first, then renamed over it).
    void saveToFile(const QString& path) const;
    QByteArray saveToData() const;

    int CompressionQuality() const { return quality_; }
    void setCompressionQuality(int quality);  // clamped to 1..100; default 90

    bool isEmpty() const { return empty_; }
    int width() const;
    int height() const;
    bool isGrayscale() const { return grayscale_; }
    // The Orientation value applied when loading (1 when none or after Assign).
    int Orientation() const { return orientation_; }
    const QStringList& warnings() const { return warnings_; }
    // True when a warning of the last decode means missing or damaged data (a truncated file,
    // a marker inside the data, a lost restart marker, a bad code): parts of the picture are
    // grey or black. Extraneous bytes before a marker alone do not count.
    bool isDamaged() const { return damaged_; }

    // Takes a picture as its new content (any pixel format).
    void Assign(const PixelImage& picture);
    // The decoded or assigned picture (shares its storage).
    const PixelImage& picture() const { return picture_; }
    void AssignTo(PixelImage& picture) const { picture = picture_; }
    // Drops the picture.
    void clear();

private:
    PixelImage picture_;
    int quality_ = 90;
    bool empty_ = true;
    bool grayscale_ = false;
    bool damaged_ = false;
    int orientation_ = 1;
    QStringList warnings_;
    JpegSegments segments_;
};

}  // namespace tessaly
