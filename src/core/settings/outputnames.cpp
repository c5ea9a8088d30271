#include "core/settings/outputnames.h"

#include "core/text/errors.h"

namespace tessaly {

bool isPlainName(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return false;
    return !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           !name.contains(QChar(0));
}

void checkOutputNames(const CatalogSettings& settings) {
    if (!isPlainName(settings.htmlFileName)) {
        throw SettingsError(
            outputNameMessage(QStringLiteral("HTMLファイル名"), settings.htmlFileName));
    }
    if (!settings.thumbFolderName.isEmpty() && !isPlainName(settings.thumbFolderName)) {
        throw SettingsError(outputNameMessage(QStringLiteral("サムネイル画像フォルダ名"),
                                              settings.thumbFolderName));
    }
    if (!settings.thumbPrefix.isEmpty() && !isPlainName(settings.thumbPrefix)) {
        throw SettingsError(outputNameMessage(QStringLiteral("サムネイル画像に付加する文字列"),
                                              settings.thumbPrefix));
    }
}

QString outputNameMessage(const QString& label, const QString& value) {
    QString shown = value;
    shown.replace(QChar(0), QStringLiteral("\\0"));
    return QStringLiteral(
               "設定「%1」の値「%2」は使えません。\n"
               "名前には \"/\"、\"\\\"、NUL 文字を含めず、\".\" や \"..\" "
               "以外の名前にしてください。\n"
               "オプション画面で指定し直してから実行してください。"
               "処理は中断されました。")
        .arg(label, shown);
}

}  // namespace tessaly
