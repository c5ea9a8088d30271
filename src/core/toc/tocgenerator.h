#pragma once

#include <QDate>
#include <QString>
#include <functional>
#include <optional>

#include "core/settings/catalogsettings.h"
#include "core/text/question.h"
#include "core/text/shell.h"

namespace tessaly {

// What one table-of-contents run works on, read from the window (or the command line).
struct TocOptions {
    QString folder;           // the chosen folder (the folder the folder list has open)
    QString title;            // titleEdit
    bool showImages = false;  // imagesCheck: grid variant with thumbnails (ignored with frames)
    bool useFrames = false;   // framesCheck: frame top page + title.htm
    bool useBackgroundImage = false;   // backgroundImageCheck
    QString backgroundImageFile;       // backgroundFileEdit: the image copied beside the page
    qint64 backgroundColor = 8421504;  // colourSwatch's colour, Windows value 0x00BBGGRR
    QDate date;                        // the date written into the pages; invalid means today
};

// Builds the table of contents of a folder: one page linking the catalogue pages found in
// its immediate sub-folders (list or grid variant), or the frame set of a top page and
// title.htm.
//
// How a window uses it (ContentsWindow::execute):
//
//     TocOptions options;  // filled from titleEdit, imagesCheck, framesCheck, ...
//     try {
//         TocGenerator generator(context.settings);
//         const auto replacing = generator.replacementQuestion(options);
//         if (replacing && !context.prompts.question(replacing->text())) return;
//         const QString page = generator.run(
//             options, [this](const QString& text) { statusLabel->setText(text); repaint(); });
//         if (context.prompts.question(TocGenerator::finishedQuestion(page)))
//             TocGenerator::openPage(context.settings, context.shell, page);
//     } catch (const CheckError& e) {
//         context.prompts.information(e.message());
//     } catch (const Error& e) {
//         context.prompts.error(e.message());
//     }
//
// run() throws CheckError carrying the user's message for each of the five checks, in their
// order, before any file is touched:
//     "目次のタイトルが指定されていません。", "背景の画像ファイルが指定されていません。",
//     "フォルダがありません。", "対象のフォルダがありません。",
//     "背景ファイルコピーに失敗しました。\n処理は中断されました。"
// (messages as constants below).
// Other failures throw IoError (a page or the background copy cannot be read or written),
// EncodingError or ImageError (a thumbnail that is not a readable JPEG); the pages of an
// earlier run then stay as they were, as new pages are put in place only at the end.
class TocGenerator {
public:
    using Progress = std::function<void(const QString&)>;

    explicit TocGenerator(const CatalogSettings& settings);

    // Runs the checks, copies the background image, writes the page(s) and returns the path
    // of the page to open (folder + htmlFileName). progress receives "001/012" style texts,
    // one per catalogue written.
    QString run(const TocOptions& options, const Progress& progress = {}) const;

    // The question to ask before run() when the page it writes would replace a catalogue
    // page (made by a catalogue run, not by this tool); none when there is nothing to ask or
    // run() refuses the options anyway. No to it means: do not run.
    std::optional<Question> replacementQuestion(const TocOptions& options) const;

    // The question asked once the files are written (Yes/No, captioned "Tessaly"); its
    // second line names the page the browser will show.
    static QString finishedQuestion(const QString& page);

    // Opens the written page: through the shell's "OPEN" when browserPath is empty, else
    // starts browserPath with the page path as its parameter and the page's folder as the
    // working folder.
    static void openPage(const CatalogSettings& settings, Shell& shell, const QString& page);

    static const QString kNoTitleMessage;
    static const QString kNoBackgroundFileMessage;
    static const QString kNoFoldersMessage;
    static const QString kNoCataloguesMessage;
    static const QString kBackgroundCopyMessage;

private:
    void checkInput(const TocOptions& options) const;
    void copyBackground(const TocOptions& options, const QString& folder) const;

    const CatalogSettings& settings_;
};

}  // namespace tessaly
