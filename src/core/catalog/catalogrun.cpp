#include "core/catalog/catalogrun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <memory>
#include <new>
#include <optional>
#include <set>
#include <thread>

#include "core/catalog/backgroundcopy.h"
#include "core/catalog/copyrecord.h"
#include "core/catalog/outputguard.h"
#include "core/catalog/outputplan.h"
#include "core/catalog/photoarchive.h"
#include "core/catalog/runfolders.h"
#include "core/catalog/sitepublication.h"
#include "core/catalog/thumbnailwork.h"
#include "core/comments/commenttable.h"
#include "core/imaging/files/filereplacement.h"
#include "core/imaging/files/workfolder.h"
#include "core/imaging/jobs/webcopy.h"
#include "core/imaging/reader/photoformats.h"
#include "core/pages/classic/slideshowwriter.h"
#include "core/pages/pagekind.h"
#include "core/pages/pageset.h"
#include "core/pages/pagetext.h"
#include "core/settings/outputnames.h"
#include "core/text/errors.h"
#include "core/text/formatting.h"
#include "core/text/writeproblem.h"
#include "core/work/decodebudget.h"
#include "core/work/orderedpool.h"

namespace tessaly {

namespace {

const QString kWriteError =
    QStringLiteral("ファイル書き込みエラーが発生しました。\n処理は中断されました。");
const QString kNothingSelected = QStringLiteral("ファイルが選択されていません。");
const Question kNoCommentFile = {QStringLiteral("コメントファイルが見つかりません。"),
                                 QStringLiteral("コメント作成ウインドウを開きますか？")};
const QString kNoBackground = QStringLiteral("背景ファイルが存在しません。\n再設定が必要です。");
const QString kStopped = QStringLiteral("処理は中断されました。");
const QString kNotPublished =
    QStringLiteral("%1 の公開用コピーがないため、公開フォルダに書き込みません。");
const QString kPublishOverPhotos = QStringLiteral(
    "公開フォルダ %1 は写真のフォルダか、その上のフォルダです。\n別のフォルダを指定してください。");
const QString kLeaveOutQuestion = QStringLiteral("\nこの画像を除いて続けますか？");
const QString kPagesKept = QStringLiteral("前回のページ（%1）は元のまま残しています。");
const Question kFinishedQuestion = {QStringLiteral("　　　　ファイル作成終了　　　　"),
                                    QStringLiteral("ブラウザを起動しますか？")};

const QString kPositionsLinked = QStringLiteral(
    "位置情報を含む画像が %1 枚リンクされています（公開用コピーを作ると取り除かれます）");

// Thumbnails waiting for the page hold at most this much before the workers make only the
// one the page needs next.
constexpr qint64 kHeldThumbnailBytes = qint64(64) << 20;

// Thrown inside a run for a failure the run reports with the write error message, followed by
// what stopped the write (which file, and why) when that is known.
struct WriteFailure {
    QString problem;
};

}  // namespace

QString positionsLinkedMessage(int count) { return kPositionsLinked.arg(count); }

Question runQuestion(RunQuestion kind) {
    return kind == RunQuestion::OpenBrowser ? kFinishedQuestion : kNoCommentFile;
}

// The state of one run, from the start of execute until it returns.
struct CatalogRun::Run {
    Run(CatalogRun& owner, CatalogRunInput& input)
        : owner(owner),
          events(owner.events_),
          decisions(owner.decisions_),
          settings(owner.settings_),
          input(input) {}

    CatalogRunOutcome perform();
    void deselectBackground();
    void makePlan();
    bool askForCommentFile();
    bool mayReplacePage();
    bool prepareThumbnailFolder();
    void prepareWebCopies();
    void guardOutputs();
    void copyBackground();
    void startPages();
    void makeThumbnails();
    QString stopMessage() const;
    void openWorkFolder();
    void startWorkers();
    void processImage(int k, ThumbnailResult result);
    bool leaveOut(int k, const std::exception_ptr& failure);
    QString firstKept() const;
    std::optional<ThumbnailResult> nextResult(int k);
    void reportDone(const QString& name);
    void stopWorkers();
    void retireWorkers();
    static QString workName(int k, bool doubled);
    static QString copyWorkName(int k);
    QString workFile(int k, bool doubled) const;
    bool moveIntoPlace(int k);
    ThumbnailJob jobFor(int k);
    void keepCopy(int k, const ThumbnailResult& result);
    void publishThumbnails();
    void publishCopies();
    void removeStaleCopies();
    void makeArchive();
    void checkPublishFolder() const;
    void publishSite();
    void addPhotoOutputs(SitePublication& site) const;
    void writeEntry(int k, int width, int height);
    void finishPages();
    void showFinished(int done, const QString& last);
    void closeAll() noexcept;
    WriteFailure writeFailure(const QString& path, int error = 0) const;
    const PlannedPhoto& photo(int k) const { return plan->photos()[std::size_t(k)]; }

