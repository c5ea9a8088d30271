#include "core/imaging/files/folderhandle.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <cerrno>

#include "core/text/errors.h"

namespace tessaly {

namespace {

QByteArray local(const QString& name) { return QFile::encodeName(name); }

int openFolderAt(int at, const QByteArray& name) {
    return ::openat(at, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// The pattern with its trailing X's replaced by letters and digits.
QString randomName(const QString& pattern) {
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString name = pattern;
    int end = int(name.size());
    while (end > 0 && name[end - 1] != QLatin1Char('X')) --end;
    for (int i = end - 1; i >= 0 && name[i] == QLatin1Char('X'); --i) {
        name[i] = QLatin1Char(kLetters[QRandomGenerator::global()->bounded(62)]);
    }
    return name;
}

void closeDescriptor(const int* fd) {
    if (*fd >= 0) ::close(*fd);
    delete fd;
}

}  // namespace

FolderHandle::FolderHandle(int fd, QString path)
    : fd_(new int(fd), closeDescriptor), path_(std::move(path)) {
    while (path_.size() > 1 && path_.endsWith(QLatin1Char('/'))) path_.chop(1);
}

FolderHandle FolderHandle::open(const QString& path) {
    const QString named = path.isEmpty() ? QStringLiteral(".") : path;
    const int fd = ::open(local(named).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return fd < 0 ? FolderHandle() : FolderHandle(fd, named);
}

FolderHandle FolderHandle::sub(const QString& name, bool create) const {
    if (name.isEmpty()) return *this;
    const QByteArray entry = local(name);
    int fd = openFolderAt(fd_ ? *fd_ : -1, entry);
    if (fd < 0 && errno == ENOENT && create) {
        // One made meanwhile by a second run on the same folder is as good as our own.
        if (::mkdirat(*fd_, entry.constData(), 0777) == 0 || errno == EEXIST)
            fd = openFolderAt(*fd_, entry);
    }
    if (fd >= 0) return FolderHandle(fd, filePath(name));
    const int error = errno;
    refuseLink(name);
    errno = error;
    return FolderHandle();
}

QString FolderHandle::filePath(const QString& name) const {
    return path_.endsWith(QLatin1Char('/')) ? path_ + name : path_ + QLatin1Char('/') + name;
}

mode_t FolderHandle::typeOf(const QString& name) const {
    struct stat info {};
    if (!fd_ || ::fstatat(*fd_, local(name).constData(), &info, AT_SYMLINK_NOFOLLOW) != 0) return 0;
    return info.st_mode & S_IFMT;
}

void FolderHandle::refuseLink(const QString& name) const {
    if (isLink(name)) throw LinkRefusedError(linkRefusedMessage(filePath(name)));
}

std::vector<FolderHandle::Entry> FolderHandle::entries() const {
    std::vector<Entry> found;
    const int scan = fd_ ? ::openat(*fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
    DIR* dir = scan < 0 ? nullptr : ::fdopendir(scan);
    if (dir == nullptr) {
        if (scan >= 0) ::close(scan);
        return found;
    }
    while (const dirent* item = ::readdir(dir)) {
        const QByteArray name(item->d_name);
        if (name == "." || name == "..") continue;
        const QString decoded = QFile::decodeName(name);
        found.push_back({decoded, typeOf(decoded)});
    }
    ::closedir(dir);
    return found;
}

bool FolderHandle::remove(const QString& name) const {
    return fd_ && ::unlinkat(*fd_, local(name).constData(), 0) == 0;
}

void FolderHandle::removeTree(const QString& name) const {
    if (!fd_) return;
    const QByteArray entry = local(name);
    const int fd = openFolderAt(*fd_, entry);
    if (fd < 0) {  // a file, or a link: removed itself
        ::unlinkat(*fd_, entry.constData(), 0);
        return;
    }
    const FolderHandle inside(fd, filePath(name));
    for (const Entry& item : inside.entries()) {
        if (item.type == S_IFDIR) {
            inside.removeTree(item.name);
        } else {
            inside.remove(item.name);
        }
    }
    ::unlinkat(*fd_, entry.constData(), AT_REMOVEDIR);
}

bool FolderHandle::move(const QString& from, const FolderHandle& to, const QString& toName) const {
    if (!fd_ || !to.fd_) {
        errno = EBADF;
        return false;
    }
    return ::renameat(*fd_, local(from).constData(), *to.fd_, local(toName).constData()) == 0;
}

QString FolderHandle::makeFolder(const QString& pattern) const {
    for (int attempt = 0; fd_ && attempt < 100; ++attempt) {
        const QString name = randomName(pattern);
        if (::mkdirat(*fd_, local(name).constData(), 0700) == 0) return name;
        if (errno != EEXIST) break;
    }
    if (!fd_) errno = EBADF;
    return QString();
}

int FolderHandle::createFile(const QString& pattern, QString& name) const {
    for (int attempt = 0; fd_ && attempt < 100; ++attempt) {
        name = randomName(pattern);
        const int fd = ::openat(*fd_, local(name).constData(),
                                O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    if (!fd_) errno = EBADF;
    name.clear();
    return -1;
}

void FolderHandle::sync() const {
    if (fd_) ::fsync(*fd_);
}

QString FolderHandle::linkRefusedMessage(const QString& path) {
    return QStringLiteral(
               "%1 はシンボリックリンクのため、その先には書き込みません。\n"
               "処理は中断されました。")
        .arg(QDir::toNativeSeparators(path));
}

}  // namespace tessaly
