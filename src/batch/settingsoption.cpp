#include "batch/settingsoption.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "core/text/errors.h"

namespace tessaly::batch {

CatalogSettings readSettingsOption(const QString& given) {
    const QString appFolder = QCoreApplication::applicationDirPath();
    if (given.isEmpty()) return loadSettings(appFolder, settingsFolderFor(appFolder));
    const QFileInfo info(given);
    if (info.isDir()) return loadSettings(info.absoluteFilePath());
    if (!info.isFile()) throw IoError(QStringLiteral("settings file not found: ") + given);
    if (info.fileName() == QLatin1String(kSettingsFileName)) {
        return loadSettings(info.absolutePath());
    }
    // A file of another name is read through a scratch folder, since loadSettings reads the
    // file of that one name.
    QTemporaryDir scratch;
    if (!scratch.isValid() ||
        !QFile::copy(info.absoluteFilePath(), scratch.filePath(kSettingsFileName))) {
        throw IoError(QStringLiteral("settings file cannot be read: ") + given);
    }
    CatalogSettings settings = loadSettings(scratch.path());
    settings.appFolder = appFolder;
    return settings;
}

}  // namespace tessaly::batch