    CatalogRun& owner;
    CatalogRunEvents& events;
    CatalogRunDecisions& decisions;
    const CatalogSettings& settings;
    CatalogRunInput& input;
    // Every output of the run (a photograph's k: its place among the selected), and the
    // pages that show them, decided before anything is written.
    std::optional<OutputPlan> plan;
    std::unique_ptr<PageSet> pages;
    QString folder;
    QString thumbFolder;
    QString title;
    int perRow = 5;
    QDate date;
    int n = 0;
    int selectedCount = 0;
    int largestWidth = 0;
    int largestHeight = 0;
    bool commentsOn = false;
    QStringList earlierPages;   // pages of an earlier run that this one would replace
    bool stoppedEarly = false;  // cancelled before every image was done
    ThumbnailBox box{};
    CommentTable comments;
    std::shared_ptr<DecodeBudget> budget = std::make_shared<DecodeBudget>(
        input.decodeLimit > 0 ? input.decodeLimit : DecodeBudget::defaultLimit());
    RunFolders folders;  // the output folders, opened without following a link
    // New thumbnails wait here, with the new pages and copies, until the pages go in place.
    std::unique_ptr<WorkFolder> scratch;
    std::vector<int> newThumbnails;      // the photographs whose thumbnails wait in scratch
    std::vector<int> newCopiesOfPhotos;  // those whose JPEG copies (HEIC, HEIF) wait there too
    std::unique_ptr<OrderedPool<ThumbnailResult>> pipeline;
    std::vector<ThumbnailJob> jobs;  // those the workers make, in list order
    // Wakes the loop waiting for the workers, and the decodes waiting for their admission (one
    // made here, without workers, finishes).
    std::unique_ptr<StopToken::Callback> poolStop;
    bool leaveOutAgreed = false;  // the front end agreed to leave unreadable photographs out
    std::vector<int> leftOut;     // the photographs left out
    int doneShown = 0;            // the thumbnailsDone count last reported
    // Web copies: made into copyScratch and moved into webFolder when the pages are put in
    // place, so that a failed or stopped run leaves the earlier copies as they were.
    bool webCopies = false;
    WebCopyPolicy copyPolicy;
    bool copyPolicyKept = false;  // the copies in webFolder were made under copyPolicy
    QString webFolder;
    std::unique_ptr<WorkFolder> copyScratch;
    CopyRecord copyRecord;  // the copies an earlier run left in webFolder
    std::vector<std::pair<QString, QString>> newCopies;  // scratch file, copy name
    QStringList copyNames;                               // the copies the pages link to
    std::set<int> withWebCopy;                           // the photographs linked to theirs
    int withPosition = 0;  // photographs linked as they are that carry a GPS position
};

// The workers of a stopped run: a thread waits for the decodes in hand, then removes the
// work folders they wrote into (thumbnails, web copies).
struct CatalogRun::Retired {
    std::thread finisher;
    ~Retired() { finisher.join(); }
};

namespace {

bool stopped(const CatalogRunInput& input) { return input.stop.stopRequested(); }

}  // namespace

QString leftOutPhotosMessage(const QStringList& names) {
    constexpr int kNamesShown = 10;
    QString text = QStringLiteral("読み込めない画像 %1 枚を除きました。").arg(names.size());
    for (int i = 0; i < std::min(kNamesShown, int(names.size())); ++i)
        text += QLatin1Char('\n') + names[i];
    if (names.size() > kNamesShown)
        text += QStringLiteral("\nほか %1 枚").arg(names.size() - kNamesShown);
    return text;
}

CatalogRun::CatalogRun(const CatalogSettings& settings, CatalogRunEvents& events,
                       CatalogRunDecisions& decisions, Shell& shell)
    : settings_(settings), events_(events), decisions_(decisions), shell_(shell) {}

CatalogRun::CatalogRun(const CatalogSettings& settings, CatalogRunHost& host, Shell& shell)
    : CatalogRun(settings, host, host, shell) {}

CatalogRun::~CatalogRun() = default;

bool CatalogRun::isActive() const noexcept { return running_.load(); }

CatalogRunOutcome CatalogRun::execute(CatalogRunInput& input) {
    if (running_.exchange(true)) return CatalogRunOutcome::Failed;  // never entered twice
    CatalogRunOutcome outcome = CatalogRunOutcome::Failed;
    {
        Run run(*this, input);
        try {
            outcome = run.perform();
        } catch (...) {
            run.closeAll();
            try {
                events_.runFailed();
            } catch (...) {
            }
            reportFailure(std::current_exception());
        }
    }
    try {
        events_.runEnded(outcome);
    } catch (...) {
    }
    running_.store(false);
    return outcome;
}

// Shows why a run stopped: the write error message for a failed write, otherwise the
// failure's own text. Output files are closed by then.
void CatalogRun::reportFailure(std::exception_ptr failure) noexcept {
    try {
        try {
            std::rethrow_exception(failure);
        } catch (const WriteFailure& write) {
            decisions_.information(write.problem.isEmpty()
                                       ? kWriteError
                                       : kWriteError + QLatin1Char('\n') + write.problem);
        } catch (const std::bad_alloc&) {
            decisions_.showError(outOfMemoryMessage());
        } catch (const Error& error) {
            decisions_.showError(error.message());
            logDetail(error);
        } catch (const std::exception& error) {
            decisions_.showError(QString::fromLocal8Bit(error.what()));
        } catch (...) {
            decisions_.showError(kStopped);
        }
    } catch (...) {
    }
}

CatalogRunOutcome CatalogRun::Run::perform() {
    folder = folderPath(input.folder);
    title = input.titleIsName ? htmlText(input.title) : input.title;
    perRow = kImagesPerRow.clamped(input.perRow);
    commentsOn = decisions.commentsOn();
    deselectBackground();
    makePlan();
    events.runStarted(selectedCount);
    if (selectedCount == 0) {
        decisions.information(kNothingSelected);
        return CatalogRunOutcome::NothingSelected;
    }
    // Names that would reach outside the folder stop the run before anything is written.
    checkOutputNames(settings);
    checkPublishFolder();
    if (askForCommentFile()) return CatalogRunOutcome::CommentFileMissing;
    if (!mayReplacePage()) return CatalogRunOutcome::PageKept;
    date = input.date.isValid() ? input.date : QDate::currentDate();
    if (!prepareThumbnailFolder()) throw WriteFailure{};
    prepareWebCopies();
    guardOutputs();
    FileReplacement::removeAbandoned(folder);
    FileReplacement::removeAbandoned(thumbFolder);
    if (webCopies) FileReplacement::removeAbandoned(webFolder);
    if (QFileInfo::exists(CommentTable::filePath(folder))) comments.load(folder);
    if (!plan->layout().background().path.isEmpty()) copyBackground();
    startPages();
    makeThumbnails();
    finishPages();
    retireWorkers();
    events.pagesFinished();
    if (stopped(input)) return CatalogRunOutcome::Cancelled;
    if (!settings.publishFolder.isEmpty()) publishSite();
    if (input.positionsLinked) input.positionsLinked->store(withPosition);
    if (input.browserStep) offerBrowser(settings, folder, decisions, owner.shell_, withPosition);
    return CatalogRunOutcome::Completed;
}

// Entries named "back.jpg" (the background image's copy) are never catalogued.
void CatalogRun::Run::deselectBackground() {
    input.selected.resize(static_cast<std::size_t>(input.names.size()), false);
    for (int i = 0; i < input.names.size(); ++i) {
        if (input.selected[static_cast<std::size_t>(i)] &&
            input.names[i] == QStringLiteral("back.jpg")) {
            input.selected[static_cast<std::size_t>(i)] = false;
            events.deselected(i);
        }
    }
}

void CatalogRun::Run::makePlan() {
    pages = PageSet::make(settings, OutputLayout(settings, folder));
    plan.emplace(settings, folder, input.names, input.selected, input.allFormats,
                 pages->needsDoubles());
    selectedCount = int(plan->photos().size());
    thumbFolder = plan->layout().thumbFolder();
    webCopies = plan->webCopies();
    webFolder = plan->layout().webFolder();
}

bool CatalogRun::Run::askForCommentFile() {
    if (!decisions.commentsOn() || QFileInfo::exists(CommentTable::filePath(folder))) return false;
    if (decisions.question(RunQuestion::OpenCommentEditor, kNoCommentFile.text()))
        decisions.openCommentEditor();
    return true;
}

// A contents page under the page's name is replaced only when the front end agrees.
bool CatalogRun::Run::mayReplacePage() {
    const QString& path = pages->files().page.path;
    if (pageKindOf(path) != PageKind::Contents) return true;
    return decisions.question(RunQuestion::ReplacePage,
                              pageReplacementQuestion(path, PageKind::Contents).text());
}

// Creates the thumbnail folder when needed. Refuses a thumbnail folder that is the image
// folder itself when no prefix tells thumbnails from photographs: every thumbnail would
// replace its own photograph.
bool CatalogRun::Run::prepareThumbnailFolder() {
    // Opened (and made when missing) without following a link: one in place of the folder is
    // refused, whatever it points to.
    folders.photos = FolderHandle::open(folder);
    if (folders.photos.isOpen())
        folders.thumbs = folders.photos.sub(settings.thumbFolderName, true);
    if (!folders.thumbs.isOpen())
        throw WriteFailure{folderWriteProblem(thumbFolder, settings.thumbFolderName, errno)};
    if (pages->needsDoubles()) {
        folders.doubles = folders.thumbs.sub(OutputLayout::doubleFolderName(), true);
        if (!folders.doubles.isOpen()) return false;
    }
    const bool sameFolder =
        QFileInfo(thumbFolder).canonicalFilePath() == QFileInfo(folder).canonicalFilePath();
    return !(sameFolder && settings.thumbPrefix.isEmpty());
}

// Every file the run is going to write lies in the folder or the thumbnail folder and is none
// of the photographs it reads (a link in place of a page or thumbnail could point anywhere).
void CatalogRun::Run::guardOutputs() {
    QStringList background;  // the copy, and earlier copies it removes
    if (!plan->layout().background().path.isEmpty()) {
        background = {backgroundTargetName(settings.backgroundFile), QStringLiteral("back.jpg"),
                      QStringLiteral("back.gif")};
    }
    plan->guard(pages->files(), background);
}

// The web copies' folder and the scratch folder new copies go into; whether the copies there
// were made as these will be.
void CatalogRun::Run::prepareWebCopies() {
    if (!webCopies) return;
    copyPolicy.longSide = settings.rangedNumber(&CatalogSettings::webCopyLongSide);
    copyPolicy.keepLocation = settings.webCopyLocation == QLatin1String("keep");
    copyPolicy.quality = OutputLayout::thumbnailBox(settings).quality;
    folders.web = folders.thumbs.sub(QLatin1String(WebCopy::kFolderName), true);
    if (!folders.web.isOpen()) throw writeFailure(webFolder, errno);
    copyRecord = CopyRecord::read(folders.web);
    copyPolicyKept = copyRecord.policyLine() == copyPolicy.recordLine();
    copyScratch = std::make_unique<WorkFolder>(folders.web);
    if (!copyScratch->isValid()) throw writeFailure(copyScratch->path(), errno);
}

void CatalogRun::Run::copyBackground() {
    if (!QFileInfo(settings.backgroundFile).isFile()) {
        decisions.information(kNoBackground);
        return;
    }
    try {
        installBackground(settings.backgroundFile, folders.thumbs);
    } catch (const IoError&) {
        throw writeFailure(folderPath(thumbFolder) + backgroundTargetName(settings.backgroundFile));
    }
}

void CatalogRun::Run::startPages() {
    events.pageStarted(date);
    const PageFiles& files = pages->files();
    for (const PlacedFile* page : {&files.page, &files.slideShowPage}) {
        if (!page->path.isEmpty() && QFileInfo::exists(page->path)) earlierPages << page->fromPage;
    }
    try {
        pages->start({title, perRow, date, selectedCount, photo(0).thumbnailFileName});
    } catch (const PageStartFailure& failure) {
        throw writeFailure(failure.path);
    }
}

// The loop over the list in list order: each image made here, or by worker threads ahead of
// the loop when input.jobs asks for them; either way the page sees the same sequence.
void CatalogRun::Run::makeThumbnails() {
    box = OutputLayout::thumbnailBox(settings);
    openWorkFolder();
    if ((input.jobs > 1 && selectedCount > 1) || input.stopWithoutWaiting) startWorkers();
    int k = 0;  // the next selected photograph
    for (int i = 0; i <= plan->lastIndex(); ++i) {
        events.entryReached(i);
        if (stopped(input)) {
            stoppedEarly = true;
            decisions.information(stopMessage());
            break;
        }
        if (photo(k).index != i) continue;
        ++n;
        events.imageStarted(n, selectedCount, input.names[i]);
        std::optional<ThumbnailResult> result = nextResult(k);
        if (!result) {  // cancelled while the workers made it: the image is left out
            --n;
            stoppedEarly = true;
            decisions.information(stopMessage());
            break;
        }
        processImage(k++, std::move(*result));
        reportDone(input.names[i]);
    }
    stopWorkers();
}

// A run stopped over pages of an earlier run keeps those, and says so.
QString CatalogRun::Run::stopMessage() const {
    if (!earlierPages.contains(pages->files().page.fromPage)) return kStopped;
    return kStopped + QLatin1Char('\n') + kPagesKept.arg(earlierPages.join(QStringLiteral("、")));
}

// New thumbnails are written into a work folder inside the thumbnail folder and go to their
// own names just before the pages, so that pages kept from an earlier run keep their own.
void CatalogRun::Run::openWorkFolder() {
    scratch = std::make_unique<WorkFolder>(folders.thumbs);
    if (!scratch->isValid()) throw writeFailure(scratch->path(), errno);
}

// A thumbnail's file in the work folder: numbers only, like every file a work folder holds,
// so that a later run can clean up after one that was killed.
QString CatalogRun::Run::workName(int k, bool doubled) {
    return QString::number(3 * k + (doubled ? 1 : 0)) + QStringLiteral(".jpg");
}

// The work file of photograph k's JPEG copy, beside its thumbnails'.
QString CatalogRun::Run::copyWorkName(int k) {
    return QString::number(3 * k + 2) + QStringLiteral(".jpg");
}

QString CatalogRun::Run::workFile(int k, bool doubled) const {
    return scratch->filePath(workName(k, doubled));
}

// Workers make the thumbnails into the work folder. What they use is their own, so that a
// cancelled run can leave them to finish their decodes in the background.
void CatalogRun::Run::startWorkers() {
    std::vector<qint64> sizes;
    for (int k = 0; k < selectedCount; ++k) {
        jobs.push_back(jobFor(k));
        sizes.push_back(QFileInfo(jobs.back().sourcePath).size());
    }
    OrderedPool<ThumbnailResult>::Plan plan;
    plan.workers = std::max(1, input.jobs);
    plan.startOrder = PoolPlanning::largestFirst(sizes);  // no worker waits behind a large one
    plan.heldBytes = [](const ThumbnailResult& result) {
        return result.preview.width() > 1
                   ? qint64(result.preview.stride()) * result.preview.height()
                   : qint64(0);
    };
    plan.heldLimit = kHeldThumbnailBytes;
    plan.budget = budget;
    pipeline = std::make_unique<OrderedPool<ThumbnailResult>>(
        int(jobs.size()), std::move(plan),
        [jobs = jobs, box = box, skip = settings.isOn(&CatalogSettings::skipExistingThumbs),
         budget = budget, decoding = input.decoding, all = input.allFormats,
         before = input.beforeMaking](int k) {
            if (before) before(jobs[k].sourcePath);
            return makeThumbnail(jobs[k], box, skip, budget.get(), decoding, all);
        });
    poolStop = std::make_unique<StopToken::Callback>(input.stop,
                                                     [pool = pipeline.get()] { pool->stop(); });
}

// The result of photograph k: made here, or taken from the workers in list order. Nothing
// when the run is cancelled while the workers still make it.
std::optional<ThumbnailResult> CatalogRun::Run::nextResult(int k) {
    if (pipeline) {
        return pipeline->take(k, [this](int finished, int last) {
            showFinished(finished, QFileInfo(jobs[last].sourcePath).fileName());
        });
    }
    if (input.beforeMaking) input.beforeMaking(photo(k).photo.path);
    return makeThumbnail(jobFor(k), box, settings.isOn(&CatalogSettings::skipExistingThumbs),
                         budget.get(), input.decoding, input.allFormats);
}

// The job of photograph k: its thumbnail (and its double-size one, when the pages show
// them) written into the work folder, its web copy (when the run makes copies) into the
// copies' scratch folder.
ThumbnailJob CatalogRun::Run::jobFor(int k) {
    const PlannedPhoto& planned = photo(k);
    ThumbnailJob job;
    job.sourcePath = planned.photo.path;
    job.thumbPath = planned.thumbnail.path;
    job.outputPath = workFile(k, false);
    job.copyPath = planned.browserCopy.path;
    job.copyOutputPath = scratch->filePath(copyWorkName(k));
    if (!planned.doubleThumbnail.path.isEmpty()) {
        job.doublePath = planned.doubleThumbnail.path;
        job.doubleOutputPath = workFile(k, true);
    }
    job.checkPosition = !webCopies;
    if (!webCopies) return job;
    job.webCopyPath = planned.webCopy.path;
    job.webCopyOutput =
        copyScratch->filePath(QString::number(planned.index) + QStringLiteral(".jpg"));
    job.webCopyPolicyKept = copyPolicyKept;
    job.webCopyPolicy = copyPolicy;
    return job;
}

// Tells the front end how many thumbnails are done when the count has grown; `name` is the
// image just done here (workers say which they finished last).
void CatalogRun::Run::reportDone(const QString& name) {
    if (!pipeline) {
        showFinished(n + int(leftOut.size()), name);
        return;
    }
    int last = 0;
    const int finished = pipeline->finished(last);
    if (finished > 0) showFinished(finished, QFileInfo(jobs[last].sourcePath).fileName());
}

void CatalogRun::Run::showFinished(int done, const QString& last) {
    if (done <= doneShown) return;
    doneShown = done;
    events.thumbnailsDone(done, selectedCount, last);
}

// The workers stop once the loop is over; those still decoding after a cancel finish in the
// background.
void CatalogRun::Run::stopWorkers() {
    poolStop.reset();
    if (pipeline) pipeline->stop();
}

// Once the pages are in place the work folders go. After a cancel the decodes still in hand
// write into them until they finish: the folders go once they have.
void CatalogRun::Run::retireWorkers() {
    if (!pipeline || !stoppedEarly) {  // nothing is left to wait for
        pipeline.reset();
        scratch.reset();
        copyScratch.reset();
        return;
    }
    auto retired = std::make_unique<Retired>();
    retired->finisher = std::thread([workers = std::move(pipeline), folder = std::move(scratch),
                                     copies = std::move(copyScratch)]() mutable {
        workers.reset();
        folder.reset();
        copies.reset();
    });
    owner.retired_.push_back(std::move(retired));
}

void CatalogRun::Run::processImage(int k, ThumbnailResult result) {
    if (result.loadError && leaveOut(k, result.loadError)) return;
    if (result.loadError) std::rethrow_exception(result.loadError);
    const QString& name = photo(k).name;
    events.imageRead(n, name);
    largestWidth = std::max(largestWidth, result.imageWidth);
    largestHeight = std::max(largestHeight, result.imageHeight);
    if (result.skipped) {
        events.imageSkipped(n, name);
    } else {
        if (result.saveError) throw writeFailure(photo(k).thumbnail.path);
        newThumbnails.push_back(k);
        if (result.copyMade) newCopiesOfPhotos.push_back(k);
        events.imageFinished(n, result.preview, result.method);
    }
    keepCopy(k, result);
    if (result.position) ++withPosition;
    result.preview = PixelImage();
    writeEntry(k, result.imageWidth, result.imageHeight);
}

// A photograph that cannot be read is left out when the front end agrees (asked once: a Yes
// holds for the rest of the run); false when the run is to stop on the failure.
bool CatalogRun::Run::leaveOut(int k, const std::exception_ptr& failure) {
    std::optional<Error> unread;
    try {
        std::rethrow_exception(failure);
    } catch (const Error& error) {
        unread = error;
    } catch (...) {
        return false;  // out of memory and the like: nothing the photograph could help
    }
    const QString& name = photo(k).name;
    const QString prefix = name + QStringLiteral(": ");
    QString reason = unread->message();
    if (reason.startsWith(prefix)) reason = reason.mid(prefix.size());
    if (!leaveOutAgreed) {
        leaveOutAgreed =
            decisions.question(RunQuestion::LeaveOutPhoto, prefix + reason + kLeaveOutQuestion);
        if (!leaveOutAgreed) return false;  // the failure is shown, and logged, as it stands
    }
    logDetail(*unread);  // the decoder's own text goes to standard error only
    --n;                 // the next image takes its number
    leftOut.push_back(k);
    events.imageLeftOut(name, reason);
    return true;
}

// The thumbnail file name of the first selected photograph not left out: the page's first.
QString CatalogRun::Run::firstKept() const {
    for (int k = 0; k < selectedCount; ++k) {
        if (std::find(leftOut.begin(), leftOut.end(), k) == leftOut.end())
            return photo(k).thumbnailFileName;
    }
    return plan->layout().thumbnailFileName(QString());
}

// Moves a new thumbnail (and its double-size one) from the work folder to its own name.
bool CatalogRun::Run::moveIntoPlace(int k) {
    const PlannedPhoto& planned = photo(k);
    const QString& name = planned.thumbnailFileName;
    const FolderHandle& work = scratch->handle();
    if (!planned.doubleThumbnail.path.isEmpty() &&
        !work.move(workName(k, true), folders.doubles, name)) {
        return false;
    }
    return work.move(workName(k, false), folders.thumbs, name);
}

// A new web copy waits in the scratch folder for the pages to be put in place.
void CatalogRun::Run::keepCopy(int k, const ThumbnailResult& result) {
    if (!webCopies || !result.webCopy) return;
    const PlannedPhoto& planned = photo(k);
    if (result.webCopyError) throw writeFailure(planned.webCopy.path);
    copyNames << planned.webCopyName;
    withWebCopy.insert(k);
    if (result.webCopyMade) {
        newCopies.emplace_back(
            copyScratch->filePath(QString::number(planned.index) + QStringLiteral(".jpg")),
            planned.webCopyName);
    }
}

void CatalogRun::Run::writeEntry(int k, int width, int height) {
    const PlannedPhoto& planned = photo(k);
    CatalogEntry entry;
    entry.fileName = planned.name;
    entry.shortName = planned.shortName;
    entry.imageWidth = width;
    entry.imageHeight = height;
    entry.scale = ThumbnailMaker::fitRatio(width, height, box);
    ThumbnailMaker::nominalSize(width, height, box, entry.thumbnailWidth, entry.thumbnailHeight);
    const bool viaWebCopy = withWebCopy.count(k) > 0;
    entry.link = planned.linkTarget(viaWebCopy).fromPage;
    entry.thumbnail = planned.thumbnail.fromPage;
    entry.doubleThumbnail = planned.doubleThumbnail.fromPage;
    if (viaWebCopy) {  // the pages link to the copy, and show it at its own size
        WebCopy::copySize(width, height, copyPolicy.longSide, entry.imageWidth, entry.imageHeight);
        width = entry.imageWidth;
        height = entry.imageHeight;
    }
    const CommentLines lines = comments.lookUp(entry.fileName);
    entry.comment1 = lines.first;
    entry.comment2 = lines.second;
    SlideShowWriter::slideSize(settings, width, height, entry.slideWidth, entry.slideHeight);
    commentsOn = decisions.commentsOn();
    pages->add(n, entry, commentsOn);
}

// Ends the pages and puts them in place with the new thumbnails and copies they show, so that
// a failure on the way leaves the earlier catalogue page as it was. A run stopped over an
// earlier catalogue page drops its own pages, thumbnails and copies instead.
void CatalogRun::Run::finishPages() {
    if (stoppedEarly && earlierPages.contains(pages->files().page.fromPage)) {
        pages->close();  // the work folders go with the workers
        return;
    }
    PageSetEnd end;
    end.count = n;
    if (!leftOut.empty()) end.restatedCount = selectedCount - int(leftOut.size());
    end.firstThumbnail = firstKept();
    end.largestWidth = largestWidth;
    end.largestHeight = largestHeight;
    end.commentsOn = commentsOn;
    pages->finish(end);
    publishThumbnails();
    publishCopies();
    makeArchive();
    pages->publish();
    if (webCopies && !stoppedEarly) removeStaleCopies();
}

// Moves the new thumbnails to their names, just before the pages that show them.
void CatalogRun::Run::publishThumbnails() {
    for (const int k : newThumbnails) {
        if (!moveIntoPlace(k)) throw writeFailure(photo(k).thumbnail.path, errno);
    }
    newThumbnails.clear();
    for (const int k : newCopiesOfPhotos) {
        const QString& copy = photo(k).browserCopy.path;
        if (!scratch->handle().move(copyWorkName(k), folders.thumbs, QFileInfo(copy).fileName()))
            throw writeFailure(copy, errno);
    }
    newCopiesOfPhotos.clear();
}

// Moves the new web copies to their names, just before the pages that link to them.
void CatalogRun::Run::publishCopies() {
    if (!webCopies) return;
    for (const auto& [from, name] : newCopies) {
        const QString scratchName = QFileInfo(from).fileName();
        if (!copyScratch->handle().move(scratchName, folders.web, name))
            throw writeFailure(webFolder + QLatin1Char('/') + name, errno);
    }
    newCopies.clear();
}

// The zip of the copies the pages offer (those made so far, when stopped), made again only
// when a copy changed; it goes into place with the pages.
void CatalogRun::Run::makeArchive() {
    const PlacedFile& zip = pages->files().download;
    if (zip.path.isEmpty() || PhotoArchive::upToDate(zip.path, folders.web, copyNames)) return;
    const QString name = QFileInfo(zip.path).fileName();
    PhotoArchive::make(copyScratch->filePath(name), folders.web, copyNames);
    if (!copyScratch->handle().move(name, folders.thumbs, name))
        throw writeFailure(zip.path, errno);
}

// After a run that made every copy: the copies of photographs no longer on the pages that the
// record names go, and the record names the policy the copies were made under and the copies.
void CatalogRun::Run::removeStaleCopies() {
    copyRecord.removeStale(folders.web, copyNames);
    try {
        CopyRecord::write(folders.web, copyPolicy.recordLine(), copyNames);
    } catch (const Error&) {
        // Without the record the next run makes the copies again: nothing is lost.
    }
}

// A site published into the photo folder or a folder above it would write over its pages.
void CatalogRun::Run::checkPublishFolder() const {
    if (settings.publishFolder.isEmpty()) return;
    const auto real = [](const QString& path) {
        const QString canonical = QFileInfo(path).canonicalFilePath();
        return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(path).absoluteFilePath())
                                   : canonical;
    };
    const QString site = real(settings.publishFolder);
    const QString photos = real(folder);
    if (photos == site || photos.startsWith(folderPath(site)))
        throw SettingsError(kPublishOverPhotos.arg(settings.publishFolder));
}

