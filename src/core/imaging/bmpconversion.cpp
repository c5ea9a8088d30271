#include "core/imaging/bmpconversion.h"

#include <QFile>
#include <QFileInfo>

#include "core/imaging/filereplacement.h"
#include "core/imaging/heifimage.h"
#include "core/imaging/jpegimage.h"
#include "core/imaging/photometadata.h"
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
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return false;
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
    if (source_ == Source::Any) {
        QByteArray head;
        const bool readable = readHead(path, head);
        heif = HeifImage::looksLikeHeif(head);
        if (readable && !heif && !head.startsWith("BM")) {
            throw ImageError(QFileInfo(path).fileName() +
                             QStringLiteral(": BMP でも HEIC/HEIF でもないため変換できません"
                                            "（No BMP header or HEIF 'ftyp' box）"));
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

PixelImage BmpConversion::load(const QString& path) {
    PixelImage picture;
    picture.loadFromFile(path);
    return picture;
}

void BmpConversion::write(const PixelImage& picture, const QString& path, const QByteArray& exif,
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
    FileReplacement::replace(path, jpeg.saveToData());
}

BmpConversion::Result BmpConversion::run(const QString& folder, const QStringList& names,
                                         const Hooks& hooks) const {
    Result result;
    const QString base = folderPath(folder);
    FileReplacement::removeAbandoned(base);  // what killed conversions left here
    for (const QString& name : names) {
        if (hooks.starting) hooks.starting(name);
        Photo photo;
        try {
            photo = loadPhoto(base + name);
        } catch (const Error& error) {
            result.failure = Failure::Read;
            result.failedName = name;
            result.message = error.message();
            return result;
        }
        if (hooks.loaded) hooks.loaded(photo.picture);
        const QString output = source_ == Source::Bmp ? outputName(name) : heifOutputName(name);
        if (QFileInfo(base + output) == QFileInfo(base + name)) {
            result.skipped << output;  // never written over its own source
            continue;
        }
        if (QFileInfo::exists(base + output) && !(hooks.overwrite && hooks.overwrite(output))) {
            result.skipped << output;
            continue;
        }
        try {
            write(photo.picture, base + output, photo.exif, photo.iccProfile);
        } catch (const Error& error) {
            result.failure = Failure::Write;
            result.failedName = name;
            result.message = error.message();
            return result;
        }
        result.written << output;
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
    return source == Source::Heif ? QStringLiteral("HEIC→JPG 変換中") : convertingStatus();
}

QString BmpConversion::finishedStatus() { return QStringLiteral("変換終了"); }

}  // namespace tessaly
