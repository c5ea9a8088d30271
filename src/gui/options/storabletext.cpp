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

const std::vector<StorableText::Field>& StorableText::fields() {
    static const std::vector<Field> list = {
        {"Edit1", "起動フォルダ", true},
        {"Edit2", "背景の画像ファイル", true},
        {"Edit6", "ブラウザ", true},
        {"Edit3", "外部ビュアー", true},
        {"htmlfilebox", "作成するＨＴＭＬファイル名", true},
        {"htmlfoldabox", "サムネイル画像を作成するフォルダ名", true},
        {"s_headerbox", "サムネイル画像のファイル名に付加する文字列", true},
        {"headertext", "ヘッダーのコメント", false},
        {"footertext", "フッターのコメント", false},
        {"footerlink", "フッターのURL", false},
    };
    return list;
}

QString StorableText::fieldName(const QString& control) {
    for (const Field& field : fields()) {
        if (control == QLatin1String(field.control)) return QString::fromUtf8(field.name);
    }
    return QString();
}

}  // namespace tessaly
