#include "gui/options/storabletext.h"

#include <QDir>
#include <QFileInfo>

#include "core/text/errors.h"
#include "core/text/sjis.h"

namespace tessaly {

QString StorableText::problem(const QString& text, bool exact) {
    try {
        if (exact) {
            sjis::requireExact(text);
        } else {
            sjis::encode(text, sjis::Unmappable::Refuse);
        }
    } catch (const EncodingError& error) {
        return error.message();
    }
    return QString();
}

QString StorableText::nearestStorableFolder(const QString& folder) {
    if (problem(folder, true).isEmpty()) return folder;
    QString path = QDir::cleanPath(folder);
    while (!problem(path, true).isEmpty()) {
        const QString parent = QFileInfo(path).path();
        if (parent == path || parent == QLatin1String(".")) return QString();
        path = parent;
    }
    return path;
}

QString StorableText::refusal(const QString& fieldName, const QString& problem) {
    return QStringLiteral("「%1」の設定を保存できません。\n%2").arg(fieldName, problem);
}

}  // namespace tessaly
