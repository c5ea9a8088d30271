#pragma once

#include <QString>
#include <iterator>

#include "core/settings/settingrow.h"

namespace tessaly {

// Every user preference, as stored in Quorvel.ini. Switches hold "on"/"off", numbers and
// colours decimal text, except the four integers. Colours are Windows values 0x00BBGGRR.
// A field is the setting's one name: where it is stored, its default, how it reads and whether
// the options dialog edits it is its row in settingRows() below; switches and numbers are read
// through isOn() and number(), which follow that row.
struct CatalogSettings {
    using Text = QString CatalogSettings::*;

    CatalogSettings();  // every stored value at its default

    QString startFolder;         // 1
    int backgroundColor = 0;     // 2
    QString useBackgroundImage;  // 3
    QString backgroundFile;      // 4
    QString browserPath;         // 5
    QString viewerPath;          // 6
    int windowLeft = 0;          // 7
    int windowTop = 0;           // 8
    int rotateQuality = 0;       // 9
    QString rotateBackup;        // 10
    QString titleFontSize;       // 11
    QString titleColor;          // 12
    QString titleFontFace;       // 13
    QString titleTableWidth;     // 14
    QString titleBackColor;      // 15
    QString titleItalic;         // 16
    QString titleBold;           // 17
    QString thumbWidth;          // 18
    QString thumbHeight;         // 19
    QString openInNewWindow;     // 20
    QString useScriptPopup;      // 21
    QString makeSlideShow;       // 22
    QString slideInterval;       // 23
    QString thumbQuality;        // 24
    QString thumbFilter;         // 25
    QString noBrowserLaunch;     // 26
    QString htmlFileName;        // 27
    QString thumbFolderName;     // 28
    QString titleFontEnabled;    // 29
    QString headerDefault;       // 30
    QString headerText;          // 31
    QString footerDefault;       // 32
    QString footerText;          // 33
    QString footerLinkEnabled;   // 34
    QString footerLinkUrl;       // 35
    QString titleUseTable;       // 36
    QString thumbPrefix;         // 37
    QString skipExistingThumbs;  // 38
    QString tableBorder;         // 39
    QString slideMaxEnabled;     // 40
    QString slideMaxWidth;       // 41
    QString slideMaxHeight;      // 42
    QString rotateLossless;      // 43: turn without re-encoding where the size allows
    // The main window's "left,top,width,height" when it was last closed; empty until then.
    QString mainWindowPlace;  // 44
    // The converter window's file type, "BMP" or "HEIC", once it was changed.
    QString converterFileType;  // 45
    // The folder the main window showed when it was last closed; it opens there again when
    // no start folder is set.
    QString lastFolder;  // 46
    // "on" when the lists and runs take PNG, WebP, AVIF and HEIC/HEIF photographs beside
    // JPEG ones (the main window's check box); empty until first changed, which reads off.
    QString otherFormats;  // 47
    // Light copies of the photographs for the pages to link to: made or not, their longer side
    // in pixels (320 to 8192), and "remove" or "keep" for where the photographs were taken.
    QString webCopies;        // 48
    QString webCopyLongSide;  // 49
    QString webCopyLocation;  // 50
    // The style of the pages a run writes: "classic" (the designed Shift-JIS pages, also when
    // empty or unknown) or "modern" (HTML5 in UTF-8 with a responsive grid and a lightbox).
    QString pageStyle;  // 51
    // The folder a run publishes the site to (pages, thumbnails, web copies, style files and
    // the background, nothing else), empty for none; "on" when a zip of the web copies goes
    // with it.
    QString publishFolder;  // 52
    QString publishZip;     // 53

    // True when the pages are written in the modern style.
    bool modernPages() const;

    QString appFolder;         // the executable's folder, never stored
    QString version = "1.60";  // never read from the file
    // Folder of the Quorvel.ini in use when it is not appFolder (an installed copy: see
    // settingsFolderFor); never stored.
    QString settingsFolder;

