#include "core/imaging/filereplacement.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cstdio>

#include "core/text/errors.h"
#include "core/text/textfile.h"

namespace tessaly {

namespace {

// The file the name finally stands for: renaming over a symbolic link would replace the
// link instead of the photograph it points to.
QString resolvedTarget(const QString& path) {
    const QFileInfo info(path);
    if (!info.isSymLink()) return path;
    const QString target = info.symLinkTarget();
    return target.isEmpty() ? path : target;
}

bool syncFile(const QString& path) {
    const QByteArray local = QFile::encodeName(path);
    const int fd = ::open(local.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

QFileDevice::Permissions newFilePermissions() {
    return QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
           QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther;
}

}  // namespace

FileReplacement::FileReplacement(const QString& targetPath)
    : targetPath_(resolvedTarget(targetPath)) {
    if (isWriteProtected(targetPath_)) throw IoError(cannotCreateMessage(targetPath));
    const QFileInfo info(targetPath_);
    QTemporaryFile temporary(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                             QStringLiteral(".XXXXXX.tmp"));
    temporary.setAutoRemove(false);
    if (!temporary.open()) throw IoError(cannotCreateMessage(targetPath));
    temporaryPath_ = temporary.fileName();
    temporary.close();
}

FileReplacement::~FileReplacement() {
    if (!committed_) discard();
}

void FileReplacement::commit() {
    const QFileInfo target(targetPath_);
    const QFileDevice::Permissions permissions =
        target.exists() ? QFile::permissions(targetPath_) : newFilePermissions();
    const bool ready =
        syncFile(temporaryPath_) && QFile::setPermissions(temporaryPath_, permissions);
    if (!ready || std::rename(QFile::encodeName(temporaryPath_).constData(),
                              QFile::encodeName(targetPath_).constData()) != 0) {
        discard();
        throw IoError(cannotWriteMessage(targetPath_));
    }
    committed_ = true;
}

void FileReplacement::discard() noexcept {
    if (!temporaryPath_.isEmpty()) QFile::remove(temporaryPath_);
}

}  // namespace tessaly
