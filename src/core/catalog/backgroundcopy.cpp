#include "core/catalog/backgroundcopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

#include "core/text/errors.h"
#include "core/text/filecopy.h"
#include "core/text/formatting.h"
#include "core/text/textfile.h"

namespace tessaly {

QString backgroundTargetName(const QString& backgroundFile) {
    const QString name = QFileInfo(backgroundFile).fileName();
    const QString lower = name.toLower();
    if (lower.endsWith(QStringLiteral(".jpg"))) return QStringLiteral("back.jpg");
    if (lower.endsWith(QStringLiteral(".gif"))) return QStringLiteral("back.gif");
    return name;
}

namespace {

// Renames within one file system, replacing an existing target (POSIX rename).
bool replaceFile(const QString& from, const QString& to) {
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

}  // namespace

void installBackground(const QString& backgroundFile, const QString& thumbFolder) {
    const QString folder = folderPath(thumbFolder);
    const QString targetName = backgroundTargetName(backgroundFile);
    const QString target = folder + targetName;
    QTemporaryDir scratch(folder + QStringLiteral(".background-XXXXXX"));
    if (!scratch.isValid()) throw CreateError(cannotCreateMessage(target));
    const QString copy = copyFileToFolder(backgroundFile, scratch.path());
    // Stale copies of an earlier background go; deletes that fail are of no consequence.
    for (const QString& stale : {QStringLiteral("back.jpg"), QStringLiteral("back.gif")}) {
        if (stale != targetName && QFileInfo::exists(folder + stale)) QFile::remove(folder + stale);
    }
    if (!replaceFile(copy, target)) throw CreateError(cannotCreateMessage(target));
}

}  // namespace tessaly
