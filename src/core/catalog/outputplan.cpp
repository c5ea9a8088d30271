#include "core/catalog/outputplan.h"

#include "core/catalog/outputguard.h"
#include "core/imaging/jobs/webcopy.h"
#include "core/pages/photooutputnames.h"
#include "core/text/formatting.h"

namespace tessaly {

const PlacedFile& PlannedPhoto::linkTarget(bool viaWebCopy) const {
    if (viaWebCopy && !webCopy.path.isEmpty()) return webCopy;
    return browserCopy.path.isEmpty() ? photo : browserCopy;
}

OutputPlan::OutputPlan(const CatalogSettings& settings, const QString& folder,
                       const QStringList& names, const std::vector<bool>& selected, bool allFormats,
                       bool doubles)
    : layout_(settings, folder),
      // A published site links every photograph through its copy.
      webCopies_(settings.isOn(&CatalogSettings::webCopies) || !settings.publishFolder.isEmpty()) {
    // With web copies, every photograph is linked through its own copy in the web folder.
    const PhotoOutputNames outputs =
        allFormats ? photoOutputNames(names, webCopies_) : PhotoOutputNames();
    for (int i = 0; i < names.size() && i < int(selected.size()); ++i) {
        if (!selected[static_cast<std::size_t>(i)]) continue;
        PlannedPhoto planned;
        planned.index = i;
        planned.name = names[i];
        planned.photo = layout_.photo(names[i]);
        const QString thumbnail = allFormats ? outputs.thumbnails[i] : names[i];
        planned.thumbnail = layout_.thumbnail(thumbnail);
        planned.thumbnailFileName = layout_.thumbnailFileName(thumbnail);
        if (doubles) planned.doubleThumbnail = layout_.doubleThumbnail(thumbnail);
        if (allFormats && !outputs.copies[i].isEmpty())
            planned.browserCopy = layout_.thumbnail(outputs.copies[i]);
        if (allFormats) planned.shortName = photoShortName(names[i]);
        if (webCopies_) {
            planned.webCopyName = allFormats ? outputs.webCopies[i] : WebCopy::copyName(names[i]);
            planned.webCopy = layout_.webCopy(planned.webCopyName);
        }
        photos_.push_back(std::move(planned));
    }
}

void OutputPlan::guard(const PageFiles& files, const QStringList& background) const {
    QStringList photos;
    for (const PlannedPhoto& planned : photos_) photos << planned.photo.path;
    const QString thumbFolder = layout_.thumbFolder();
    const OutputGuard guard(layout_.folder(), thumbFolder, photos);
    guard.check(files.page.path, QStringLiteral("HTMLファイル名"));
    for (const PlacedFile* file :
         {&files.slideShowPage, &files.styleSheet, &files.script, &files.download}) {
        if (!file->path.isEmpty()) guard.check(file->path, QString());
    }
    for (const QString& name : background) guard.check(folderPath(thumbFolder) + name, QString());
    guardPhotoOutputs(photos);
}

void OutputPlan::guardPhotoOutputs(const QStringList& photos) const {
    const QString thumbLabel = QStringLiteral("サムネイル画像フォルダ名");
    const QString& folder = layout_.folder();
    const OutputGuard guard(folder, layout_.thumbFolder(), photos);
    const OutputGuard doubles(folder, layout_.doubleFolder(), photos);
    for (const PlannedPhoto& planned : photos_) {
        guard.check(planned.thumbnail.path, thumbLabel);
        if (!planned.browserCopy.path.isEmpty()) guard.check(planned.browserCopy.path, thumbLabel);
        if (!planned.doubleThumbnail.path.isEmpty())
            doubles.check(planned.doubleThumbnail.path, thumbLabel);
    }
    if (!webCopies_) return;
    const OutputGuard copies(folder, layout_.webFolder(), photos);
    for (const PlannedPhoto& planned : photos_) copies.check(planned.webCopy.path, QString());
}

}  // namespace tessaly
