#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "core/imaging/thumbnailmaker.h"
#include "core/settings/catalogsettings.h"
#include "core/text/question.h"
#include "core/text/shell.h"
#include "core/work/stoptoken.h"

namespace tessaly {

class PixelImage;

// What one catalogue run works on, read from the front end when the run starts.
struct CatalogRunInput {
    QString folder;              // the image folder; "/" is appended when missing
    QStringList names;           // the image list in its order: name and extension, no folder
    std::vector<bool> selected;  // one flag per name; entries named "back.jpg" get cleared
    QString title;               // page title
    bool titleIsName = false;    // the title is the folder's own name, not typed: page text
    int perRow = kDefaultImagesPerRow;  // thumbnails per row, within kImagesPerRow
    QDate date;                         // date written into the page; invalid means today
    int jobs = 1;                       // worker threads (1 = one image at a time, on this thread)
    // The bytes the photographs being decoded at once may hold together; 0: a share of the
    // memory the process may use (DecodeBudget::defaultLimit).
    qint64 decodeLimit = 0;
    // Photographs of every format the readers know, not JPEG only: each gets a JPEG
    // thumbnail of its own name, and a HEIC/HEIF one a JPEG copy the page links to.
    bool allFormats = false;
    // How thumbnails get at the pixels (the output is the same either way).
    ThumbnailMaker::Decoding decoding = ThumbnailMaker::Decoding::Streamed;
    // Thumbnails are made on worker threads even with one job, so that a stop never waits
    // for the decode in hand (a window wants that; the output is the same).
    bool stopWithoutWaiting = false;
    // Called on the thread that makes each thumbnail, with the photograph's path, before
    // the photograph is read (tests slow the decoder down with it).
    std::function<void(const QString& photo)> beforeMaking;
    // The run's stop, made by whoever starts it (before it starts, so that no stop is lost);
    // the run only reads it. Stopping it is the Cancel button.
    StopToken stop;
    // The browser step ends a completed run; a window turns it off and asks on its own thread
    // once the run has ended (CatalogRun::offerBrowser).
    bool browserStep = true;
    // Where a completed run puts how many photographs it linked as they are that carry a GPS
    // position, for a browser step asked later (none: not told).
    std::shared_ptr<std::atomic<int>> positionsLinked;
};

// How a run ended.
enum class CatalogRunOutcome {
    Completed,           // pages written; the browser step was offered
    NothingSelected,     // "ファイルが選択されていません。"
    CommentFileMissing,  // the comment file question was asked; nothing written
    PageKept,            // the contents page in the page's place was not to be replaced;
                         // nothing written
    Cancelled,           // stopped (input.stop): pages ended properly, or old ones kept
    Failed,              // a write or other failure, already shown to the user
};

// The questions a run asks its front end.
enum class RunQuestion {
    OpenCommentEditor,  // the folder has no comment file: open the comment editor?
    OpenBrowser,        // the catalogue is made: open it in the browser?
    LeaveOutPhoto,      // a photograph cannot be read: leave it out and go on? (a Yes holds
                        // for the rest of the run; No stops the run on that failure)
    ReplacePage,        // the page's name is taken by a contents page: replace it? (the
                        // question's first line names the page and what it is)
};

// The notice listing photographs a run left out: the first ten names and how many in all.
QString leftOutPhotosMessage(const QStringList& names);
// The line saying how many photographs the pages link as they are carry a GPS position.
QString positionsLinkedMessage(int count);
// The fixed questions (comment editor, browser) in their parts in its parts;
// CatalogRunHost::question receives its text().
Question runQuestion(RunQuestion kind);

// What a run tells its front end, one way: nothing is answered. The events come in this
// order: runStarted; per list entry entryReached, and per selected image imageStarted, then
// imageRead and either imageSkipped or imageFinished (or imageLeftOut instead of all three);
// pagesFinished; runEnded last, on every way out. thumbnailsDone comes between them whenever
// the count of finished thumbnails grows. All come from the thread that called
// CatalogRun::execute; a front end shows them its own way and overrides only those it shows.
class CatalogRunEvents {
public:
    virtual ~CatalogRunEvents() = default;

