#include "core/settings/catalogsettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <array>

#include "core/text/errors.h"
#include "core/text/formatting.h"
#include "core/text/sjis.h"
#include "core/text/textfile.h"

namespace tessaly {

const char* const kSettingsFileName = "Quorvel.ini";
const qint64 kMaxSettingsFileBytes = qint64(1) << 20;

namespace {

// The block of the lines appended after the seven blocks of the 1.60 file.
constexpr int kAppendedBlock = 8;

// One stored pair: its key line, the field it fills and the version that introduced it.
struct Pair {
    const char* key;
    QString CatalogSettings::*text;
    int CatalogSettings::*number;
    int block;
};

using S = CatalogSettings;
const std::array<Pair, 43> kPairs = {{
    {"[起動フォルダ]", &S::startFolder, nullptr, 1},
    {"[背景色]", nullptr, &S::backgroundColor, 1},
    {"[背景パターン設定]", &S::useBackgroundImage, nullptr, 1},
    {"[背景ファイル]", &S::backgroundFile, nullptr, 1},
    {"[ブラウザ設定]", &S::browserPath, nullptr, 1},
    {"[外部ビュアー設定]", &S::viewerPath, nullptr, 1},
    {"[表示水平位置]", nullptr, &S::windowLeft, 1},
    {"[表示垂直位置]", nullptr, &S::windowTop, 1},
    {"[画像回転圧縮率]", nullptr, &S::rotateQuality, 1},
    {"[画像回転バックアップ]", &S::rotateBackup, nullptr, 1},
    {"[タイトル文字サイズ]", &S::titleFontSize, nullptr, 1},
    {"[タイトル文字色]", &S::titleColor, nullptr, 1},
    {"[タイトルフォント]", &S::titleFontFace, nullptr, 1},
    {"[タイトルテーブル幅]", &S::titleTableWidth, nullptr, 1},
    {"[タイトル背景色]", &S::titleBackColor, nullptr, 1},
    {"[タイトル斜体文字]", &S::titleItalic, nullptr, 1},
    {"[タイトル太文字]", &S::titleBold, nullptr, 1},
    {"[サムネイル幅]", &S::thumbWidth, nullptr, 2},
    {"[サムネイル高さ]", &S::thumbHeight, nullptr, 2},
    {"[ブラウザ別起動]", &S::openInNewWindow, nullptr, 2},
    {"[javaでウインドウを開く]", &S::useScriptPopup, nullptr, 2},
    {"[スライドショウのHTMLを作成]", &S::makeSlideShow, nullptr, 2},
    {"[スライドショウの間隔]", &S::slideInterval, nullptr, 2},
    {"[サムネイル画像の圧縮率]", &S::thumbQuality, nullptr, 3},
    {"[サムネイル画像のフィルタ]", &S::thumbFilter, nullptr, 3},
    {"[ブラウザ起動チェック]", &S::noBrowserLaunch, nullptr, 3},
    {"[HTMLファイル名]", &S::htmlFileName, nullptr, 4},
    {"[サムネイル画像フォルダ名]", &S::thumbFolderName, nullptr, 4},
    {"[タイトルのフォントを指定する]", &S::titleFontEnabled, nullptr, 5},
    {"[ヘッダーを書き換える]", &S::headerDefault, nullptr, 5},
    {"[ヘッダーのコメント]", &S::headerText, nullptr, 5},
    {"[フッターを書き換える]", &S::footerDefault, nullptr, 5},
    {"[フッターのコメント]", &S::footerText, nullptr, 5},
    {"[フッターでlinkする]", &S::footerLinkEnabled, nullptr, 5},
    {"[フッターのlinkのURL]", &S::footerLinkUrl, nullptr, 5},
    {"[タイトルにテーブルを使用する]", &S::titleUseTable, nullptr, 5},
    {"[サムネイル画像に付加する文字列]", &S::thumbPrefix, nullptr, 6},
    {"[サムネイル画像の有無確認]", &S::skipExistingThumbs, nullptr, 6},
    {"[テーブルの幅]", &S::tableBorder, nullptr, 6},
    {"[スライドショウの最大値を指定]", &S::slideMaxEnabled, nullptr, 7},
    {"[スライドショウの最大値Ｘ]", &S::slideMaxWidth, nullptr, 7},
    {"[スライドショウの最大値Ｙ]", &S::slideMaxHeight, nullptr, 7},
    {"[可能なら無劣化で回転]", &S::rotateLossless, nullptr, kAppendedBlock},
}};

// Version number from which each block is present, blocks 1 to 7; the appended block is read
// from 1.6 files too, as far as the file goes (one written before it ends after block 7).
const std::array<double, kAppendedBlock> kBlockThreshold = {0.9,  1.1,  1.3, 1.31,
                                                            1.32, 1.55, 1.6, 1.6};

const int kTagLength = 11;  // "Quorvel Ver"

// Decimal number with "." as separator; nothing when the text is not one.
bool parseVersion(const QString& text, double& out) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (ok) out = value;
    return ok;
}

// Whole number present in a file of this version; compared with a small tolerance so that
// "1.6" and "1.60" both reach the 1.6 block.
int blocksPresent(double version) {
    int blocks = 0;
    for (double threshold : kBlockThreshold) {
        if (version + 1e-9 < threshold) break;
        ++blocks;
    }
    return blocks;
}

// A settings file that is no text of ours: too large to be one, empty, or holding bytes that
// no text line holds (a binary file copied over it). Read as lines, it would give empty or
// garbled names that fail later as write errors.
void checkSettingsFile(const QString& path) {
    const auto fail = [&path](const QString& reason) {
        throw SettingsError(
            QStringLiteral("設定ファイル %1 は%2ため読み込めません。\r"
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

bool CatalogSettings::operator==(const CatalogSettings& other) const {
    for (const Pair& pair : kPairs) {
        if (pair.text ? this->*pair.text != other.*pair.text
                      : this->*pair.number != other.*pair.number) {
            return false;
        }
    }
    return appFolder == other.appFolder && settingsFolder == other.settingsFolder &&
           version == other.version;
}

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

CatalogSettings loadSettings(const QString& appFolder) {
    CatalogSettings settings;
    settings.appFolder = appFolder;
    const QString path = settingsFilePath(appFolder);
    if (!QFileInfo(path).isFile()) return settings;
    checkSettingsFile(path);

    const CatalogSettings defaults = settings;
    TextFileReader reader(path);
    double version = 0;
    if (!parseVersion(reader.readLine().mid(kTagLength), version)) {
        version = 1.6;  // an unreadable version: take the file as a current one
    }
    const int blocks = blocksPresent(version);
    for (const Pair& pair : kPairs) {
        if (pair.block > blocks || (pair.block == kAppendedBlock && reader.atEnd())) break;
        reader.readLine();  // key line, never examined
        const QString value = reader.readLine();
        if (pair.text) {
            settings.*pair.text = value;
        } else {
            settings.*pair.number = settingInt(value, defaults.*pair.number);
        }
    }
    return settings;
}

CatalogSettings loadSettings(const QString& appFolder, const QString& settingsFolder) {
    CatalogSettings settings = loadSettings(settingsFolder);
    settings.appFolder = appFolder;
    if (settingsFolder != appFolder) settings.settingsFolder = settingsFolder;
    return settings;
}

void saveSettings(const CatalogSettings& settings) {
    // Paths and names must read back exactly, or they would name other files next time.
    for (const QString* name : {&settings.startFolder, &settings.backgroundFile,
                                &settings.browserPath, &settings.viewerPath, &settings.htmlFileName,
                                &settings.thumbFolderName, &settings.thumbPrefix}) {
        sjis::requireExact(*name);
    }
    // The user's settings folder is made on the first save, as the file itself is.
    if (!settings.settingsFolder.isEmpty()) QDir().mkpath(settings.settingsFolder);
    TextFileWriter writer(settingsFilePath(settings.configFolder()), sjis::Unmappable::Refuse,
                          TextFileWriter::Replace::Atomic);
    writer.writeLine(QStringLiteral("Quorvel Ver") + settings.version);
    for (const Pair& pair : kPairs) {
        writer.writeLine(QString::fromUtf8(pair.key));
        writer.writeLine(pair.text ? settings.*pair.text : QString::number(settings.*pair.number));
    }
    writer.close();
}

}  // namespace tessaly
