#include "core/text/filecopy.h"

#include <QFile>
#include <QFileInfo>

#include "core/text/errors.h"
#include "core/text/formatting.h"
#include "core/text/textfile.h"

namespace tessaly {

QString copyFileToFolder(const QString& sourcePath, const QString& folder) {
    const QString target = folderPath(folder) + QFileInfo(sourcePath).fileName();
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly)) {
        throw IoError(cannotOpenMessage(sourcePath));
    }
    if (QFileInfo(target).canonicalFilePath() == QFileInfo(sourcePath).canonicalFilePath()) {
        return target;  // already there: truncating the target would destroy the source
    }
    QFile copy(target);
    if (!copy.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw CreateError(cannotCreateMessage(target));
    }
    char block[8192];
    for (;;) {
        const qint64 got = source.read(block, sizeof block);
        if (got < 0) throw IoError(cannotOpenMessage(sourcePath));
        if (got == 0) break;
        if (copy.write(block, got) != got) throw CreateError(cannotCreateMessage(target));
    }
    // A copy that could not be completed, also one whose closing failed, is not a copy: the
    // rotation relies on it as the backup before the photograph is replaced.
    const bool flushed = copy.flush();
    copy.close();
    if (!flushed || copy.error() != QFileDevice::NoError) {
        throw CreateError(cannotCreateMessage(target));
    }
    return target;
}

}  // namespace tessaly
