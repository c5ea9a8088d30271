#pragma once

#include <QByteArray>
#include <QString>

#include "core/imaging/pixels/pixelimage.h"

namespace tessaly {

// How the web copies of a catalogue are made: their longer side at most, whether they keep
// where the photographs were taken, and their compression quality.
struct WebCopyPolicy {
    int longSide = 2048;
    bool keepLocation = false;
    int quality = 80;

    // One line naming the policy, kept beside the copies: copies made under another are
    // made again.
    QString recordLine() const;
};

// A light copy of a photograph for publishing: upright, its longer side at most the policy's
// (never enlarged), the colour profile kept and the metadata filtered (PrivacyFilter).
class WebCopy {
public:
    static constexpr int kMinLongSide = 320;
    static constexpr int kMaxLongSide = 8192;
    // Folder of the copies inside the thumbnail folder, and the file there naming their policy.
    static const char* const kFolderName;
    static const char* const kRecordName;

    // The copy's file name: the photograph's, with ".jpg" for a photograph that is no JPEG.
    static QString copyName(const QString& photoName);
    // The size a copy of a w x h (upright) photograph gets.
    static void copySize(int w, int h, int longSide, int& copyWidth, int& copyHeight);
    // The least reduction, in eighths of the stored size, that still gives a picture at least
    // as large as the copy (8: a full decode).
    static int decodeEighths(int w, int h, int longSide);
    // Makes the copy of the photograph whose whole file is `photo` and writes it at outputPath
    // (to a temporary file, then renamed). Throws the decode's and the write's failures.
    static void make(const QByteArray& photo, const QString& outputPath,
                     const WebCopyPolicy& policy);
    // Makes the copy of a photograph of another format, decoded whole and upright by its reader,
    // from that picture, its EXIF block ("Exif\0\0" and the TIFF data, filtered as a JPEG
    // photograph's is) and its colour profile, and writes it at outputPath. Throws the write's
    // failures.
    static void makeFromPicture(const PixelImage& picture, const QByteArray& exif,
                                const QByteArray& iccProfile, const QString& outputPath,
                                const WebCopyPolicy& policy);
    // The memory makeFromPicture holds beside the picture of a w x h photograph, about.
    static qint64 pictureCopyBytes(int w, int h, int longSide);
    // The copy exists, is not older than the photograph, and its folder's record names the
    // policy.
    static bool upToDate(const QString& copyPath, const QString& photoPath, bool policyKept);
};

}  // namespace tessaly
