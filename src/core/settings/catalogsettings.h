#pragma once

#include <QString>

namespace tessaly {

// Every user preference, as stored in Quorvel.ini. Switches hold "on"/"off", numbers and
// colours decimal text, except the four integers. Colours are Windows values 0x00BBGGRR.
// Where each value is stored, its default and how it reads: settingRows() (settingstable.h).
struct CatalogSettings {
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
    // The style of the pages a run writes: "classic" (the designed Shift-JIS pages, also when
    // empty or unknown) or "modern" (HTML5 in UTF-8 with a responsive grid and a lightbox).
    QString pageStyle;  // 46

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

    bool operator==(const CatalogSettings& other) const;
    bool operator!=(const CatalogSettings& other) const { return !(*this == other); }
};

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

// Writes all 85 lines (87 with the main window's place) anew into configFolder(), atomically: on
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
