#include "core/toc/tocgenerator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/imaging/files/filereplacement.h"
#include "core/pages/pagekind.h"
#include "core/settings/outputnames.h"
#include "core/settings/programfolders.h"
#include "core/text/errors.h"
#include "core/text/filecopy.h"
#include "core/text/folderlisting.h"
#include "core/text/formatting.h"
#include "core/toc/framepagewriter.h"
#include "core/toc/moderntocwriter.h"
#include "core/toc/tocentry.h"
#include "core/toc/tocpagehead.h"
#include "core/toc/tocpagewriter.h"

namespace tessaly {

const QString TocGenerator::kNoTitleMessage =
    QStringLiteral("目次のタイトルが指定されていません。");
const QString TocGenerator::kNoBackgroundFileMessage =
    QStringLiteral("背景の画像ファイルが指定されていません。");
const QString TocGenerator::kNoFoldersMessage = QStringLiteral("フォルダがありません。");
const QString TocGenerator::kNoCataloguesMessage = QStringLiteral("対象のフォルダがありません。");
const QString TocGenerator::kBackgroundCopyMessage =
    QStringLiteral("背景ファイルコピーに失敗しました。\n処理は中断されました。");

namespace {

// The catalogues found by the first pass over the sub-folders.
struct Discovery {
    QStringList subFolders;
    int count = 0;
    QString firstFolderName;
};

QString pagePathOf(const QString& folder, const QString& subFolder, const QString& fileName) {
    return folder + subFolder + QLatin1Char('/') + fileName;
}

// The sub-folders that may hold albums: the program's own folders never do.
Discovery discover(const QString& folder, const CatalogSettings& settings) {
    Discovery found;
    for (const QString& name : listSubFolders(folder)) {
        if (programFolderOf(folder + name, settings) == ProgramFolder::None)
            found.subFolders << name;
    }
    if (found.subFolders.isEmpty()) throw CheckError(TocGenerator::kNoFoldersMessage);
    for (const QString& name : found.subFolders) {
        if (!isCatalogPage(pagePathOf(folder, name, settings.htmlFileName))) continue;
        if (found.count++ == 0) found.firstFolderName = name;
    }
    if (found.count == 0) throw CheckError(TocGenerator::kNoCataloguesMessage);
    return found;
}

QString progressText(int k, int count) {
    return counterText(k) + QLatin1Char('/') + counterText(count);
}

}  // namespace

TocGenerator::TocGenerator(const CatalogSettings& settings) : settings_(settings) {}

QString TocGenerator::finishedQuestion(const QString& page) {
    return QStringLiteral("　　　　ファイル作成終了　　　　\n") + page +
           QStringLiteral("\nブラウザを起動しますか？");
}

void TocGenerator::openPage(const CatalogSettings& settings, Shell& shell, const QString& page) {
    if (settings.browserPath.isEmpty()) {
        shell.openDocument(page);
    } else {
        shell.startProgram(settings.browserPath, page, QFileInfo(page).path());
    }
}

void TocGenerator::checkInput(const TocOptions& options) const {
    if (options.title.isEmpty()) throw CheckError(kNoTitleMessage);
    if (options.useBackgroundImage && options.backgroundImageFile.isEmpty()) {
        throw CheckError(kNoBackgroundFileMessage);
    }
}

void TocGenerator::copyBackground(const TocOptions& options, const QString& folder) const {
    const QString name = QFileInfo(options.backgroundImageFile).fileName();
    if (QFileInfo::exists(folder + name)) throw CheckError(kBackgroundCopyMessage);
    const QString copy = copyFileToFolder(options.backgroundImageFile, folder);
    // Earlier backgrounds go; the copy itself stays even when it already bears one of the names.
    for (const QString& old : {QStringLiteral("back.jpg"), QStringLiteral("back.gif")}) {
        if (old != name && QFileInfo::exists(folder + old)) QFile::remove(folder + old);
    }
    const QString suffix = QFileInfo(name).suffix().toLower();
    QString target;
    if (suffix == QLatin1String("jpg")) target = QStringLiteral("back.jpg");
    if (suffix == QLatin1String("gif")) target = QStringLiteral("back.gif");
    if (!target.isEmpty() && target != name) QFile::rename(copy, folder + target);
}

std::optional<Question> TocGenerator::replacementQuestion(const TocOptions& options) const {
    try {  // options run() refuses anyway are not asked about
        checkOutputNames(settings_);
        checkInput(options);
    } catch (const Error&) {
        return std::nullopt;
    }
    const QString page = folderPath(options.folder) + settings_.htmlFileName;
    if (pageKindOf(page) != PageKind::Catalogue) return std::nullopt;
    return pageReplacementQuestion(page, PageKind::Catalogue);
}

QString TocGenerator::run(const TocOptions& options, const Progress& progress) const {
    checkOutputNames(settings_);  // the page and the catalogues' thumbnails are found by them
    checkInput(options);
    const QString folder = folderPath(options.folder);
    const Discovery found = discover(folder, settings_);
    FileReplacement::removeAbandoned(folder);
    if (options.useBackgroundImage) copyBackground(options, folder);
    const TocPageHead head(settings_, options, found.count);
    const QString page = folder + settings_.htmlFileName;

    std::unique_ptr<FramePageWriter> frames;
    std::unique_ptr<TocPageWriter> contents;
    std::unique_ptr<ModernTocWriter> modern;
    if (options.useFrames) {
        frames = std::make_unique<FramePageWriter>(folder, head, found.firstFolderName);
    } else if (settings_.modernPages()) {
        modern = std::make_unique<ModernTocWriter>(page, folder, head, options);
    } else {
        const auto variant =
            options.showImages ? TocPageWriter::Variant::Grid : TocPageWriter::Variant::List;
        contents = std::make_unique<TocPageWriter>(page, folder, head, variant, found.count);
    }
    int k = 0;
    for (const QString& name : found.subFolders) {
        if (k == found.count) break;  // a page marked since the first pass
        const std::optional<TocEntry> entry =
            readTocEntry(pagePathOf(folder, name, settings_.htmlFileName), name);
        if (!entry) continue;
        ++k;
        if (progress) progress(progressText(k, found.count));
        if (frames) {
            frames->writeEntry(*entry);
        } else if (modern) {
            modern->writeEntry(*entry);
        } else {
            contents->writeEntry(*entry, k);
        }
    }
    if (frames) {
        frames->finish();
    } else if (modern) {
        modern->finish();
    } else {
        contents->finish();
    }
    return page;
}

}  // namespace tessaly
