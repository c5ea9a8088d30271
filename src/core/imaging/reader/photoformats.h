#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace tessaly {

class PhotoReader;

// The formats by the start of a file.
enum class PhotoFormat { Unknown, Jpeg, Png, Webp, Heif, Bmp };

// Which of the converter's file types a format belongs to.
enum class ConversionGroup { None, Bmp, Heif, Other };

// One file format the program knows: every list of file name endings, every check of a
// file's first bytes and every choice of reader is asked of these rows. Adding a format is
// one row here and its reader.
struct PhotoFormatRow {
    PhotoFormat format;   // what the content check tells
    QString name;         // for messages: "JPEG", "PNG", ...
    QStringList endings;  // lower case with the dot; the JPEG row's first is the plain list's
    bool (*hasContent)(const QByteArray& head);  // true for a file that starts like one
    // Opens a photograph of this format for the catalogue; null for a format the catalogue
    // does not take (BMP, which only the converter reads).
    std::unique_ptr<PhotoReader> (*open)(const QString& path);
    bool browserShows;  // false: the page links a JPEG copy made beside the thumbnails
    ConversionGroup conversion;

    // True when the name ends with one of the endings (any case).
    bool hasEnding(const QString& name) const;
};

// The table, in the order of the lists it gives: JPEG, PNG, WebP, AVIF, HEIC/HEIF, BMP.
const std::vector<PhotoFormatRow>& photoFormatTable();

// The row whose ending the name has (any case); null when none.
const PhotoFormatRow* photoFormatByName(const QString& name);
// The first row the catalogue reads (one with a reader) whose content check the start of a
// file passes; null when none.
const PhotoFormatRow* photoFormatByContent(const QByteArray& head);
// The row of a format.
const PhotoFormatRow& photoFormatRow(PhotoFormat format);

// The catalogue's formats by the start of a file (Unknown for BMP and the rest).
PhotoFormat photoFormatOf(const QByteArray& head);

// True for a name with a JPEG ending (".jpg", ".jpeg", any case).
bool hasJpegExtension(const QString& name);
// True for a name ending with the JPEG row's first ending (".jpg", any case): the names the
// lists take without other formats, and those the comment editor and the rotation take.
bool hasPlainJpegEnding(const QString& name);
// True for a photograph that is turned losslessly (a JPEG under the plain ending).
bool turnsLosslessly(const QString& name);
// True for a name the lists take: the plain ending only, or with allFormats every ending of
// a format the catalogue reads; a name is more than its ending.
bool isPhotoName(const QString& name, bool allFormats);
// The folder listing mask for the same names ("*.jpg;*.jpeg;...").
QString photoNameMask(bool allFormats);
// The endings of photoNameMask, lower case with the dot (".jpg", ...).
QStringList photoExtensions(bool allFormats);
// True for a name of a format browsers do not show (HEIC/HEIF).
bool browsersCannotShow(const QString& name);
// The catalogue's formats' names, "JPEG、PNG、..." (for messages).
QString cataloguedFormatNames();

// The listing masks of the converter's files of a group ("*.heic", "*.heif").
QStringList conversionMasks(ConversionGroup group);
// Those of every group, in the table's order.
QStringList conversionMasks();
// The converter's formats' names by group (BMP, HEIC/HEIF, then the others), "BMP、..." (for
// messages).
QString convertibleFormatNames();

}  // namespace tessaly