// The pages and what they show, written to the publish folder: the web copies in place of
// the photographs, the background through the privacy filter, nothing else.
namespace {

// True for a file that starts like a JPEG, whatever its name (a background copied as
// "back.gif" may hold one, with all its metadata).
bool holdsJpeg(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const PhotoFormatRow* row = photoFormatByContent(file.read(64));
    return row && row->format == PhotoFormat::Jpeg;
}

}  // namespace

void CatalogRun::Run::publishSite() {
    SitePublication site(settings.publishFolder, folders.thumbs);
    addPhotoOutputs(site);
    const PageFiles& files = pages->files();
    if (!files.download.path.isEmpty()) site.add({files.download.path, files.download.fromPage});
    const PlacedFile& back = files.background;
    if (!back.path.isEmpty() && QFileInfo(back.path).isFile())
        site.add({back.path, back.fromPage, holdsJpeg(back.path)});
    for (const PlacedFile* file :
         {&files.styleSheet, &files.script, &files.slideShowPage, &files.page}) {
        if (!file->path.isEmpty()) site.add({file->path, file->fromPage});
    }
    site.publish();
}

// The thumbnails and web copies of the photographs on the pages; never a photograph itself.
void CatalogRun::Run::addPhotoOutputs(SitePublication& site) const {
    for (int k = 0; k < selectedCount; ++k) {
        if (std::find(leftOut.begin(), leftOut.end(), k) != leftOut.end()) continue;
        const PlannedPhoto& planned = photo(k);
        const PlacedFile& link = planned.linkTarget(withWebCopy.count(k) > 0);
        if (link.path == planned.photo.path) throw IoError(kNotPublished.arg(planned.name));
        for (const PlacedFile* file : {&planned.thumbnail, &planned.doubleThumbnail, &link}) {
            if (!file->path.isEmpty()) site.add({file->path, file->fromPage});
        }
    }
}

