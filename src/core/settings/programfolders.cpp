#include "core/settings/programfolders.h"

#include <QDir>
#include <QFileInfo>

namespace tessaly {
namespace {

// The thumbnail folder that holds a folder named "web" or "2x": one of the name in the
// settings, or with thumbnails beside the photographs (no folder name) the photo folder
// itself, known by its catalogue page.
bool isThumbnailFolder(const QFileInfo& folder, const CatalogSettings& settings) {
    if (!settings.thumbFolderName.isEmpty()) return folder.fileName() == settings.thumbFolderName;
    return !settings.htmlFileName.isEmpty() &&
           QFileInfo(folder.filePath() + QLatin1Char('/') + settings.htmlFileName).isFile();
}

}  // namespace

ProgramFolder programFolderOf(const QString& path, const CatalogSettings& settings) {
    const QFileInfo folder(QDir::cleanPath(path));
    const QString name = folder.fileName();
    if (name.isEmpty()) return ProgramFolder::None;
    if (name == settings.thumbFolderName) return ProgramFolder::Thumbnails;
    if (name == QLatin1String("_backup")) return ProgramFolder::Backups;
    const bool web = name == QLatin1String("web");
    if (!web && name != QLatin1String("2x")) return ProgramFolder::None;
    if (!isThumbnailFolder(QFileInfo(folder.path()), settings)) return ProgramFolder::None;
    return web ? ProgramFolder::WebCopies : ProgramFolder::DoubleThumbnails;
}

QString programFolderMessage(const QString& path, const CatalogSettings& settings) {
    QString what;
    switch (programFolderOf(path, settings)) {
        case ProgramFolder::None:
            return QString();
        case ProgramFolder::Thumbnails:
            what = QStringLiteral("カタログのサムネイルを置くフォルダ");
            break;
        case ProgramFolder::Backups:
            what = QStringLiteral("回転する前の画像を残すバックアップのフォルダ");
            break;
        case ProgramFolder::WebCopies:
            what = QStringLiteral("公開用のコピーを置くフォルダ");
            break;
        case ProgramFolder::DoubleThumbnails:
            what = QStringLiteral("高精細な画面用のサムネイルを置くフォルダ");
            break;
    }
    return QStringLiteral(
               "このフォルダにはカタログを作りません。\n"
               "「%1」は Tessaly が%2です。\n写真のあるフォルダを開いてください。")
        .arg(QFileInfo(QDir::cleanPath(path)).fileName(), what);
}

}  // namespace tessaly
