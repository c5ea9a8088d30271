#include "core/imaging/files/photolock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cerrno>

#include "core/text/errors.h"
#include "core/text/textfile.h"

namespace tessaly {

namespace {

bool sameFile(int fd, const QByteArray& path) {
    struct stat held {
    }, named{};
    return ::fstat(fd, &held) == 0 && ::stat(path.constData(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

}  // namespace

PhotoLock::PhotoLock(const QString& path) {
    const QByteArray local = QFile::encodeName(path);
    // Only a photograph's file is locked: opening a device may act on it.
    if (!isRegularFile(path)) throw IoError(unreadableMessage(path));
    for (int attempt = 0; attempt < 8; ++attempt) {
        // Never blocks on a pipe under a photograph's name.
        const int fd = ::open(local.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
        if (fd < 0) throw IoError(cannotOpenMessage(path));
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const bool busy = errno == EWOULDBLOCK;
            ::close(fd);
            if (busy) throw IoError(busyMessage(path));
            throw IoError(cannotOpenMessage(path));
        }
        if (sameFile(fd, local)) {
            fd_ = fd;
            return;
        }
        ::close(fd);  // replaced by a rotation that has just finished: lock the new file
    }
    throw IoError(busyMessage(path));
}

PhotoLock::~PhotoLock() {
    if (fd_ >= 0) ::close(fd_);
}

QString PhotoLock::busyMessage(const QString& path) {
    return QStringLiteral("%1 は他の回転処理で使用中です。\n終わってからやり直してください。")
        .arg(QDir::toNativeSeparators(path));
}

}  // namespace tessaly