void CatalogRun::offerBrowser(const CatalogSettings& settings, const QString& folder,
                              CatalogRunDecisions& decisions, Shell& shell, int positionsLinked) {
    if (settings.isOn(&CatalogSettings::noBrowserLaunch)) return;
    // The question names the page the browser will show: the published one when there is one.
    const QString shown = settings.publishFolder.isEmpty() ? folder : settings.publishFolder;
    const QString pagePath = folderPath(shown) + settings.htmlFileName;
    // A warning about positions stands on its own line before the question it is not part of.
    QString text = pagePath + QLatin1Char('\n');
    if (positionsLinked > 0) text += positionsLinkedMessage(positionsLinked) + QLatin1Char('\n');
    text += kFinishedQuestion.body;
    const Question asked{kFinishedQuestion.title, text};
    if (!decisions.question(RunQuestion::OpenBrowser, asked.text())) return;
    if (settings.browserPath.isEmpty()) {
        shell.openDocument(pagePath);
    } else {
        shell.startProgram(settings.browserPath, pagePath, folderPath(shown));
    }
}

// The failure to write path, named as the folder shows it; error is the errno value of the
// failed call when it is known here (0 otherwise).
WriteFailure CatalogRun::Run::writeFailure(const QString& path, int error) const {
    return WriteFailure{fileWriteProblem(path, QDir(folder).relativeFilePath(path), error)};
}

void CatalogRun::Run::closeAll() noexcept {
    poolStop.reset();
    pipeline.reset();
    scratch.reset();
    copyScratch.reset();
    if (pages) pages->close();
}

}  // namespace tessaly
