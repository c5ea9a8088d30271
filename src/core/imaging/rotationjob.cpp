#include "core/imaging/rotationjob.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/imaging/filereplacement.h"
#include "core/imaging/jpegimage.h"
#include "core/imaging/photolock.h"
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

}  // namespace

RotationJob::RotationJob(const QString& folder, int quality, bool backup)
    : folder_(folderPath(folder)), quality_(qBound(1, quality, 100)), backup_(backup) {}

bool RotationJob::isRotatableName(const QString& name) {
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 && name.mid(dot).toLower() == QStringLiteral(".jpg");
}

PixelImage RotationJob::loadPhotograph(const QString& path) {
    JpegImage jpeg;
    jpeg.loadFromFile(path);
    // Grey or black where data was missing: saving that would destroy the photograph.
    if (jpeg.isDamaged()) throw ImageError(damagedMessage(path, jpeg.warnings().value(0)));
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
            break;
    }
    return rotatedRight(rotatedRight(source));
}

QString RotationJob::backupFolder() const { return folder_ + QLatin1String(kBackupFolderName); }

bool RotationJob::backUp(const QString& name) const {
    if (!backup_) return false;
    const QString folder = backupFolder();
    // Another rotation may make the folder at the same moment: one that is there is fine.
    if (!QDir().mkdir(folder) && !QFileInfo(folder).isDir()) {
        throw CreateError(cannotCreateMessage(folder));
    }
    const QString copy = folderPath(folder) + name;
    if (QFileInfo::exists(copy) || QFileInfo(copy).isSymLink()) return false;
    // Written whole under a temporary name and renamed: a kill during the copy never leaves
    // a truncated file standing as the backup, and an existing backup is never replaced.
    FileReplacement replacement(copy);
    replacement.copyFrom(filePath(name));
    return replacement.commitIfAbsent(filePath(name));
}

void RotationJob::save(const PixelImage& picture, const QString& name) const {
    JpegImage jpeg;
    jpeg.Assign(widened(picture));
    jpeg.setCompressionQuality(quality_);
    FileReplacement::replace(filePath(name), jpeg.saveToData());
}

void RotationJob::rotateFile(const QString& name, Turn turn) const {
    const PhotoLock lock(filePath(name));
    const PixelImage picture = turned(loadPhotograph(filePath(name)), turn);
    backUp(name);
    save(picture, name);
}

QString RotationJob::damagedMessage(const QString& path, const QString& detail) {
    QString text = QFileInfo(path).fileName() +
                   QStringLiteral(
                       ": 画像データが壊れているか途中で切れているため、回転できません。"
                       "ファイルは変更していません。");
    if (!detail.isEmpty()) text += QStringLiteral("（") + detail + QStringLiteral("）");
    return text;
}

QString RotationJob::backupErrorMessage() {
    return QStringLiteral("バックアップファイルの書き込みでエラーが発生しました。");
}

QString RotationJob::saveErrorMessage() {
    return QStringLiteral("ファイルの書き込みでエラーが発生しました。");
}

QString RotationJob::noFileMessage() { return QStringLiteral("ファイルが選択されていません。"); }

}  // namespace tessaly
