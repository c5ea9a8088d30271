#include "optionsfixture.h"

namespace tessaly::test {

CatalogSettings OptionsTest::unusualSettings(const QString& appFolder) {
    CatalogSettings s;
    s.appFolder = appFolder;
    s.startFolder = QStringLiteral("/photos/旅行");
    s.backgroundColor = 0x102030;
    s.useBackgroundImage = QStringLiteral("on");
    s.backgroundFile = QStringLiteral("/photos/back.gif");
    s.browserPath = QStringLiteral("/usr/bin/browser");
    s.viewerPath = QStringLiteral("/usr/bin/viewer");
    s.windowLeft = 40;
    s.windowTop = 30;
    s.rotateQuality = 77;
    s.rotateBackup = QStringLiteral("off");
    s.titleFontSize = QStringLiteral("3");
    s.titleColor = QStringLiteral("255");
    s.titleFontFace = QStringLiteral("ＭＳ ゴシック");
    s.titleTableWidth = QStringLiteral("500");
    s.titleBackColor = QStringLiteral("65280");
    s.titleItalic = QStringLiteral("on");
    s.titleBold = QStringLiteral("on");
    s.thumbWidth = QStringLiteral("120");
    s.thumbHeight = QStringLiteral("90");
    s.openInNewWindow = QStringLiteral("on");
    s.useScriptPopup = QStringLiteral("on");
    s.makeSlideShow = QStringLiteral("on");
    s.slideInterval = QStringLiteral("7");
    s.thumbQuality = QStringLiteral("88");
    s.thumbFilter = QStringLiteral("on");
    s.noBrowserLaunch = QStringLiteral("on");
    s.htmlFileName = QStringLiteral("album.html");
    s.thumbFolderName = QStringLiteral("小さな画像");
    s.titleFontEnabled = QStringLiteral("off");
    s.headerDefault = QStringLiteral("off");
    s.headerText = QStringLiteral("ようこそ");
    s.footerDefault = QStringLiteral("off");
    s.footerText = QStringLiteral("おわり");
    s.footerLinkEnabled = QStringLiteral("on");
    s.footerLinkUrl = QStringLiteral("mailto:a@example.org");
    s.titleUseTable = QStringLiteral("off");
    s.thumbPrefix = QStringLiteral("t_");
    s.skipExistingThumbs = QStringLiteral("on");
    s.tableBorder = QStringLiteral("4");
    s.slideMaxEnabled = QStringLiteral("on");
    s.slideMaxWidth = QStringLiteral("1280");
    s.slideMaxHeight = QStringLiteral("960");
    s.pageStyle = QStringLiteral("modern");
    s.webCopies = QStringLiteral("on");
    s.webCopyLongSide = QStringLiteral("1600");
    s.webCopyLocation = QStringLiteral("keep");
    s.publishFolder = QStringLiteral("/srv/公開 サイト");
    s.publishZip = QStringLiteral("on");
    return s;
}

}  // namespace tessaly::test
