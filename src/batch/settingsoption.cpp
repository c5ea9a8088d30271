#include "batch/settingsoption.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "core/text/errors.h"

namespace tessaly::batch {

CatalogSettings readSettingsOption(const QString& given) {
    const QString appFolder = QCoreApplication::applicationDirPath();
    if (given.isEmpty()) return loadSettings(appFolder, settingsFolderFor(appFolder));
    const QFileInfo info(given);
    if (info.isDir()) {
        if (!QFileInfo::exists(settingsFilePath(given))) {
            std::fprintf(stderr, "tessaly-batch: %s holds no %s: the default settings are used\n",
                         QDir::toNativeSeparators(given).toUtf8().constData(), kSettingsFileName);
        }
        return loadSettings(info.absoluteFilePath());
    }
    if (!info.exists()) throw IoError(QStringLiteral("settings file not found: ") + given);
    // Read where it is, and named in every message as given.
    CatalogSettings settings = loadSettingsFile(given);
    settings.appFolder = appFolder;
    return settings;
}

}  // namespace tessaly::batch
