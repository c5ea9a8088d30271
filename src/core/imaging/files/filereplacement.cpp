#include "core/imaging/files/filereplacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <cerrno>
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

QByteArray local(const QString& path) { return QFile::encodeName(path); }

bool syncPath(const QByteArray& path, int flags) {
    const int fd = ::open(path.constData(), flags | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

// The folder entry of a rename reaches the disk too; a file system that cannot sync a
// folder is no reason to fail.
void syncFolderOf(const QString& path) {
    syncPath(local(QFileInfo(path).absolutePath()), O_RDONLY | O_DIRECTORY);
}

// Gives the new file what the model file has: owner and group where the user may set them,
// then the mode bits. Without a model the new file gets the usual mode.
bool copyOwnership(const QByteArray& file, const QString& model) {
    struct stat info {};
    if (model.isEmpty() || ::stat(local(model).constData(), &info) != 0) {
        const mode_t mask = ::umask(022);
        ::umask(mask);
        return ::chmod(file.constData(), 0666 & ~mask) == 0;
    }
    // Only the superuser may give a file away; for anyone else the owner is already theirs
    // and a group they do not belong to stays as it was.
    if (::chown(file.constData(), info.st_uid, info.st_gid) != 0 && errno != EPERM) return false;
    return ::chmod(file.constData(), info.st_mode & 07777) == 0;
}

}  // namespace

FileReplacement::FileReplacement(const QString& targetPath)
    : targetPath_(resolvedTarget(targetPath)) {
    if (isWriteProtected(targetPath_)) throw CreateError(cannotCreateMessage(targetPath));
    QTemporaryFile temporary(QFileInfo(targetPath_).absolutePath() +
                             QStringLiteral("/.tessaly-XXXXXX.tmp"));
    temporary.setAutoRemove(false);
    if (!temporary.open()) throw CreateError(cannotCreateMessage(targetPath));
    temporaryPath_ = temporary.fileName();
    temporary.close();
}

FileReplacement::~FileReplacement() {
    if (!committed_) discard();
}

void FileReplacement::write(const QByteArray& data) {
    QFile file(temporaryPath_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data) != data.size() ||
        !file.flush()) {
        fail();
    }
    file.close();
    if (file.error() != QFileDevice::NoError) fail();
}

void FileReplacement::copyFrom(const QString& sourcePath) {
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly)) throw IoError(cannotOpenMessage(sourcePath));
    QFile file(temporaryPath_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) fail();
    char block[65536];
    for (;;) {
        const qint64 got = source.read(block, sizeof block);
        if (got < 0) {
            file.close();
            discard();
            temporaryPath_.clear();
            throw IoError(cannotOpenMessage(sourcePath));
        }
        if (got == 0) break;
        if (file.write(block, got) != got) fail();
    }
    if (!file.flush()) fail();
    file.close();
    if (file.error() != QFileDevice::NoError) fail();
    // The copy dates as the original did.
    struct stat info {};
    if (::stat(local(sourcePath).constData(), &info) == 0) {
        const struct timespec times[2] = {info.st_atim, info.st_mtim};
        ::utimensat(AT_FDCWD, local(temporaryPath_).constData(), times, 0);
    }
}

void FileReplacement::prepare(const QString& modelPath) {
    const QByteArray temporary = local(temporaryPath_);
    if (!syncPath(temporary, O_RDONLY) || !copyOwnership(temporary, modelPath)) fail();
}

void FileReplacement::commit() {
    prepare(QFileInfo::exists(targetPath_) ? targetPath_ : QString());
    if (std::rename(local(temporaryPath_).constData(), local(targetPath_).constData()) != 0) {
        fail();
    }
    committed_ = true;
    syncFolderOf(targetPath_);
}

bool FileReplacement::commitIfAbsent(const QString& modelPath) {
    prepare(modelPath);
    const QByteArray from = local(temporaryPath_), to = local(targetPath_);
    int moved = ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE);
    if (moved != 0 && errno == EINVAL) {
        // No such rename on this file system: a hard link never replaces a name either.
        moved = ::link(from.constData(), to.constData());
        if (moved == 0) discard();
    }
    if (moved != 0 && errno != EEXIST) fail();
    discard();  // the new content when the name was taken meanwhile; nothing otherwise
    committed_ = true;
    if (moved != 0) return false;
    syncFolderOf(targetPath_);
    return true;
}

void FileReplacement::replace(const QString& targetPath, const QByteArray& data) {
    FileReplacement replacement(targetPath);
    replacement.write(data);
    replacement.commit();
}

void FileReplacement::removeAbandoned(const QString& folder) {
    static const QRegularExpression ours(QStringLiteral("^\\.tessaly-[A-Za-z0-9]{6}\\.tmp$"));
    const QDir dir(folder);
    const QStringList names = dir.entryList({QStringLiteral(".tessaly-*.tmp")},
                                            QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    const qint64 dayAgo = QDateTime::currentSecsSinceEpoch() - 24 * 60 * 60;
    for (const QString& name : names) {
        const QString path = dir.filePath(name);
        struct stat info {};
        if (!ours.match(name).hasMatch() || ::lstat(local(path).constData(), &info) != 0 ||
            !S_ISREG(info.st_mode)) {
            continue;
        }
        if (info.st_mtime < dayAgo) ::unlink(local(path).constData());
    }
}

void FileReplacement::fail() {
    discard();
    temporaryPath_.clear();
    throw IoError(cannotWriteMessage(targetPath_));
}

void FileReplacement::discard() noexcept {
    if (!temporaryPath_.isEmpty()) QFile::remove(temporaryPath_);
}

}  // namespace tessaly
