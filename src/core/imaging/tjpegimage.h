#pragma once

#include <QString>
#include <QStringList>

#include "core/imaging/tnkdib.h"

namespace tessaly {

// A JPEG photograph: decodes a file at full size with the best-quality settings (integer
// slow DCT, fancy upsampling) into a 24-bit (blue, green, red) picture for colour files or
// an 8-bit grey picture (grey colour table) for greyscale files; encodes its picture as a
// baseline three-component JPEG at the compression quality.
// Codec failures raise EJPEG with the codec's message; file failures raise IoError.
// Warnings (for example a truncated file) are not fatal: the picture holds what the file
// held, Warnings() lists the codec's texts and Damaged() tells whether data was missing.
// A progressive file of more than a few hundred scans is refused (EJPEG).
// A photograph with an EXIF Orientation tag (first APP1 "Exif" segment, IFD0) is turned or
// mirrored on loading as browsers show it, so width and height are those of the shown
// picture. Saving writes no EXIF data: the saved pixels are upright.
class TJPEGImage {
public:
    TJPEGImage() = default;

    void LoadFromFile(const QString& path);
    void LoadFromData(const QByteArray& data);
    // Replaces the file (written to a temporary file first, then renamed over it).
    void SaveToFile(const QString& path) const;
    QByteArray SaveToData() const;

    int CompressionQuality() const { return quality_; }
    void SetCompressionQuality(int quality);  // clamped to 1..100; default 90

    bool Empty() const { return empty_; }
    int Width() const;
    int Height() const;
    bool Grayscale() const { return grayscale_; }
    // The Orientation value applied when loading (1 when none or after Assign).
    int Orientation() const { return orientation_; }
    const QStringList& Warnings() const { return warnings_; }
    // True when a warning of the last decode means missing or damaged data (a truncated file,
    // a marker inside the data, a lost restart marker, a bad code): parts of the picture are
    // grey or black. Extraneous bytes before a marker alone do not count.
    bool Damaged() const { return damaged_; }

    // Takes a picture as its new content (any pixel format).
    void Assign(const TNkDIB& picture);
    // The decoded or assigned picture (shares its storage).
    const TNkDIB& Bitmap() const { return picture_; }
    void AssignTo(TNkDIB& picture) const { picture = picture_; }
    // Drops the picture.
    void Clear();

private:
    TNkDIB picture_;
    int quality_ = 90;
    bool empty_ = true;
    bool grayscale_ = false;
    bool damaged_ = false;
    int orientation_ = 1;
    QStringList warnings_;
};

}  // namespace tessaly
