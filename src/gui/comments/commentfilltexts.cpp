#include "gui/comments/commentfilltexts.h"

#include <QFileInfo>
#include <QLocale>

#include "core/imaging/metadata/capturedetails.h"
#include "core/text/charfuncs.h"
#include "core/text/errors.h"
#include "core/text/formatting.h"
#include "core/text/textfile.h"

namespace tessaly {
namespace {

QFileInfo existingFile(const QString& path) {
    QFileInfo info(path);
    if (!info.exists() || !info.isFile()) throw IoError(cannotOpenMessage(path));
    return info;
}

}  // namespace

QString commentDateText(const QDateTime& modified) {
    return QLocale::c().toString(modified, QStringLiteral("yy/MM/dd"));
}

QString commentSizeText(qint64 bytes) {
    // bytes / 102.4 computed as bytes * 10 / 1024, which a long double holds exactly.
    const long long tenths = roundHalfEven(static_cast<long double>(bytes) * 10 / 1024);
    return QString::number(tenths / 10) + QLatin1Char('.') + QString::number(tenths % 10) +
           QStringLiteral("KB");
}

QString commentNameText(const QString& fileName, bool withoutExtension) {
    if (!withoutExtension) return fileName;
    return charLeft(fileName, charLength(fileName) - 4);
}

QString fileDateText(const QString& path) {
    return commentDateText(existingFile(path).lastModified());
}

QString fileSizeText(const QString& path) { return commentSizeText(existingFile(path).size()); }

QString fileCaptureTimeText(const QString& path) {
    const QDateTime taken = CaptureDetails::read(path).taken;
    return taken.isValid() ? commentDateText(taken) : QString();
}

QString fileCameraText(const QString& path) { return CaptureDetails::read(path).camera; }

}  // namespace tessaly
