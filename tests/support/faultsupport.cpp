#include "support/faultsupport.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QUuid>
#include <cerrno>

#include "core/text/errors.h"

namespace tessaly::test {

SmallDisk::SmallDisk(int kilobytes)
    : path_(QDir::tempPath() + "/tessaly-disk-" + QUuid::createUuid().toString(QUuid::Id128)) {
    if (!QDir().mkpath(path_)) return;
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0777";
    mounted_ = ::mount("tmpfs", QFile::encodeName(path_).constData(), "tmpfs", 0,
                       options.constData()) == 0;
}

SmallDisk::~SmallDisk() {
    if (mounted_) ::umount2(QFile::encodeName(path_).constData(), MNT_DETACH);
    QDir(path_).removeRecursively();
}

void SmallDisk::fill(qint64 leave) const {
    QFile filler(path_ + "/.filler");
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return;
    const QByteArray block(512, 'x');
    while (filler.write(block) == block.size()) {
    }
    filler.close();
    if (leave > 0) filler.resize(std::max<qint64>(0, filler.size() - leave));
}

bool placeFullDevice(const QString& path) {
    const QByteArray local = QFile::encodeName(path);
    const auto failsWithNoSpace = [&local] {
        const int fd = ::open(local.constData(), O_WRONLY | O_CLOEXEC);
        if (fd < 0) return false;
        const bool full = ::write(fd, "x", 1) < 0 && errno == ENOSPC;
        ::close(fd);
        return full;
    };
    if (::mknod(local.constData(), S_IFCHR | 0666, makedev(1, 7)) == 0) {
        if (failsWithNoSpace()) return true;
        ::unlink(local.constData());
    }
    return ::symlink("/dev/full", local.constData()) == 0 && failsWithNoSpace();
}

QString errorOf(const std::function<void()>& body) {
    try {
        body();
    } catch (const Error& error) {
        return error.message().isEmpty() ? QStringLiteral("(empty)") : error.message();
    }
    return QString();
}

}  // namespace tessaly::test
