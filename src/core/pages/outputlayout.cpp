#include "core/pages/outputlayout.h"

#include "core/imaging/jobs/webcopy.h"
#include "core/pages/classic/slideshowwriter.h"
#include "core/pages/modern/modernassets.h"
#include "core/text/formatting.h"

namespace tessaly {

OutputLayout::OutputLayout(const CatalogSettings& settings, const QString& folder)
    : folder_(folderPath(folder)),
      thumbFolderName_(settings.thumbFolderName),
      thumbPrefix_(settings.thumbPrefix),
      htmlFileName_(settings.htmlFileName),
      backgroundFile_(settings.backgroundFile),
      background_(settings.isOn(&CatalogSettings::useBackgroundImage)) {}

QString OutputLayout::doubleFolderName() { return QStringLiteral("2x"); }

QString OutputLayout::thumbFolder() const { return folder_ + thumbFolderName_; }

QString OutputLayout::doubleFolder() const {
    return thumbFolder() + QLatin1Char('/') + doubleFolderName();
}

QString OutputLayout::webFolder() const {
    return thumbFolder() + QLatin1Char('/') + QLatin1String(WebCopy::kFolderName);
}

PlacedFile OutputLayout::inThumbFolder(const QString& relative) const {
    const QString fromPage = thumbFolderName_ + QLatin1Char('/') + relative;
    return {folder_ + fromPage, fromPage};
}

PlacedFile OutputLayout::page() const { return {folder_ + htmlFileName_, htmlFileName_}; }

PlacedFile OutputLayout::slideShow() const {
    const QString name = QLatin1String(kSlideShowFileName);
    return {folder_ + name, name};
}

PlacedFile OutputLayout::styleSheet() const {
    return inThumbFolder(QLatin1String(kModernStyleSheetName));
}

PlacedFile OutputLayout::script() const { return inThumbFolder(QLatin1String(kModernScriptName)); }

PlacedFile OutputLayout::background() const {
    if (!background_) return PlacedFile();
    const bool jpeg = backgroundFile_.toLower().endsWith(QLatin1String(".jpg"));
    return inThumbFolder(jpeg ? QStringLiteral("back.jpg") : QStringLiteral("back.gif"));
}

PlacedFile OutputLayout::photo(const QString& name) const { return {folder_ + name, name}; }

PlacedFile OutputLayout::thumbnail(const QString& name) const {
    return inThumbFolder(thumbPrefix_ + name);
}

PlacedFile OutputLayout::doubleThumbnail(const QString& name) const {
    return inThumbFolder(doubleFolderName() + QLatin1Char('/') + thumbPrefix_ + name);
}

PlacedFile OutputLayout::webCopy(const QString& name) const {
    return inThumbFolder(QLatin1String(WebCopy::kFolderName) + QLatin1Char('/') + name);
}

PlacedFile OutputLayout::photoArchive() const {
    return inThumbFolder(QStringLiteral("photos.zip"));
}

ThumbnailBox OutputLayout::thumbnailBox(const CatalogSettings& settings) {
    return ThumbnailBox{settings.number(&CatalogSettings::thumbWidth),
                        settings.number(&CatalogSettings::thumbHeight),
                        settings.number(&CatalogSettings::thumbQuality),
                        settings.isOn(&CatalogSettings::thumbFilter)};
}

PageFiles OutputLayout::pageFiles(bool modern, bool slideShow) const {
    PageFiles files;
    files.page = page();
    files.slideShow = slideShow;
    if (slideShow && !modern) files.slideShowPage = this->slideShow();
    if (modern) {
        files.styleSheet = styleSheet();
        files.script = script();
    }
    files.background = background();
    return files;
}

QString OutputLayout::thumbnailFileName(const QString& name) const { return thumbPrefix_ + name; }

}  // namespace tessaly
