#include "core/settings/catalogsettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/text/errors.h"
#include "core/text/formatting.h"
#include "core/text/sjis.h"
#include "core/text/textfile.h"

namespace tessaly {

const char* const kSettingsFileName = "Quorvel.ini";
const qint64 kMaxSettingsFileBytes = qint64(1) << 20;

namespace {

const int kTagLength = 11;  // "Quorvel Ver"

// Decimal number with "." as separator; nothing when the text is not one.
bool parseVersion(const QString& text, double& out) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (ok) out = value;
    return ok;
}

// Whether a file of this version holds a row: compared with a small tolerance so that "1.6"
// and "1.60" both hold the rows of 1.6.
bool holds(double version, const SettingRow& row) { return version + 1e-9 >= row.since; }

// A settings file that is no text of ours: too large to be one, empty, or holding bytes that
// no text line holds (a binary file copied over it). Read as lines, it would give empty or
// garbled names that fail later as write errors.
void checkSettingsFile(const QString& path) {
    const auto fail = [&path](const QString& reason) {
        throw SettingsError(
            QStringLiteral("設定ファイル %1 は%2ため読み込めません。\n"
                           "オプション画面で設定し直すか、ファイルを削除してください。")
                .arg(QDir::toNativeSeparators(path), reason));
    };
    QFile file(path);
    if (file.size() > kMaxSettingsFileBytes) fail(QStringLiteral("大きすぎる（1 MB を超える）"));
    if (!file.open(QIODevice::ReadOnly)) throw IoError(cannotOpenMessage(path));
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty()) fail(QStringLiteral("空の"));
    for (const char c : bytes) {
        const unsigned char u = static_cast<unsigned char>(c);
        if ((u < 0x20 && u != '\t' && u != '\r' && u != '\n') || u == 0x7F) {
            fail(QStringLiteral("テキストでないデータを含む"));
        }
    }
}

}  // namespace

CatalogSettings::CatalogSettings() {
    for (const SettingRow& row : settingRows()) {
        row.setValueText(*this, QString::fromUtf8(row.defaultValue));
    }
}

bool CatalogSettings::operator==(const CatalogSettings& other) const {
    for (const SettingRow& row : settingRows()) {
        if (row.valueText(*this) != row.valueText(other)) return false;
    }
    return appFolder == other.appFolder && settingsFolder == other.settingsFolder &&
           version == other.version;
}

bool CatalogSettings::modernPages() const { return pageStyle == QLatin1String("modern"); }

QString CatalogSettings::configFolder() const {
    return settingsFolder.isEmpty() ? appFolder : settingsFolder;
}

QString CatalogSettings::homeFolder() const {
    return configFolder() == appFolder ? appFolder : QDir::homePath();
}

QString settingsFilePath(const QString& appFolder) {
    return folderPath(appFolder) + QLatin1String(kSettingsFileName);
}

QString userSettingsFolder() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base)) base = QDir::homePath() + "/.config";
    return QDir::cleanPath(base + QStringLiteral("/tessaly"));
}

QString settingsFolderFor(const QString& programFolder) {
    if (QFileInfo(settingsFilePath(programFolder)).isFile()) return programFolder;
    return userSettingsFolder();
}

int settingInt(const QString& text, int fallback) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : fallback;
}

CatalogSettings loadSettingsFile(const QString& path) {
    CatalogSettings settings;
    const QFileInfo info(path);
    if (!info.exists()) return settings;
    if (!info.isFile()) {
        throw SettingsError(QStringLiteral("設定ファイル %1 はファイルではないため読み込めません。")
                                .arg(QDir::toNativeSeparators(path)));
    }
    checkSettingsFile(path);

    TextFileReader reader(path);
    double version = 0;
    if (!parseVersion(reader.readLine().mid(kTagLength), version)) {
        version = settings.version.toDouble();  // an unreadable version: take the file as current
    }
    for (const SettingRow& row : settingRows()) {
        if (row.appended) continue;
        if (!holds(version, row)) return settings;
        reader.readLine();  // key line, never examined
        row.setValueText(settings, reader.readLine());
    }
    // The lines added after the last block, each found by its key: a file holds those that
    // were set when it was written.
    for (QString key = reader.readLine(); !key.isEmpty(); key = reader.readLine()) {
        const QString value = reader.readLine();
        for (const SettingRow& row : settingRows()) {
            if (row.appended && key == QString::fromUtf8(row.key))
                row.setValueText(settings, value);
        }
    }
    return settings;
}

CatalogSettings loadSettings(const QString& appFolder) {
    CatalogSettings settings = loadSettingsFile(settingsFilePath(appFolder));
    settings.appFolder = appFolder;
    return settings;
}

CatalogSettings loadSettings(const QString& appFolder, const QString& settingsFolder) {
    CatalogSettings settings = loadSettings(settingsFolder);
    settings.appFolder = appFolder;
    if (settingsFolder != appFolder) settings.settingsFolder = settingsFolder;
    return settings;
}

void saveSetting(const CatalogSettings& settings, QString CatalogSettings::*field) {
    CatalogSettings stored = loadSettings(settings.appFolder, settings.configFolder());
    stored.*field = settings.*field;
    saveSettings(stored);
}

void saveSettings(const CatalogSettings& settings) {
    // Paths and names must read back exactly, or they would name other files next time.
    for (const SettingRow& row : settingRows()) {
        if (row.exact) sjis::requireExact(row.valueText(settings));
    }
    // The user's settings folder is made on the first save, as the file itself is.
    if (!settings.settingsFolder.isEmpty()) QDir().mkpath(settings.settingsFolder);
    TextFileWriter writer(settingsFilePath(settings.configFolder()), sjis::Unmappable::Refuse,
                          TextFileWriter::Replace::Atomic);
    writer.writeLine(QStringLiteral("Quorvel Ver") + settings.version);
    for (const SettingRow& row : settingRows()) {
        if (row.appended && row.valueText(settings).isEmpty()) continue;
        writer.writeLine(QString::fromUtf8(row.key));
        writer.writeLine(row.valueText(settings));
    }
    writer.close();
}

}  // namespace tessaly