    // The run has begun on `total` selected images (0: nothing is selected, the run ends
    // next). The front end's inputs stay locked until runEnded.
    virtual void runStarted(int total) { (void)total; }
    // The list entry at index was deselected (an entry named "back.jpg"); comes before
    // runStarted.
    virtual void deselected(int index) { (void)index; }
    // The catalogue page dated `date` is being begun; the images follow.
    virtual void pageStarted(const QDate& date) { (void)date; }
    // The loop has reached list entry `index` (selected or not); a cancel is seen here.
    virtual void entryReached(int index) { (void)index; }
    // The image numbered `number` (from 1) of `total` is in hand: its thumbnail is being made
    // (by this thread, or awaited from the workers).
    virtual void imageStarted(int number, int total, const QString& name) {
        (void)number, (void)total, (void)name;
    }
    // The photograph of image `number` was read and measured.
    virtual void imageRead(int number, const QString& name) { (void)number, (void)name; }
    // The photograph `name` could not be read and is left out of the pages (no thumbnail, no
    // cell, no slide; the images after it are numbered on without a gap). reason tells why.
    virtual void imageLeftOut(const QString& name, const QString& reason) {
        (void)name, (void)reason;
    }
    // Image `number` keeps its existing thumbnail (skipExistingThumbs).
    virtual void imageSkipped(int number, const QString& name) { (void)number, (void)name; }
    // Image `number` has its new thumbnail, made by the method given.
    virtual void imageFinished(int number, const PixelImage& thumbnail,
                               ThumbnailMaker::Method method) {
        (void)number, (void)thumbnail, (void)method;
    }
    // `done` of the `total` thumbnails are made (or kept, or left out), the last of them for
    // `name`. Workers making thumbnails ahead of the page let it run ahead of imageStarted.
    virtual void thumbnailsDone(int done, int total, const QString& name) {
        (void)done, (void)total, (void)name;
    }
    // Both pages are ended and put in place (after the last image, or after a cancel; a
    // cancel over an earlier catalogue page drops them and keeps the earlier ones); the
    // browser step follows when the run was not cancelled.
    virtual void pagesFinished() {}
    // The run stops on a failure; the failure is shown next (information or showError).
    virtual void runFailed() {}
    // The run is over, in the way the outcome says. The last call of every run.
    virtual void runEnded(CatalogRunOutcome outcome) { (void)outcome; }
};

// What a run asks its front end and waits for: notices, questions and the comment switch.
// Called from the thread that called CatalogRun::execute, in the run's order among the events.
class CatalogRunDecisions {
public:
    virtual ~CatalogRunDecisions() = default;

    // The comment switch (the window's comment box), sampled after each image.
    virtual bool commentsOn() = 0;
    // A notice with one OK button.
    virtual void information(const QString& text) = 0;
    // A Yes/No question captioned "Tessaly"; true for Yes. The kind says which question it
    // is, so a front end can answer it without reading the text.
    virtual bool question(RunQuestion kind, const QString& text) = 0;
    // An unforeseen failure, shown with its own text.
    virtual void showError(const QString& text) = 0;
    // Opens the comment editor on the run's folder (menu command openCommentsAction); returns when
    // it closes.
    virtual void openCommentEditor() = 0;
};

// A front end that shows the events and answers the questions itself.
class CatalogRunHost : public CatalogRunEvents, public CatalogRunDecisions {};

// The catalogue run: thumbnails, catalogue page, slide show page and the browser step.
// Page lines are written in list order as each image is done. With several jobs, worker
// threads make the thumbnails ahead (largest files first), their decodes bounded together by
// a decode budget, and only thumbnails wait for the page, so memory does not grow with the
// number of images.
class CatalogRun {
public:
    // The run keeps its own copy of the settings: nothing the caller changes later reaches it.
    CatalogRun(const CatalogSettings& settings, CatalogRunEvents& events,
               CatalogRunDecisions& decisions, Shell& shell);
    CatalogRun(const CatalogSettings& settings, CatalogRunHost& host, Shell& shell);
    // Waits for the decodes that a cancelled run left to finish.
    ~CatalogRun();
    CatalogRun(const CatalogRun&) = delete;
    CatalogRun& operator=(const CatalogRun&) = delete;

    // Runs the whole catalogue and returns when the run has ended in any way; open files are
    // closed and runEnded() has been called. Never throws: failures are shown through the
    // decisions. input.selected loses the flags of "back.jpg" entries.
    CatalogRunOutcome execute(CatalogRunInput& input);

    // A stop (input.stop) means no browser step. Pages of an earlier run stay as they were,
    // with the thumbnails they show (the stop message says so); without them the new pages
    // end properly with the images done. Pages, and the new thumbnails and copies with them,
    // are put in place only when a run ends so, or completes: a failed run leaves the earlier
    // ones untouched. With workers, the run stops without waiting for the thumbnails being
    // made: their results are dropped and the decodes finish in the background (the
    // destructor waits for them, and their work folders go with them).

    // The browser step of a completed run: asks whether to open the page (the published one
    // when the settings name a publish folder) and opens it. The
    // question also says how many linked photographs carry a GPS position, when any do.
    static void offerBrowser(const CatalogSettings& settings, const QString& folder,
                             CatalogRunDecisions& decisions, Shell& shell, int positionsLinked = 0);

    // True from the start of execute until it returns.
    bool isActive() const noexcept;

private:
    struct Run;
    struct Retired;
    void reportFailure(std::exception_ptr failure) noexcept;

    const CatalogSettings settings_;
    CatalogRunEvents& events_;
    CatalogRunDecisions& decisions_;
    Shell& shell_;
    std::vector<std::unique_ptr<Retired>> retired_;  // workers of stopped runs, finishing
    std::atomic<bool> running_{false};
};

}  // namespace tessaly
