#include "core/settings/settingsview.h"

namespace tessaly {

namespace {

bool on(const QString& value) { return value == QLatin1String("on"); }
bool notOff(const QString& value) { return value != QLatin1String("off"); }

}  // namespace

SettingsView viewOf(const CatalogSettings& s) {
    SettingsView v;
    v.useBackgroundImage = on(s.useBackgroundImage);
    v.rotateBackup = on(s.rotateBackup);
    v.titleItalic = on(s.titleItalic);
    v.titleBold = on(s.titleBold);
    v.openInNewWindow = on(s.openInNewWindow);
    v.useScriptPopup = on(s.useScriptPopup);
    v.makeSlideShow = on(s.makeSlideShow);
    v.thumbFilter = notOff(s.thumbFilter);
    v.noBrowserLaunch = notOff(s.noBrowserLaunch);
    v.titleFontEnabled = on(s.titleFontEnabled);
    v.headerDefault = on(s.headerDefault);
    v.footerDefault = on(s.footerDefault);
    v.footerLinkEnabled = notOff(s.footerLinkEnabled);
    v.titleUseTable = on(s.titleUseTable);
    v.skipExistingThumbs = on(s.skipExistingThumbs);
    v.slideMaxEnabled = on(s.slideMaxEnabled);
    v.thumbWidth = settingInt(s.thumbWidth);
    v.thumbHeight = settingInt(s.thumbHeight);
    v.thumbQuality = settingInt(s.thumbQuality);
    v.slideMaxWidth = settingInt(s.slideMaxWidth);
    v.slideMaxHeight = settingInt(s.slideMaxHeight);
    v.titleColor = settingInt(s.titleColor);
    v.titleBackColor = settingInt(s.titleBackColor);
    return v;
}

}  // namespace tessaly
