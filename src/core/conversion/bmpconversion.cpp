#include "core/conversion/bmpconversion.h"

#include <QFile>
#include <QFileInfo>

#include "core/imaging/files/filereplacement.h"
#include "core/imaging/heif/heifimage.h"
#include "core/imaging/jpeg/jpegimage.h"
#include "core/imaging/metadata/photometadata.h"
#include "core/imaging/reader/photoreader.h"
#include "core/text/charfuncs.h"
#include "core/text/errors.h"
#include "core/text/formatting.h"
#include "core/text/textfile.h"

namespace tessaly {

namespace {

// The first bytes of a file, enough to tell BMP from HEIF; false when the file cannot be
// read (the reader then gives the proper error).
bool readHead(const QString& path, QByteArray& head) {
    QFile file(path);
    if (!isRegularFile(path) || !file.open(QIODevice::ReadOnly)) return false;
    head = file.read(64);
    return true;
}

}  // namespace

BmpConversion::BmpConversion(int quality, Source source)
    : quality_(qBound(1, quality, 100)), source_(source) {}

QString BmpConversion::outputName(const QString& bmpName) {
    return charLeft(bmpName, qMax(0, charLength(bmpName) - 3)) + QStringLiteral("jpg");
}

QString BmpConversion::heifOutputName(const QString& heifName) {
    const int dot = heifName.lastIndexOf(QLatin1Char('.'));
    return (dot > 0 ? heifName.left(dot) : heifName) + QStringLiteral(".jpg");
}

BmpConversion::Photo BmpConversion::loadPhoto(const QString& path) const {
    bool heif = source_ == Source::Heif;
    if (source_ == Source::Any || source_ == Source::Other) {
        QByteArray head;
        const bool readable = readHead(path, head);
        // HEIF files (AVIF too) go through the HEIF image as the HEIC type does; the other
        // formats the converter takes through their readers.
        const PhotoFormatRow* row = photoFormatByContent(head);
        heif = row && row->format == PhotoFormat::Heif;
        if (row && !heif && row->conversion != ConversionGroup::None) return readPhoto(path);
        const bool bmp = photoFormatRow(PhotoFormat::Bmp).hasContent(head);
        if (readable && !heif && (source_ == Source::Other || !bmp)) {
            throw ImageError(QFileInfo(path).fileName() + QStringLiteral(": ") +
                             convertibleFormatNames() +
                             QStringLiteral(" のどれでもないため"
                                            "変換できません（No BMP, PNG, WebP or HEIF header）"));
        }
    }
    Photo photo;
    if (!heif) {
        photo.picture = load(path);
        return photo;
    }
    HeifImage image;
    image.loadFromFile(path);
    photo.picture = image.picture();
    photo.exif = image.exif();
    photo.iccProfile = image.iccProfile();
    photo.heif = true;
    return photo;
}

// A photograph through its format's reader: upright, transparency over white.
BmpConversion::Photo BmpConversion::readPhoto(const QString& path) {
    const std::unique_ptr<PhotoReader> reader = openPhotoReader(path);
    Photo photo;
    photo.picture = reader->picture();
    photo.exif = reader->exif();
    photo.iccProfile = reader->iccProfile();
    return photo;
}

PixelImage BmpConversion::load(const QString& path) {
    PixelImage picture;
    picture.loadFromFile(path);
    return picture;
}

QByteArray BmpConversion::encode(const PixelImage& picture, const QByteArray& exif,
                                 const QByteArray& iccProfile) const {
    JpegImage jpeg;
    PixelImage colour(picture);
    if (colour.pixelFormat() != PixelFormat::Bgr24) colour.setPixelFormat(PixelFormat::Bgr24);
    jpeg.Assign(colour);
    jpeg.setCompressionQuality(quality_);
    JpegSegments segments;
    const QByteArray kept = PhotoMetadata::keptExif(exif);
    if (!kept.isEmpty()) segments.append(JpegSegments::kApp1, kept);
    for (const JpegSegment& chunk : JpegSegments::fromIccProfile(iccProfile).list) {
        segments.list.push_back(chunk);
    }
    jpeg.setSegments(segments);
    return jpeg.saveToData();
}

void BmpConversion::write(const PixelImage& picture, const QString& path, const QByteArray& exif,
                          const QByteArray& iccProfile) const {
    FileReplacement::replace(path, encode(picture, exif, iccProfile),
                             FileReplacement::Links::Refuse);
}

QStringList BmpConversion::masksOf(Source source) {
    switch (source) {
        case Source::Bmp:
            return conversionMasks(ConversionGroup::Bmp);
        case Source::Heif:
            return conversionMasks(ConversionGroup::Heif);
        case Source::Other:
            return conversionMasks(ConversionGroup::Other);
        default:
            return conversionMasks();
    }
}

QString BmpConversion::outputNameOf(const QString& name) const {
    return source_ == Source::Bmp ? outputName(name) : heifOutputName(name);
}

BmpConversion::Prepared BmpConversion::prepare(const QString& folder, const QString& name,
                                               const Hooks& hooks) const {
    Prepared prepared;
    prepared.name = name;
    try {
        const Photo photo = loadPhoto(folderPath(folder) + name);
        if (hooks.loaded) hooks.loaded(photo.picture);
        prepared.failure = Failure::Write;  // from here on a failure is the encoder's
        prepared.jpeg = encode(photo.picture, photo.exif, photo.iccProfile);
        prepared.failure = Failure::None;
    } catch (const Error& error) {
        if (prepared.failure == Failure::None) prepared.failure = Failure::Read;
        prepared.message = error.message();
        prepared.detail = error.detail();
    }
    return prepared;
}

bool BmpConversion::finish(const QString& folder, const Prepared& prepared, const Hooks& hooks,
                           Result& result) const {
    const QString base = folderPath(folder);
    const QString& name = prepared.name;
    if (prepared.failure != Failure::None) {
        result.failure = prepared.failure;
        result.failedName = name;
        result.message = prepared.message;
        result.detail = prepared.detail;
        return false;
    }
    const QString output = outputNameOf(name);
    if (QFileInfo(base + output) == QFileInfo(base + name) ||  // never over its own source
        (QFileInfo::exists(base + output) && !(hooks.overwrite && hooks.overwrite(output)))) {
        result.skipped << output;
        return true;
    }
    try {
        FileReplacement::replace(base + output, prepared.jpeg, FileReplacement::Links::Refuse);
    } catch (const Error& error) {
        result.failure = Failure::Write;
        result.failedName = name;
        result.message = error.message();
        result.detail = error.detail();
        return false;
    }
    result.written << output;
    return true;
}

BmpConversion::Result BmpConversion::run(const QString& folder, const QStringList& names,
                                         const Hooks& hooks) const {
    Result result;
    FileReplacement::removeAbandoned(folderPath(folder));  // what killed conversions left here
    for (const QString& name : names) {
        if (hooks.stopped && hooks.stopped()) {
            result.failure = Failure::Stopped;
            return result;
        }
        if (hooks.starting) hooks.starting(name);
        if (!finish(folder, prepare(folder, name, hooks), hooks, result)) return result;
    }
    return result;
}

QString BmpConversion::overwriteQuestion(const QString& outputName) {
    return QStringLiteral("同名のファイルが存在します。\n") + outputName +
           QStringLiteral("\n上書きしてよろしいですか？");
}

QString BmpConversion::writeErrorMessage() {
    return QStringLiteral("ファイル書き込みエラーが発生しました。\n処理は中断されました。");
}

QString BmpConversion::convertingStatus() { return QStringLiteral("BMP→JPG 変換中"); }

QString BmpConversion::convertingStatus(Source source) {
    if (source == Source::Other) return QStringLiteral("PNG/WebP/AVIF→JPG 変換中");
    return source == Source::Heif ? QStringLiteral("HEIC→JPG 変換中") : convertingStatus();
}

QString BmpConversion::finishedStatus() { return QStringLiteral("変換終了"); }

}  // namespace tessaly
