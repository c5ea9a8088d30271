#include "core/catalog/copyrecord.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>

#include "core/imaging/files/filereplacement.h"
#include "core/imaging/jobs/webcopy.h"
#include "core/imaging/reader/photoformats.h"

namespace tessaly {

namespace {

constexpr qint64 kLargestRecord = qint64(16) << 20;

QString recordName() { return QLatin1String(WebCopy::kRecordName); }

// A name the record can hold on a line of its own, and that only a web copy can have.
bool recordable(const QString& name) {
    return !name.contains(QLatin1Char('\n')) && !name.contains(QLatin1Char('\r')) &&
           !name.contains(QLatin1Char('/')) && hasJpegExtension(name);
}

}  // namespace

CopyRecord CopyRecord::read(const FolderHandle& web) {
    web.refuseLink(recordName());
    CopyRecord record;
    const int fd = ::openat(web.fd(), QFile::encodeName(recordName()).constData(),
                            O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    QFile file;
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0) ::close(fd);
        return record;
    }
    record.policyLine_ = QString::fromUtf8(file.readLine(256)).trimmed();
    const QList<QByteArray> lines = file.read(kLargestRecord).split('\n');
    for (const QByteArray& line : lines) {
        const QString name = QString::fromUtf8(line);
        if (recordable(name)) record.names_ << name;
    }
    return record;
}

void CopyRecord::write(const FolderHandle& web, const QString& policyLine,
                       const QStringList& names) {
    QByteArray text = policyLine.toUtf8() + '\n';
    for (const QString& name : names) {
        if (recordable(name)) text += name.toUtf8() + '\n';
    }
    FileReplacement::replace(web, recordName(), text);
}

void CopyRecord::removeStale(const FolderHandle& web, const QStringList& kept) const {
    for (const QString& name : names_) {
        if (!kept.contains(name) && web.isRegularFile(name)) web.remove(name);
    }
}

}  // namespace tessaly
