#include "core/catalog/backgroundcopy.h"

#include <QFileInfo>

#include "core/imaging/files/workfolder.h"
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

void installBackground(const QString& backgroundFile, const FolderHandle& thumbFolder) {
    const QString targetName = backgroundTargetName(backgroundFile);
    const QString target = thumbFolder.filePath(targetName);
    const WorkFolder scratch(thumbFolder);
    if (!scratch.isValid()) throw CreateError(cannotCreateMessage(target));
    const QString copy = QFileInfo(copyFileToFolder(backgroundFile, scratch.path())).fileName();
    // Stale copies of an earlier background go; deletes that fail are of no consequence.
    for (const QString& stale : {QStringLiteral("back.jpg"), QStringLiteral("back.gif")}) {
        if (stale != targetName && thumbFolder.exists(stale)) thumbFolder.remove(stale);
    }
    if (!scratch.handle().move(copy, thumbFolder, targetName))
        throw CreateError(cannotCreateMessage(target));
}

}  // namespace tessaly
