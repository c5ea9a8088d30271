#include "core/imaging/files/filereplacement.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>

#include "core/text/errors.h"
#include "core/text/textfile.h"

namespace tessaly {

namespace {

// The file the name finally stands for, at the end of its chain of symbolic links: renaming
// over a link would replace the link instead of the photograph it points to. A chain longer
// than the system follows is left as it is (writing through it fails).
QString resolvedTarget(const QString& path) {
    QString current = path;
    for (int depth = 0; depth < 40; ++depth) {
        const QFileInfo info(current);
        if (!info.isSymLink()) return current;
        const QString target = info.symLinkTarget();
        if (target.isEmpty()) return current;
        current = target;
    }
    return path;
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

namespace {

// A folder opened only when the path itself is a folder, not a link to one.
int openRealFolder(int at, const QByteArray& path) {
    return ::openat(at, path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// The names a folder holds, "." and ".." left out; takes the descriptor.
QList<QByteArray> namesIn(int folder) {
    QList<QByteArray> names;
    DIR* dir = ::fdopendir(folder);
    if (dir == nullptr) {
        ::close(folder);
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..") names << name;
    }
    ::closedir(dir);
    return names;
}

bool olderThanADay(int at, const QByteArray& name, mode_t type) {
    struct stat info {};
    const qint64 dayAgo = QDateTime::currentSecsSinceEpoch() - 24 * 60 * 60;
    return ::fstatat(at, name.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
           (info.st_mode & S_IFMT) == type && info.st_mtime < dayAgo;
}

// A work folder of a killed catalogue run: the thumbnails it held, then the folder itself.
void removeWorkFolder(int at, const QByteArray& name) {
    static const QRegularExpression thumbnail(QStringLiteral("^[0-9]+\\.jpg$"));
    const int folder = openRealFolder(at, name);
    if (folder < 0) return;
    const int scan = ::dup(folder);
    for (const QByteArray& inside : scan < 0 ? QList<QByteArray>() : namesIn(scan)) {
        if (thumbnail.match(QString::fromLatin1(inside)).hasMatch() &&
            olderThanADay(folder, inside, S_IFREG)) {
            ::unlinkat(folder, inside.constData(), 0);
        }
    }
    ::close(folder);
    ::unlinkat(at, name.constData(), AT_REMOVEDIR);  // kept when anything else is in it
}

}  // namespace

void FileReplacement::removeAbandoned(const QString& folder) {
    static const QRegularExpression ours(QStringLiteral("^\\.tessaly-[A-Za-z0-9]{6}\\.tmp$"));
    static const QRegularExpression work(QStringLiteral("^\\.work-[A-Za-z0-9]{6}$"));
    QString path = folder;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) path.chop(1);
    // Never through a link: the folder a link points to is not ours to clean.
    const int dir = openRealFolder(AT_FDCWD, local(path));
    if (dir < 0) return;
    const int scan = ::dup(dir);
    for (const QByteArray& name : scan < 0 ? QList<QByteArray>() : namesIn(scan)) {
        const QString text = QString::fromLatin1(name);
        if (ours.match(text).hasMatch() && olderThanADay(dir, name, S_IFREG)) {
            ::unlinkat(dir, name.constData(), 0);
        } else if (work.match(text).hasMatch() && olderThanADay(dir, name, S_IFDIR)) {
            removeWorkFolder(dir, name);
        }
    }
    ::close(dir);
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
