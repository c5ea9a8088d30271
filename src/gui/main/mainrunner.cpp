#include "gui/main/mainrunner.h"

#include <QApplication>
#include <QDate>
#include <QThread>
#include <algorithm>

#include "core/text/formatting.h"
#include "core/text/undecodablenames.h"
#include "gui/imaging/displaypicture.h"
#include "gui/main/foldernavigator.h"
#include "gui/main/imagepreview.h"

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
      run_(std::make_unique<CatalogRun>(window.settings(), *this, window.context().shell)) {}

MainRunner::~MainRunner() = default;

CatalogRunOutcome MainRunner::execute() {
    CatalogRunInput input = inputFromWindow();
    const CatalogRunOutcome outcome = run_->execute(input);
    // Photographs whose names the list could not show were left out: say so after the run.
    if (outcome == CatalogRunOutcome::Completed || outcome == CatalogRunOutcome::Cancelled) {
        const QStringList left = undecodableFileNames(input.folder, QByteArrayLiteral(".jpg"));
        if (!left.isEmpty()) information(undecodableNamesMessage(left));
    }
    return outcome;
}

void MainRunner::cancel() { run_->cancel(); }

bool MainRunner::isActive() const { return run_->isActive(); }

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
    return input;
}

void MainRunner::setStatus(StatusField field, const QString& text) {
    window_.showStatus(field, text);
}

void MainRunner::runStarted(int) {
    browserOffered_ = false;
    leftOut_.clear();
    window_.setRunning(true);
    setStatus(StatusField::Counter, QStringLiteral(" 000/ 000   "));
}

void MainRunner::deselected(int index) { window_.deselectImage(index); }

void MainRunner::pageStarted(const QDate& date) {
    window_.preview().hide();
    setStatus(StatusField::Step, date.toString(QStringLiteral("yyyy/MM/dd")));
    setStatus(StatusField::Phase, QStringLiteral("画像読込中"));
}

void MainRunner::imageStarted(int number, int total, const QString&) {
    setStatus(StatusField::Counter, counter(number, total));
    window_.preview().clear();
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

// Back to idle on every way out; a catalogue made without the browser question says so.
void MainRunner::runEnded(CatalogRunOutcome outcome) {
    if (outcome == CatalogRunOutcome::Completed && !browserOffered_) {
        setStatus(StatusField::Step, QStringLiteral("ファイル作成終了"));
        if (!leftOut_.isEmpty()) information(leftOutPhotosMessage(leftOut_));
    }
    window_.setRunning(false);
    window_.refreshFiles();
}

void MainRunner::processEvents() { QApplication::processEvents(QEventLoop::AllEvents); }

// While the workers finish the next image: repaint, and let Cancel be pressed.
void MainRunner::waiting() { QApplication::processEvents(QEventLoop::AllEvents); }

bool MainRunner::commentsOn() { return window_.commentsWanted(); }

void MainRunner::information(const QString& text) {
    window_.context().prompts.information(&window_, text);
}

bool MainRunner::question(RunQuestion kind, const QString& text) {
    if (kind == RunQuestion::OpenBrowser) browserOffered_ = true;
    // The closing question names the photographs that were left out.
    if (kind == RunQuestion::OpenBrowser && !leftOut_.isEmpty())
        return window_.context().prompts.question(
            &window_, text + QLatin1Char('\n') + leftOutPhotosMessage(leftOut_));
    return window_.context().prompts.question(&window_, text);
}

void MainRunner::showError(const QString& text) { window_.context().prompts.error(&window_, text); }

void MainRunner::openCommentEditor() { window_.openWindow(SecondaryWindow::Comments); }

}  // namespace tessaly
