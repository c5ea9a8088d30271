#pragma once

#include "core/settings/catalogsettings.h"

namespace tessaly {

// The settings as the catalogue run, the page writers and the contents pages read them: each
// switch decoded once, with the rule of its row in settingRows() (most are on only when they
// read exactly "on"; thumbFilter, noBrowserLaunch and footerLinkEnabled are on unless they
// read exactly "off"). A field here is filled by the row that names it.
struct SettingsView {
    bool useBackgroundImage = false;
    bool rotateBackup = false;
    bool titleItalic = false;
    bool titleBold = false;
    bool openInNewWindow = false;
    bool useScriptPopup = false;
    bool makeSlideShow = false;
    bool thumbFilter = false;
    bool noBrowserLaunch = false;
    bool titleFontEnabled = false;
    bool headerDefault = false;
    bool footerDefault = false;
    bool footerLinkEnabled = false;
    bool titleUseTable = false;
    bool skipExistingThumbs = false;
    bool slideMaxEnabled = false;
    bool otherFormats = false;  // photographs of every format, not JPEG only
    int thumbWidth = 0;         // decimal fields as settingInt reads them
    int thumbHeight = 0;
    int thumbQuality = 0;
    int slideMaxWidth = 0;
    int slideMaxHeight = 0;
    int titleColor = 0;  // Windows colours 0x00BBGGRR
    int titleBackColor = 0;
};

SettingsView viewOf(const CatalogSettings& settings);

}  // namespace tessaly