    // Folder of the settings file in use and of the options dialog's "temp" scratch folder:
    // settingsFolder, or appFolder when that is empty.
    QString configFolder() const;
    // Folder shown when the start folder is missing: appFolder for a copy that keeps its
    // settings beside it, else the user's home folder.
    QString homeFolder() const;

    // A switch as the pages read it (its row's rule); false for a field that is no switch.
    bool isOn(Text field) const;
    // A switch stored as "on" or "off".
    void setOn(Text field, bool on);
    // A decimal field as the pages read it (settingInt): a number, size or colour.
    int number(Text field) const;
    // A number kept within its row's range (SettingRow::rangedNumber).
    int rangedNumber(Text field) const;

    bool operator==(const CatalogSettings& other) const;
    bool operator!=(const CatalogSettings& other) const { return !(*this == other); }
};

// The stored settings in file order. Adding one:
//   - its field above, and its row at the end of this table, made .afterLastBlock() (the file's
//     version stays; its line follows the last block, written once it holds a value, read by its
//     key), and .outsideOptions() when a window other than the options dialog keeps it;
//   - when the options dialog edits it, its control on a tab, bound by the field (OptionsTab::
//     bind); a row without its control, or a control without its row, stops a debug build;
//   - when the pages read it, the line of the page writer that reads it (isOn, number, the field);
//   - for a number the user chooses from a range, .within(minimum, maximum): the options
//     dialog's control and tessaly-batch's option take it from there.
inline constexpr SettingRow kSettingRows[] = {
    // clang-format off
    settingrow::text(&CatalogSettings::startFolder, "[起動フォルダ]", 0.9, "").checked("起動フォルダ", true),
    settingrow::integer(&CatalogSettings::backgroundColor, "[背景色]", 0.9, "8421504"),
    settingrow::toggle(&CatalogSettings::useBackgroundImage, "[背景パターン設定]", 0.9, ""),
    settingrow::text(&CatalogSettings::backgroundFile, "[背景ファイル]", 0.9, "").checked("背景の画像ファイル", true),
    settingrow::text(&CatalogSettings::browserPath, "[ブラウザ設定]", 0.9, "").checked("ブラウザ", true),
    settingrow::text(&CatalogSettings::viewerPath, "[外部ビュアー設定]", 0.9, "").checked("外部ビュアー", true),
    settingrow::integer(&CatalogSettings::windowLeft, "[表示水平位置]", 0.9, "0"),
    settingrow::integer(&CatalogSettings::windowTop, "[表示垂直位置]", 0.9, "0"),
    settingrow::integer(&CatalogSettings::rotateQuality, "[画像回転圧縮率]", 0.9, "95").within(50, 100),
    settingrow::toggle(&CatalogSettings::rotateBackup, "[画像回転バックアップ]", 0.9, "on"),
    settingrow::text(&CatalogSettings::titleFontSize, "[タイトル文字サイズ]", 0.9, "7"),
    settingrow::colour(&CatalogSettings::titleColor, "[タイトル文字色]", 0.9, "0"),
    settingrow::text(&CatalogSettings::titleFontFace, "[タイトルフォント]", 0.9, "ＭＳ Ｐ明朝"),
    settingrow::text(&CatalogSettings::titleTableWidth, "[タイトルテーブル幅]", 0.9, "標準"),
    settingrow::colour(&CatalogSettings::titleBackColor, "[タイトル背景色]", 0.9, "16777215"),
    settingrow::toggle(&CatalogSettings::titleItalic, "[タイトル斜体文字]", 0.9, "off"),
    settingrow::toggle(&CatalogSettings::titleBold, "[タイトル太文字]", 0.9, "off"),
    settingrow::number(&CatalogSettings::thumbWidth, "[サムネイル幅]", 1.1, "110").within(10, 1000),
    settingrow::number(&CatalogSettings::thumbHeight, "[サムネイル高さ]", 1.1, "150").within(10, 1000),
    settingrow::toggle(&CatalogSettings::openInNewWindow, "[ブラウザ別起動]", 1.1, "off"),
    settingrow::toggle(&CatalogSettings::useScriptPopup, "[javaでウインドウを開く]", 1.1, "off"),
    settingrow::toggle(&CatalogSettings::makeSlideShow, "[スライドショウのHTMLを作成]", 1.1, "off"),
    settingrow::number(&CatalogSettings::slideInterval, "[スライドショウの間隔]", 1.1, "3").within(1, 30),
    settingrow::number(&CatalogSettings::thumbQuality, "[サムネイル画像の圧縮率]", 1.3, "80").within(70, 100),
    settingrow::toggle(&CatalogSettings::thumbFilter, "[サムネイル画像のフィルタ]", 1.3, "off", SwitchRule::OnUnlessOff),
    settingrow::toggle(&CatalogSettings::noBrowserLaunch, "[ブラウザ起動チェック]", 1.3, "off", SwitchRule::OnUnlessOff),
    settingrow::text(&CatalogSettings::htmlFileName, "[HTMLファイル名]", 1.31, "index.htm").checked("作成するＨＴＭＬファイル名", true),
    settingrow::text(&CatalogSettings::thumbFolderName, "[サムネイル画像フォルダ名]", 1.31, "htm_image").checked("サムネイル画像を作成するフォルダ名", true),
    settingrow::toggle(&CatalogSettings::titleFontEnabled, "[タイトルのフォントを指定する]", 1.32, "on"),
    settingrow::toggle(&CatalogSettings::headerDefault, "[ヘッダーを書き換える]", 1.32, "on"),
    settingrow::text(&CatalogSettings::headerText, "[ヘッダーのコメント]", 1.32, "").checked("ヘッダーのコメント", false),
    settingrow::toggle(&CatalogSettings::footerDefault, "[フッターを書き換える]", 1.32, "on"),
    settingrow::text(&CatalogSettings::footerText, "[フッターのコメント]", 1.32, "").checked("フッターのコメント", false),
    settingrow::toggle(&CatalogSettings::footerLinkEnabled, "[フッターでlinkする]", 1.32, "off", SwitchRule::OnUnlessOff),
    settingrow::text(&CatalogSettings::footerLinkUrl, "[フッターのlinkのURL]", 1.32, "").checked("フッターのURL", false),
    settingrow::toggle(&CatalogSettings::titleUseTable, "[タイトルにテーブルを使用する]", 1.32, "on"),
    settingrow::text(&CatalogSettings::thumbPrefix, "[サムネイル画像に付加する文字列]", 1.55, "").checked("サムネイル画像のファイル名に付加する文字列", true),
    settingrow::toggle(&CatalogSettings::skipExistingThumbs, "[サムネイル画像の有無確認]", 1.55, "off"),
    settingrow::number(&CatalogSettings::tableBorder, "[テーブルの幅]", 1.55, "1").within(0, 20),
    settingrow::toggle(&CatalogSettings::slideMaxEnabled, "[スライドショウの最大値を指定]", 1.6, "off"),
    settingrow::number(&CatalogSettings::slideMaxWidth, "[スライドショウの最大値Ｘ]", 1.6, "1000").within(300, 2000),
    settingrow::number(&CatalogSettings::slideMaxHeight, "[スライドショウの最大値Ｙ]", 1.6, "750").within(300, 2000),
    settingrow::toggle(&CatalogSettings::rotateLossless, "[可能なら無劣化で回転]", 1.6, "off").afterLastBlock().outsideOptions(),
    settingrow::text(&CatalogSettings::mainWindowPlace, "[メインウインドウの位置と大きさ]", 1.6, "").afterLastBlock().outsideOptions(),
    settingrow::text(&CatalogSettings::converterFileType, "[変換ウインドウのファイルの種類]", 1.6, "").afterLastBlock().outsideOptions(),
    settingrow::text(&CatalogSettings::lastFolder, "[最後に開いたフォルダ]", 1.6, "").afterLastBlock().outsideOptions(),
    settingrow::toggle(&CatalogSettings::otherFormats, "[JPEG以外の画像も扱う]", 1.6, "").afterLastBlock().outsideOptions(),
    settingrow::toggle(&CatalogSettings::webCopies, "[公開用コピーを作る]", 1.6, "off").afterLastBlock(),
    settingrow::number(&CatalogSettings::webCopyLongSide, "[公開用コピーの長辺]", 1.6, "2048").within(320, 8192).afterLastBlock(),
    settingrow::text(&CatalogSettings::webCopyLocation, "[公開用コピーの位置情報]", 1.6, "remove").afterLastBlock(),
    settingrow::text(&CatalogSettings::pageStyle, "[ページ形式]", 1.6, "").afterLastBlock(),
    settingrow::text(&CatalogSettings::publishFolder, "[公開フォルダ]", 1.6, "").afterLastBlock(),
    settingrow::toggle(&CatalogSettings::publishZip, "[公開フォルダのzip]", 1.6, "off").afterLastBlock(),
    // clang-format on
};

// The stored settings in file order (kSettingRows).
constexpr const auto& settingRows() { return kSettingRows; }
constexpr int kSettingCount = static_cast<int>(std::size(kSettingRows));

// What a run is given beside the settings, with the same kind of range: the thumbnails in a
// row of the catalogue page (the main window's box), and the worker threads that make them.
inline constexpr SettingRange kImagesPerRow{1, 10};
inline constexpr int kDefaultImagesPerRow = 5;
inline constexpr SettingRange kWorkerThreads{1, 64};

// The row of a field; null for a field that is not stored (no row names it).
const SettingRow* settingRow(CatalogSettings::Text field);
const SettingRow* settingRow(int CatalogSettings::*field);

// Name of the settings file inside appFolder.
extern const char* const kSettingsFileName;

// The settings file's path for a program folder.
QString settingsFilePath(const QString& appFolder);

// The user's settings folder: $XDG_CONFIG_HOME/tessaly, or ~/.config/tessaly when that
// variable is unset, empty or not an absolute path.
QString userSettingsFolder();

// Where a program in programFolder keeps its settings: programFolder itself when a
// Quorvel.ini is there (portable copies, the build folder), else userSettingsFolder().
QString settingsFolderFor(const QString& programFolder);

// The largest settings file read (1 MB); the real one is a few kilobytes.
extern const qint64 kMaxSettingsFileBytes;

// Defaults, then whatever the settings file at path holds, named in messages as given. A
// missing file is not an error. Raises IoError when the file exists but cannot be opened,
// and SettingsError (naming the file) when it is no regular file, is larger than
// kMaxSettingsFileBytes, empty, or holds bytes no text holds.
CatalogSettings loadSettingsFile(const QString& path);

// The same for appFolder/Quorvel.ini, with appFolder set.
CatalogSettings loadSettings(const QString& appFolder);

// The same for a program in appFolder whose settings are in settingsFolder (see
// settingsFolderFor); the record remembers both.
CatalogSettings loadSettings(const QString& appFolder, const QString& settingsFolder);

// Writes the whole file anew (the version line, then a key line and a value line for each row but
// the empty lines after the last block) into configFolder(), atomically: on
// failure (IoError, or EncodingError for a value code page 932 cannot hold) the old file is left as
// it was. A settingsFolder that does not exist yet is created first.
void saveSettings(const CatalogSettings& settings);

// Writes the one value the field holds into the settings file as it is stored, keeping the
// file's other values (not those held, which the options dialog stores). Raises as saveSettings.
void saveSetting(const CatalogSettings& settings, QString CatalogSettings::*field);

// Integer value of a decimal text field, as the readers take it ("110" -> 110); text that is
// not a number gives the fallback.
int settingInt(const QString& text, int fallback = 0);

}  // namespace tessaly
