#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "core/imaging/pixels/pixelimage.h"

namespace tessaly {

// Turns BMP files (or HEIC/HEIF photographs) into JPEG files beside them, shared by the
// converter window and tessaly-batch. The source files are never changed.
class BmpConversion {
public:
    // What the files are read as: BMP, HEIF, PNG / WebP / AVIF (Other, by content), or any
    // of them chosen by the file's content.
    enum class Source { Bmp, Heif, Any, Other };

    // What the front end is told while a run goes on. Every hook may be left empty.
    struct Hooks {
        std::function<void(const QString& name)> starting;  // a file's turn has come
        // The file's picture, on the thread that read it (with several workers, ahead of its
        // turn).
        std::function<void(const PixelImage& picture)> loaded;
        // The output file exists: true to replace it. Empty: never replace.
        std::function<bool(const QString& outputName)> overwrite;
        // Asked before each file's turn: true stops the run there.
        std::function<bool()> stopped;
    };

    enum class Failure { None, Read, Write, Stopped };

    // How a run went. On a failure the run stopped at failedName; files before it stay.
    struct Result {
        QStringList written;  // output names written
        QStringList skipped;  // output names left as they were (answered No, or the source)
        Failure failure = Failure::None;
        QString failedName;  // the source file that stopped the run
        QString message;     // the pixel image's, codec's or file system's text
        QString detail;      // the library's own text behind it, for standard error
    };

    // A file as read: the picture and, for a HEIF file, its EXIF block and ICC profile.
    struct Photo {
        PixelImage picture;
        QByteArray exif;
        QByteArray iccProfile;
        bool heif = false;
    };

    explicit BmpConversion(int quality, Source source = Source::Bmp);  // quality: 1..100

    // The JPEG name for a BMP name: its first charLength - 3 characters followed by "jpg",
    // so "pic.bmp" and "photo.BMP" give "pic.jpg" and "photo.jpg".
    static QString outputName(const QString& bmpName);
    // The JPEG name when HEIF files are read (Source::Heif or Any): the last extension
    // replaced by (or, without one, followed by) ".jpg", so "IMG_0001.HEIC", "x.heif" and
    // "y.bmp" give "IMG_0001.jpg", "x.jpg" and "y.jpg".
    static QString heifOutputName(const QString& heifName);

    // Reads a BMP file (the pixel image's errors, or IoError).
    static PixelImage load(const QString& path);
    // Reads a file as the source says (IoError, the pixel image's or HeifError errors; with
    // Source::Any an ImageError when the file is neither BMP nor HEIF).
    Photo loadPhoto(const QString& path) const;
    static Photo readPhoto(const QString& path);

    // Encodes the picture as a colour JPEG at the quality and writes it through a temporary
    // file, so a failure never leaves a half-written file behind. Raises IoError.
    // The date and camera fields of an EXIF block and an ICC profile, when given, go into
    // the JPEG file.
    void write(const PixelImage& picture, const QString& path,
               const QByteArray& exif = QByteArray(),
               const QByteArray& iccProfile = QByteArray()) const;
    // The JPEG file that write() writes, as bytes.
    QByteArray encode(const PixelImage& picture, const QByteArray& exif = QByteArray(),
                      const QByteArray& iccProfile = QByteArray()) const;

    // One file read and encoded, waiting for its turn to be written.
    struct Prepared {
        QString name;
        QByteArray jpeg;  // the JPEG file's bytes
        Failure failure = Failure::None;
        QString message;
        QString detail;
    };
    // Reads the file folder + name and encodes it (any thread; hooks.loaded is called).
    Prepared prepare(const QString& folder, const QString& name, const Hooks& hooks) const;
    // The file's turn: skipped when it would replace its own source, or an existing output
    // the overwrite hook does not replace; otherwise written. Adds to result; false when the
    // run stops at this file.
    bool finish(const QString& folder, const Prepared& prepared, const Hooks& hooks,
                Result& result) const;

    // Converts the named files of a folder in order, asking before an existing output is
    // replaced. Stops at the first file that cannot be read or written.
    Result run(const QString& folder, const QStringList& names, const Hooks& hooks) const;
    // The JPEG name of a source name for this conversion's source kind.
    QString outputNameOf(const QString& name) const;
    // The folder listing masks of the files a source kind reads ("*.heic", "*.heif"), from
    // the format table.
    static QStringList masksOf(Source source);

    // The window's texts.
    static QString overwriteQuestion(const QString& outputName);
    static QString
    writeErrorMessage();  // "ファイル書き込みエラーが発生しました。\n処理は中断されました。"
    static QString convertingStatus();               // "BMP→JPG 変換中"
    static QString convertingStatus(Source source);  // "HEIC→JPG 変換中" for HEIF
    static QString finishedStatus();                 // "変換終了"

private:
    int quality_;
    Source source_;
};

}  // namespace tessaly
