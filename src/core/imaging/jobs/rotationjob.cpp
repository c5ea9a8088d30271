#include "core/imaging/jobs/rotationjob.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/imaging/files/filereplacement.h"
#include "core/imaging/files/folderhandle.h"
#include "core/imaging/files/photolock.h"
#include "core/imaging/imagefilemessage.h"
#include "core/imaging/jpeg/jpegimage.h"
#include "core/imaging/jpeg/losslessturn.h"
#include "core/imaging/metadata/exifblock.h"
#include "core/imaging/reader/photoformats.h"
#include "core/text/errors.h"
#include "core/text/formatting.h"
#include "core/text/textfile.h"

namespace tessaly {

namespace {

const char kBackupFolderName[] = "_backup";

PixelImage widened(const PixelImage& picture) {
    if (picture.pixelFormat() == PixelFormat::Bgr24) return picture;
    PixelImage wide(picture);
    wide.setPixelFormat(PixelFormat::Bgr24);
    return wide;
}

// The turn as a transform of LosslessTurn.
int transformOf(Turn turn) {
    switch (turn) {
        case Turn::Right:
            return 6;
        case Turn::Left:
            return 8;
        case Turn::Half:
            return 3;
        case Turn::None:
            break;
    }
    return 1;
}

// The EXIF block of a photograph turned by the transform, and what it could not keep.
void makeUpright(QByteArray& exif, int transform, const QString& name, QStringList* warnings) {
    const ExifBlock block(exif);
    const ExifBlock::Upright upright = block.madeUpright(transform >= 5, transform != 1);
    exif = upright.payload;
    if (!warnings) return;
    if (upright.leftOut) {
        *warnings << RotationJob::exifLeftOutMessage(name, block.taken().isValid());
    }
    if (!upright.unchanged.isEmpty()) {
        *warnings << RotationJob::exifUnchangedMessage(name, upright.unchanged);
    }
}

// The segments of the original as the turned file carries them (see RotationJob::rotateFile).
JpegSegments keptSegments(const JpegSegments& original, int transform, bool reencoded,
                          const QString& name, QStringList* warnings) {
    const QByteArray profile = original.iccProfile();
    const bool profileFits = !reencoded || profile.isEmpty() || profile.mid(16, 4) == "RGB ";
    JpegSegments kept;
    for (JpegSegment segment : original.list) {
        if (reencoded && segment.marker == JpegSegments::kApp14 &&
            JpegSegments::describesCoding(segment)) {
            continue;
        }
        if (!profileFits && JpegSegments::isIccChunk(segment)) continue;
        if (segment.marker == JpegSegments::kApp1 &&
            segment.data.startsWith(QByteArray("Exif\0\0", 6))) {
            makeUpright(segment.data, transform, name, warnings);
            if (segment.data.isEmpty()) continue;
        }
        kept.list.push_back(segment);
    }
    return kept;
}

// Runs one step of rotateFile, telling the caller which one it was.
template <typename Work>
auto inStep(RotationJob::Step* step, RotationJob::Step current, Work work) {
    if (step) *step = current;
    return work();
}

}  // namespace

RotationJob::RotationJob(const QString& folder, int quality, bool backup, bool lossless)
    : folder_(folderPath(folder)),
      quality_(qBound(1, quality, 100)),
      backup_(backup),
      lossless_(lossless) {}

bool RotationJob::isRotatableName(const QString& name) { return turnsLosslessly(name); }

PixelImage RotationJob::loadPhotograph(const QString& path) {
    return decodePhotograph(path, JpegImage::readFile(path));
}

PixelImage RotationJob::decodePhotograph(const QString& path, const QByteArray& data) {
    JpegImage jpeg;
    try {
        jpeg.loadFromData(data);
    } catch (const JpegError& error) {
        throw jpegFileError(path, error);
    }
    // Grey or black where data was missing: saving that would destroy the photograph.
    if (jpeg.isDamaged()) throw ImageError(damagedMessage(path), jpeg.warnings().value(0));
    return widened(jpeg.picture());
}

PixelImage RotationJob::turned(const PixelImage& picture, Turn turn) {
    const PixelImage source = widened(picture);
    switch (turn) {
        case Turn::Right:
            return rotatedRight(source);
        case Turn::Left:
            return rotatedLeft(source);
        case Turn::Half:
            return rotatedRight(rotatedRight(source));
        case Turn::None:
            break;
    }
    return source;
}

QString RotationJob::backupFolder() const { return folder_ + QLatin1String(kBackupFolderName); }

bool RotationJob::backUp(const QString& name) const {
    if (!backup_) return false;
    const QString folder = backupFolder();
    // Made, or opened when another rotation made it at the same moment, never through a link.
    const FolderHandle backups =
        FolderHandle::open(folder_).sub(QLatin1String(kBackupFolderName), true);
    if (!backups.isOpen()) throw CreateError(cannotCreateMessage(folder));
    if (backups.exists(name)) return false;
    // Written whole under a temporary name and renamed: a kill during the copy never leaves
    // a truncated file standing as the backup, and an existing backup is never replaced.
    FileReplacement replacement(backups, name);
    replacement.copyFrom(filePath(name));
    return replacement.commitIfAbsent(filePath(name));
}

QByteArray RotationJob::turnedFile(const QString& path, Turn turn, bool& lossless,
                                   QStringList* warnings) const {
    const QByteArray data = JpegImage::readFile(path);
    JpegSegments segments;
    int orientation = 1;
    try {
        segments = JpegImage::readSegments(data);
        orientation = JpegImage::readHeader(data).orientation;
    } catch (const JpegError& error) {
        throw jpegFileError(path, error);
    }
    const int transform = LosslessTurn::composed(orientation, transformOf(turn));
    const QString name = QFileInfo(path).fileName();
    lossless = false;
    if (lossless_) {
        const QByteArray coded = LosslessTurn::transformed(data, transform);
        if (!coded.isEmpty()) {
            lossless = true;
            return keptSegments(segments, transform, false, name, warnings).insertedInto(coded);
        }
    }
    JpegImage jpeg;
    jpeg.Assign(turned(decodePhotograph(path, data), turn));
    jpeg.setCompressionQuality(quality_);
    jpeg.setSegments(keptSegments(segments, transform, true, name, warnings));
    return jpeg.saveToData();
}

bool RotationJob::rotateFile(const QString& name, Turn turn, Step* step,
                             QStringList* warnings) const {
    bool lossless = false;
    const QString path = filePath(name);
    inStep(step, Step::Reading, [&] {
        const PhotoLock lock(path);
        QStringList found;
        const QByteArray bytes = turnedFile(path, turn, lossless, &found);
        inStep(step, Step::BackingUp, [&] { return backUp(name); });
        inStep(step, Step::Saving, [&] { FileReplacement::replace(path, bytes); });
        if (warnings) *warnings << found;
    });
    return lossless;
}

QString RotationJob::damagedMessage(const QString& path) {
    return QFileInfo(path).fileName() +
           QStringLiteral(
               ": 画像データが壊れているか途中で切れているため、回転できません。"
               "ファイルは変更していません。");
}

QString RotationJob::notLosslessMessage(const QString& name) {
    return name +
           QStringLiteral(": 無劣化では回転できない大きさの画像のため、圧縮し直して保存しました。");
}

QString RotationJob::exifLeftOutMessage(const QString& name, bool withDate) {
    return name + QStringLiteral(": EXIF 情報は壊れていて直せないため外しました") +
           (withDate ? QStringLiteral("（撮影日時も失われます）。") : QStringLiteral("。"));
}

QString RotationJob::exifUnchangedMessage(const QString& name, const QStringList& fields) {
    return name + QStringLiteral(": EXIF の ") + fields.join(QStringLiteral("、")) +
           QStringLiteral(" は直せず元のまま");
}

QString RotationJob::backupErrorMessage() {
    return QStringLiteral("バックアップファイルの書き込みでエラーが発生しました。");
}

QString RotationJob::saveErrorMessage() {
    return QStringLiteral("ファイルの書き込みでエラーが発生しました。");
}

QString RotationJob::noFileMessage() { return QStringLiteral("ファイルが選択されていません。"); }

}  // namespace tessaly
