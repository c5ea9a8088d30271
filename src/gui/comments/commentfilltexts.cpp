#include "gui/comments/commentfilltexts.h"

#include <QFileInfo>
#include <QLocale>
#include <memory>

#include "core/imaging/metadata/capturedetails.h"
#include "core/imaging/reader/photoreader.h"
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

// What the camera recorded: a JPEG's headers, or what the reader of another format finds.
CaptureDetails detailsOf(const QString& path) {
    if (hasJpegExtension(path)) return CaptureDetails::read(path);
    try {
        const std::unique_ptr<PhotoReader> reader = openPhotoReader(path);
        return CaptureDetails{reader->taken(), reader->camera()};
    } catch (const Error&) {
        return CaptureDetails{};
    }
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
    for (const QString& extension : photoExtensions(true)) {
        if (fileName.endsWith(extension, Qt::CaseInsensitive) && extension.size() > 4)
            return charLeft(fileName, charLength(fileName) - int(extension.size()));
    }
    return charLeft(fileName, charLength(fileName) - 4);
}

QString fileDateText(const QString& path) {
    return commentDateText(existingFile(path).lastModified());
}

QString fileSizeText(const QString& path) { return commentSizeText(existingFile(path).size()); }

QString fileCaptureTimeText(const QString& path) {
    const QDateTime taken = detailsOf(path).taken;
    return taken.isValid() ? commentDateText(taken) : QString();
}

QString fileCameraText(const QString& path) { return detailsOf(path).camera; }

}  // namespace tessaly
