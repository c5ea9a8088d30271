#include "core/text/textfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <cerrno>

#include "core/text/errors.h"

namespace tessaly {

QString cannotCreateMessage(const QString& path) {
    return QStringLiteral("ﾌｧｲﾙ %1 を作成できません").arg(QDir::toNativeSeparators(path));
}

QString cannotWriteMessage(const QString& path) {
    return QStringLiteral("ファイル %1 に書き込めません。").arg(QDir::toNativeSeparators(path));
}

QString cannotOpenMessage(const QString& path) {
    return QStringLiteral("ﾌｧｲﾙ %1 は開けません").arg(QDir::toNativeSeparators(path));
}

bool isRegularFile(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

QString unreadableMessage(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) == 0 && !S_ISREG(info.st_mode)) {
        return QStringLiteral("%1 は通常のファイルではないため開けません")
            .arg(QDir::toNativeSeparators(path));
    }
    return cannotOpenMessage(path);
}

bool isWriteProtected(const QString& path) {
    const QByteArray local = QFile::encodeName(path);
    return ::faccessat(AT_FDCWD, local.constData(), W_OK, AT_EACCESS) != 0 && errno != ENOENT;
}

TextFileWriter::TextFileWriter(const QString& path, sjis::Unmappable unmappable, Replace replace,
                               const QString& shownPath)
    : path_(path), shownPath_(shownPath.isEmpty() ? path : shownPath), unmappable_(unmappable) {
    bool ok;
    if (replace == Replace::Atomic) {
        if (isWriteProtected(path)) throw CreateError(cannotCreateMessage(shownPath_));
        atomic_ = std::make_unique<QSaveFile>(path);
        ok = atomic_->open(QIODevice::WriteOnly);
    } else {
        direct_ = std::make_unique<QFile>(path);
        ok = direct_->open(QIODevice::WriteOnly | QIODevice::Truncate);
    }
    if (!ok) {
        throw CreateError(cannotCreateMessage(shownPath_));
    }
}

TextFileWriter::~TextFileWriter() {
    if (atomic_) {
        atomic_->cancelWriting();  // never committed: the old file stays
    }
}

bool TextFileWriter::isOpen() const { return atomic_ ? atomic_->isOpen() : direct_->isOpen(); }

void TextFileWriter::fail() const { throw IoError(cannotWriteMessage(shownPath_)); }

void TextFileWriter::writeLine(const QString& line) {
    QByteArray bytes = sjis::encode(line, unmappable_);
    bytes.append("\r\n", 2);
    QIODevice* device = atomic_ ? static_cast<QIODevice*>(atomic_.get()) : direct_.get();
    if (!device->isOpen() || device->write(bytes) != bytes.size()) {
        fail();
    }
}

void TextFileWriter::close() {
    if (atomic_) {
        // commit() alone does not notice buffered data that could not be written.
        if (atomic_->isOpen() && (!atomic_->flush() || !atomic_->commit())) {
            fail();
        }
        return;
    }
    if (!direct_->isOpen()) return;
    bool flushed = direct_->flush();
    direct_->close();
    if (!flushed || direct_->error() != QFileDevice::NoError) {
        fail();
    }
}

TextFileReader::TextFileReader(const QString& path) : file_(path) {
    if (!file_.open(QIODevice::ReadOnly)) {
        throw IoError(cannotOpenMessage(path));
    }
}

QString TextFileReader::readLine() {
    if (file_.atEnd()) return QString();
    QByteArray line = file_.readLine();
    if (line.endsWith('\n')) line.chop(1);
    if (line.endsWith('\r')) line.chop(1);
    return sjis::decode(line);
}

bool TextFileReader::atEnd() const { return file_.atEnd(); }

}  // namespace tessaly
