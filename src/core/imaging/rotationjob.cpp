#include "core/imaging/rotationjob.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/imaging/filereplacement.h"
#include "core/imaging/tjpegimage.h"
#include "core/text/errors.h"
#include "core/text/filecopy.h"
#include "core/text/formatting.h"
#include "core/text/textfile.h"

namespace tessaly {

namespace {

const char kBackupFolderName[] = "_backup";

TNkDIB widened(const TNkDIB& picture) {
    if (picture.PixelFormat() == nk24Bit) return picture;
    TNkDIB wide(picture);
    wide.SetPixelFormat(nk24Bit);
    return wide;
}

}  // namespace

RotationJob::RotationJob(const QString& folder, int quality, bool backup)
    : folder_(folderPath(folder)), quality_(qBound(1, quality, 100)), backup_(backup) {}

bool RotationJob::isRotatableName(const QString& name) {
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 && name.mid(dot).toLower() == QStringLiteral(".jpg");
}

TNkDIB RotationJob::loadPhotograph(const QString& path) {
    TJPEGImage jpeg;
    jpeg.LoadFromFile(path);
    return widened(jpeg.Bitmap());
}

TNkDIB RotationJob::turned(const TNkDIB& picture, Turn turn) {
    const TNkDIB source = widened(picture);
    switch (turn) {
        case Turn::Right:
            return RotateRight(source);
        case Turn::Left:
            return RotateLeft(source);
        case Turn::Half:
            break;
    }
    return RotateRight(RotateRight(source));
}

QString RotationJob::backupFolder() const { return folder_ + QLatin1String(kBackupFolderName); }

bool RotationJob::backUp(const QString& name) const {
    if (!backup_) return false;
    const QString folder = backupFolder();
    if (!QFileInfo(folder).isDir() && !QDir().mkdir(folder)) {
        throw IoError(cannotCreateMessage(folder));
    }
    const QString copy = folderPath(folder) + name;
    if (QFileInfo::exists(copy) || QFileInfo(copy).isSymLink()) return false;
    try {
        CopyFileToFolder(filePath(name), folder);
    } catch (const IoError&) {
        QFile::remove(copy);
        throw;
    }
    return true;
}

void RotationJob::save(const TNkDIB& picture, const QString& name) const {
    TJPEGImage jpeg;
    jpeg.Assign(widened(picture));
    jpeg.SetCompressionQuality(quality_);
    const QByteArray data = jpeg.SaveToData();
    FileReplacement replacement(filePath(name));
    QFile file(replacement.temporaryPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data) != data.size() ||
        !file.flush()) {
        throw IoError(cannotWriteMessage(filePath(name)));
    }
    file.close();
    replacement.commit();
}

void RotationJob::rotateFile(const QString& name, Turn turn) const {
    const TNkDIB picture = turned(loadPhotograph(filePath(name)), turn);
    backUp(name);
    save(picture, name);
}

QString RotationJob::backupErrorMessage() {
    return QStringLiteral("バックアップファイルの書き込みでエラーが発生しました。");
}

QString RotationJob::saveErrorMessage() {
    return QStringLiteral("ファイルの書き込みでエラーが発生しました。");
}

QString RotationJob::noFileMessage() { return QStringLiteral("ファイルが選択されていません。"); }

}  // namespace tessaly
