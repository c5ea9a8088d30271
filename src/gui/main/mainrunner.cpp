#include "gui/main/mainrunner.h"

#include <QDate>
#include <QProgressBar>
#include <QStatusBar>
#include <QThread>
#include <algorithm>
#include <utility>

#include "core/imaging/reader/photoreader.h"
#include "core/text/formatting.h"
#include "core/text/undecodablenames.h"
#include "gui/common/bridgedshell.h"
#include "gui/common/threadbridge.h"
#include "gui/imaging/displaypicture.h"
#include "gui/main/foldernavigator.h"
#include "gui/main/imagepreview.h"
#include "gui/main/queuedrunhost.h"

namespace tessaly {
namespace {

// A thumbnail made by a run is shown this far below the panel's middle.
constexpr int kRunPreviewOffset = 10;

// The counter of image number of total: "003/012" and three spaces.
QString counter(int number, int total) {
    return counterText(number) + QLatin1Char('/') + counterText(total) + QStringLiteral("   ");
}

QString methodText(ThumbnailMaker::Method method) {
    return method == ThumbnailMaker::Method::Filter ? QStringLiteral("フィルター処理")
                                                    : QStringLiteral("通常圧縮");
}

}  // namespace

MainRunner::MainRunner(MainWindow& window)
    : window_(window),
      bridge_(std::make_unique<ThreadBridge>()),
      shell_(std::make_unique<BridgedShell>(*bridge_, window.context().shell)),
      queued_(std::make_unique<QueuedRunHost>(*bridge_, *this, *this)),
      progress_(new QProgressBar(window.statusBar())) {
    progress_->setObjectName(QStringLiteral("RunProgress"));
    progress_->setAccessibleName(QStringLiteral("サムネイル作成の進み具合"));
    progress_->setFormat(QStringLiteral("%v/%m"));
    progress_->setMaximumWidth(120);
    progress_->hide();
    window.statusBar()->addPermanentWidget(progress_, 1);
}

MainRunner::~MainRunner() {
    stop_.requestStop();
    bridge_->close();
    finishWorkers();
    delete progress_;
}

// The input, the settings and the stop are made here, on the window's thread, before the run
// starts; the window's inputs are locked at once.
void MainRunner::start(std::function<void()> ended) {
    if (active_) return;
    if (worker_) finishing_.push_back(std::move(worker_));
    finishing_.erase(
        std::remove_if(finishing_.begin(), finishing_.end(),
                       [](const std::unique_ptr<QThread>& thread) { return thread->isFinished(); }),
        finishing_.end());
    CatalogRunInput input = inputFromWindow();
    input.stopWithoutWaiting = true;
    input.beforeMaking = beforeMaking_;
    input.browserStep = false;  // asked here once the run has ended
    positionsLinked_ = std::make_shared<std::atomic<int>>(0);
    input.positionsLinked = positionsLinked_;
    stop_ = input.stop;
    runSettings_ = window_.settings();
    queued_->setCommentsOn(window_.commentsWanted());
    folder_ = input.folder;
    allFormats_ = input.allFormats;
    ended_ = std::move(ended);
    active_ = true;
    closing_ = false;
    window_.setRunning(true);
    auto run = std::make_unique<CatalogRun>(runSettings_, *queued_, *queued_, *shell_);
    worker_.reset(QThread::create([run = std::move(run), input]() mutable {
        run->execute(input);
        run.reset();  // waits, off the window's thread, for the decodes a stop left in hand
    }));
    worker_->start();
}

void MainRunner::finishWorkers() {
    if (worker_) worker_->wait();
    worker_.reset();
    for (const std::unique_ptr<QThread>& thread : finishing_) thread->wait();
    finishing_.clear();
}

void MainRunner::cancel() {
    if (active_) stop_.requestStop();
}

void MainRunner::abandon() {
    if (!active_) return;
    closing_ = true;
    stop_.requestStop();
}

void MainRunner::setCommentsWanted(bool on) { queued_->setCommentsOn(on); }

bool MainRunner::isActive() const { return active_; }

void MainRunner::setBeforeMaking(std::function<void(const QString&)> hook) {
    beforeMaking_ = std::move(hook);
}

CatalogRunInput MainRunner::inputFromWindow() const {
    CatalogRunInput input;
    input.folder = window_.currentFolder();
    input.names = window_.imageNames();
    input.selected = window_.imageSelection();
    input.title = window_.pageTitle();
    // The title box filled with the folder's own name: that name is text, not markup.
    input.titleIsName = input.title == FolderNavigator::ownName(input.folder);
    input.perRow = window_.imagesPerRow();
    input.jobs = std::max(1, QThread::idealThreadCount());  // as tessaly-batch
    input.allFormats = window_.allFormats();
    return input;
}

void MainRunner::setStatus(StatusField field, const QString& text) {
    window_.showStatus(field, text);
}

void MainRunner::runStarted(int total) {
    browserOffered_ = false;
    leftOut_.clear();
    counterShown_ = 0;
    progress_->setRange(0, std::max(total, 1));
    progress_->setValue(0);
    progress_->show();
    window_.setRunning(true);
    setStatus(StatusField::Counter, QStringLiteral(" 000/ 000   "));
}

// The counter shows the image in hand; it never goes back when the workers run ahead.
void MainRunner::showCounter(int number, int total) {
    if (number <= counterShown_) return;
    counterShown_ = number;
    setStatus(StatusField::Counter, counter(number, total));
}

void MainRunner::deselected(int index) { window_.deselectImage(index); }

void MainRunner::pageStarted(const QDate& date) {
    window_.preview().hide();
    setStatus(StatusField::Step, date.toString(QStringLiteral("yyyy/MM/dd")));
    setStatus(StatusField::Phase, QStringLiteral("画像読込中"));
}

void MainRunner::imageStarted(int number, int total, const QString&) {
    showCounter(number, total);
    window_.preview().clear();
}

// The bar counts the thumbnails done. When the workers run ahead of the page, the counter
// and the file name follow the bar rather than the page.
void MainRunner::thumbnailsDone(int done, int total, const QString& name) {
    progress_->setValue(done);
    if (done <= counterShown_) return;
    showCounter(std::min(done + 1, total), total);
    setStatus(StatusField::Step, name);
}

void MainRunner::imageRead(int, const QString& name) {
    setStatus(StatusField::Step, name);
    window_.preview().hide();
}

void MainRunner::imageSkipped(int, const QString&) {
    setStatus(StatusField::Step, QStringLiteral("ファイル作成スキップ"));
}

void MainRunner::imageLeftOut(const QString& name, const QString&) { leftOut_ << name; }

void MainRunner::imageFinished(int, const PixelImage& thumbnail, ThumbnailMaker::Method method) {
    setStatus(StatusField::Step, methodText(method));
    window_.preview().showPicture(DisplayPicture::toImage(thumbnail), kRunPreviewOffset);
}

void MainRunner::pagesFinished() {
    for (StatusField field : {StatusField::Step, StatusField::Phase, StatusField::Counter})
        setStatus(field, QString());
}

// After a failure the status bar no longer reads as if images were still being read.
void MainRunner::runFailed() {
    setStatus(StatusField::Step, QStringLiteral("処理は中断されました。"));
    setStatus(StatusField::Phase, QString());
    setStatus(StatusField::Counter, QString());
}

// Back to idle on every way out; a completed run asks about the browser, or says the files
// are made. Photographs whose names the list could not show were left out: that is said last.
// A window closing shows nothing.
void MainRunner::runEnded(CatalogRunOutcome outcome) {
    if (outcome == CatalogRunOutcome::Completed && !closing_) offerBrowser();
    if (outcome == CatalogRunOutcome::CommentFileMissing)
        stoppedBecause(QStringLiteral("コメントファイルがないため中止しました"));
    if (outcome == CatalogRunOutcome::PageKept)
        stoppedBecause(QStringLiteral("目次ページを残すため中止しました"));
    progress_->hide();
    window_.setRunning(false);
    window_.refreshFiles();
    active_ = false;
    if (!closing_ &&
        (outcome == CatalogRunOutcome::Completed || outcome == CatalogRunOutcome::Cancelled)) {
        QStringList left;
        for (const QString& extension : photoExtensions(allFormats_))
            left << undecodableFileNames(folder_, extension.toUtf8());
        if (!left.isEmpty()) information(undecodableNamesMessage(left));
    }
    if (ended_) std::exchange(ended_, {})();
}

// The run ended at a question answered No (the comment file, a contents page to replace):
// the status line says no page was made, and why.
void MainRunner::stoppedBecause(const QString& reason) {
    setStatus(StatusField::Step, reason);
    setStatus(StatusField::Phase, QString());
    setStatus(StatusField::Counter, QString());
}

void MainRunner::offerBrowser() {
    browserOffered_ = false;
    CatalogRun::offerBrowser(runSettings_, folder_, *this, window_.context().shell,
                             positionsLinked_ ? positionsLinked_->load() : 0);
    if (browserOffered_) return;
    setStatus(StatusField::Step, QStringLiteral("ファイル作成終了"));
    if (!leftOut_.isEmpty()) information(leftOutPhotosMessage(leftOut_));
}

bool MainRunner::commentsOn() { return window_.commentsWanted(); }

void MainRunner::information(const QString& text) {
    if (!closing_) window_.context().prompts.information(&window_, text);
}

bool MainRunner::question(RunQuestion kind, const QString& text) {
    if (closing_) return false;
    if (kind == RunQuestion::OpenBrowser) browserOffered_ = true;
    // The closing question names the photographs that were left out.
    if (kind == RunQuestion::OpenBrowser && !leftOut_.isEmpty())
        return window_.context().prompts.question(
            &window_, text + QLatin1Char('\n') + leftOutPhotosMessage(leftOut_));
    return window_.context().prompts.question(&window_, text);
}

void MainRunner::showError(const QString& text) {
    if (!closing_) window_.context().prompts.error(&window_, text);
}

void MainRunner::openCommentEditor() {
    if (!closing_) window_.openWindow(SecondaryWindow::Comments);
}

}  // namespace tessaly
