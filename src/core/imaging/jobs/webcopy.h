#pragma once

#include <QByteArray>
#include <QString>

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
    // The copy exists, is not older than the photograph, and its folder's record names the
    // policy.
    static bool upToDate(const QString& copyPath, const QString& photoPath, bool policyKept);
};

}  // namespace tessaly
