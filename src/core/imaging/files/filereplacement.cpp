#include "core/imaging/files/filereplacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>

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

// Gives the new file what the model has: owner and group where the user may set them, then
// the mode bits. Without a model the new file gets the usual mode.
bool copyOwnership(int file, const struct stat* model) {
    if (model == nullptr) {
        const mode_t mask = ::umask(022);
        ::umask(mask);
        return ::fchmod(file, 0666 & ~mask) == 0;
    }
    // Only the superuser may give a file away; for anyone else the owner is already theirs
    // and a group they do not belong to stays as it was.
    if (::fchown(file, model->st_uid, model->st_gid) != 0 && errno != EPERM) return false;
    return ::fchmod(file, model->st_mode & 07777) == 0;
}

bool writeAll(int fd, const char* data, qint64 size) {
    while (size > 0) {
        const ssize_t put = ::write(fd, data, size_t(size));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        data += put;
        size -= put;
    }
    return true;
}

}  // namespace

FileReplacement::FileReplacement(const QString& targetPath, Links links) {
    const QFileInfo target(links == Links::Follow ? resolvedTarget(targetPath) : targetPath);
    folder_ = FolderHandle::open(target.absolutePath());
    if (!folder_.isOpen()) throw CreateError(cannotCreateMessage(targetPath));
    name_ = target.fileName();
    targetPath_ = target.filePath();
    start(targetPath, links == Links::Refuse);
}

FileReplacement::FileReplacement(const FolderHandle& folder, const QString& name)
    : folder_(folder), name_(name), targetPath_(folder.filePath(name)) {
    start(targetPath_, true);
}

void FileReplacement::start(const QString& shownTarget, bool refuseLink) {
    if (refuseLink) folder_.refuseLink(name_);
    if (isWriteProtected(targetPath_)) throw CreateError(cannotCreateMessage(shownTarget));
    const int fd = folder_.createFile(QStringLiteral(".tessaly-XXXXXX.tmp"), temporaryName_);
    if (fd < 0) throw CreateError(cannotCreateMessage(shownTarget));
    ::close(fd);
    temporaryPath_ = folder_.filePath(temporaryName_);
}

FileReplacement::~FileReplacement() {
    if (!committed_) discard();
}

int FileReplacement::openTemporary(int flags) const {
    return ::openat(folder_.fd(), local(temporaryName_).constData(),
                    flags | O_NOFOLLOW | O_CLOEXEC);
}

void FileReplacement::write(const QByteArray& data) {
    const int fd = openTemporary(O_WRONLY | O_TRUNC);
    if (fd < 0) fail();
    const bool written = writeAll(fd, data.constData(), data.size());
    if (::close(fd) != 0 || !written) fail();
}

void FileReplacement::copyFrom(const QString& sourcePath) {
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly)) throw IoError(cannotOpenMessage(sourcePath));
    const int fd = openTemporary(O_WRONLY | O_TRUNC);
    if (fd < 0) fail();
    char block[65536];
    bool written = true;
    for (qint64 got = 0; written && (got = source.read(block, sizeof block)) != 0;) {
        if (got < 0) {
            ::close(fd);
            discard();
            temporaryName_.clear();
            throw IoError(cannotOpenMessage(sourcePath));
        }
        written = writeAll(fd, block, got);
    }
    // The copy dates as the original did.
    struct stat info {};
    if (written && ::stat(local(sourcePath).constData(), &info) == 0) {
        const struct timespec times[2] = {info.st_atim, info.st_mtim};
        ::futimens(fd, times);
    }
    if (::close(fd) != 0 || !written) fail();
}

void FileReplacement::prepare(const struct stat* model) {
    const int fd = openTemporary(O_RDONLY);
    if (fd < 0) fail();
    const bool ready = ::fsync(fd) == 0 && copyOwnership(fd, model);
    if (::close(fd) != 0 || !ready) fail();
}

void FileReplacement::commit() {
    struct stat target {};
    const bool exists = ::fstatat(folder_.fd(), local(name_).constData(), &target, 0) == 0;
    prepare(exists ? &target : nullptr);
    if (!folder_.move(temporaryName_, folder_, name_)) fail();
    committed_ = true;
    folder_.sync();
}

bool FileReplacement::commitIfAbsent(const QString& modelPath) {
    struct stat model {};
    const bool haveModel =
        !modelPath.isEmpty() && ::stat(local(modelPath).constData(), &model) == 0;
    prepare(haveModel ? &model : nullptr);
    const int at = folder_.fd();
    const QByteArray from = local(temporaryName_), to = local(name_);
    int moved = ::renameat2(at, from.constData(), at, to.constData(), RENAME_NOREPLACE);
    if (moved != 0 && errno == EINVAL) {
        // No such rename on this file system: a hard link never replaces a name either.
        moved = ::linkat(at, from.constData(), at, to.constData(), 0);
        if (moved == 0) discard();
    }
    if (moved != 0 && errno != EEXIST) fail();
    discard();  // the new content when the name was taken meanwhile; nothing otherwise
    committed_ = true;
    if (moved != 0) return false;
    folder_.sync();
    return true;
}

void FileReplacement::replace(const QString& targetPath, const QByteArray& data, Links links) {
    FileReplacement replacement(targetPath, links);
    replacement.write(data);
    replacement.commit();
}

void FileReplacement::replace(const FolderHandle& folder, const QString& name,
                              const QByteArray& data) {
    FileReplacement replacement(folder, name);
    replacement.write(data);
    replacement.commit();
}

namespace {

bool olderThanADay(const FolderHandle& folder, const QString& name) {
    struct stat info {};
    const qint64 dayAgo = QDateTime::currentSecsSinceEpoch() - 24 * 60 * 60;
    return ::fstatat(folder.fd(), local(name).constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
           info.st_mtime < dayAgo;
}

}  // namespace

void FileReplacement::removeAbandoned(const QString& folder) {
    // Never through a link: the folder a link points to is not ours to clean.
    QString path = folder;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) path.chop(1);
    const QFileInfo info(path);
    if (info.isSymLink()) return;
    try {
        const FolderHandle parent = FolderHandle::open(info.absolutePath());
        if (parent.isOpen())
            removeAbandoned(info.fileName().isEmpty() ? parent
                                                      : parent.sub(info.fileName(), false));
    } catch (const LinkRefusedError&) {
    }
}

void FileReplacement::removeAbandoned(const FolderHandle& folder) {
    static const QRegularExpression ours(QStringLiteral("^\\.tessaly-[A-Za-z0-9]{6}\\.tmp$"));
    static const QRegularExpression work(QStringLiteral("^\\.work-[A-Za-z0-9]{6}$"));
    for (const FolderHandle::Entry& entry : folder.entries()) {
        if (ours.match(entry.name).hasMatch() && entry.type == S_IFREG &&
            olderThanADay(folder, entry.name)) {
            folder.remove(entry.name);
        } else if (work.match(entry.name).hasMatch() && entry.type == S_IFDIR &&
                   olderThanADay(folder, entry.name)) {
            folder.removeTree(entry.name);
        }
    }
}

void FileReplacement::fail() {
    discard();
    temporaryName_.clear();
    throw IoError(cannotWriteMessage(targetPath_));
}

void FileReplacement::discard() noexcept {
    if (!temporaryName_.isEmpty()) folder_.remove(temporaryName_);
}

}  // namespace tessaly
