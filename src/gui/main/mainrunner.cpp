#include "gui/main/mainrunner.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QThread>
#include <algorithm>

#include "core/text/formatting.h"
#include "core/text/undecodablenames.h"
#include "gui/common/bridgedshell.h"
#include "gui/common/folderlist.h"
#include "gui/common/threadbridge.h"
#include "gui/common/volumebox.h"
#include "gui/imaging/displaypicture.h"
#include "gui/main/imagelistorder.h"
#include "gui/main/imagepreview.h"
#include "gui/main/mainwindow.h"
#include "gui/main/queuedrunhost.h"
#include "gui/main/windowset.h"
#include "gui/options/stepbuttons.h"

namespace tessaly {
namespace {

// A thumbnail made by a run is shown this far below the panel's middle.
constexpr int kRunPreviewOffset = 10;

// Status bar panels: 0 the step or file, 1 the phase, 2 the counter.
constexpr int kStepPanel = 0;
constexpr int kPhasePanel = 1;
constexpr int kCounterPanel = 2;

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
      run_(std::make_unique<CatalogRun>(window.settings(), *queued_, *queued_, *shell_)),
      progress_(new QProgressBar(window.statusBar())),
      escape_(new QShortcut(QKeySequence(Qt::Key_Escape), &window)) {
    progress_->setObjectName(QStringLiteral("RunProgress"));
    progress_->setAccessibleName(QStringLiteral("サムネイル作成の進み具合"));
    progress_->setFormat(QStringLiteral("%v/%m"));
    progress_->setMaximumWidth(120);
    progress_->hide();
    window.statusBar()->addPermanentWidget(progress_, 1);
    escape_->setEnabled(false);
    QObject::connect(escape_, &QShortcut::activated, &window, [this] { cancel(); });
}

MainRunner::~MainRunner() {
    run_->cancel();
    bridge_->close();
    finishWorker();
    delete escape_;
    delete progress_;
}

void MainRunner::start(std::function<void()> ended) {
    if (active_) return;
    finishWorker();  // the last run's thread has only its return left
    CatalogRunInput input = inputFromWindow();
    input.stopWithoutWaiting = true;
    input.beforeMaking = beforeMaking_;
    folder_ = input.folder;
    ended_ = std::move(ended);
    active_ = true;
    started_ = false;
    cancelPending_ = false;
    worker_.reset(QThread::create([this, input]() mutable { run_->execute(input); }));
    worker_->start();
}

void MainRunner::finishWorker() {
    if (worker_) worker_->wait();
    worker_.reset();
}

// A cancel before the run has begun is passed on when it begins.
void MainRunner::cancel() {
    if (!active_) return;
    if (!started_) cancelPending_ = true;
    run_->cancel();
}

bool MainRunner::isActive() const { return active_; }

void MainRunner::setBeforeMaking(std::function<void(const QString&)> hook) {
    beforeMaking_ = std::move(hook);
}

CatalogRunInput MainRunner::inputFromWindow() const {
    CatalogRunInput input;
    input.folder = window_.currentFolder();
    input.names = ImageListOrder::names(*window_.imageList);
    input.selected = ImageListOrder::selectionFlags(*window_.imageList);
    input.title = window_.titleEdit->text();
    input.perRow = window_.perRowButtons->position();
    input.jobs = std::max(1, QThread::idealThreadCount());  // as tessaly-batch
    return input;
}

void MainRunner::setInputsEnabled(bool enabled) {
    MainWindow& w = window_;
    w.cancelButton->setVisible(!enabled);
    w.executeButton->setVisible(enabled);
    for (QWidget* control : std::initializer_list<QWidget*>{
             w.volumeBox, w.folderList, w.imageList, w.upButton, w.downButton, w.selectAllButton,
             w.deselectButton, w.nextFolderButton, w.rotateButton, w.viewButton, w.refreshButton,
             w.perRowButtons, w.titleEdit}) {
        control->setEnabled(enabled);
    }
    for (QMenu* menu : {w.fileMenu, w.settingsMenu, w.helpMenu})
        menu->menuAction()->setEnabled(enabled);
    if (enabled && w.windowSet()) w.windowSet()->updateActions();
    if (!enabled) w.cancelButton->setFocus();
    escape_->setEnabled(!enabled);
    progress_->setVisible(!enabled);
}

void MainRunner::setStatus(int panel, const QString& text) {
    window_.statusPanels[static_cast<std::size_t>(panel)]->setText(text);
}

void MainRunner::runStarted(int total) {
    started_ = true;
    if (cancelPending_) run_->cancel();
    browserOffered_ = false;
    counterShown_ = 0;
    progress_->setRange(0, std::max(total, 1));
    progress_->setValue(0);
    setInputsEnabled(false);
    setStatus(kCounterPanel, QStringLiteral(" 000/ 000   "));
}

// The counter shows the image in hand; it never goes back when the workers run ahead.
void MainRunner::showCounter(int number, int total) {
    if (number <= counterShown_) return;
    counterShown_ = number;
    setStatus(kCounterPanel, counter(number, total));
}

void MainRunner::deselected(int index) {
    if (QListWidgetItem* entry = window_.imageList->item(index)) entry->setSelected(false);
}

void MainRunner::pageStarted(const QDate& date) {
    window_.preview()->hide();
    setStatus(kStepPanel, QLocale::system().toString(date, QLocale::ShortFormat));
    setStatus(kPhasePanel, QStringLiteral("画像読込中"));
}

void MainRunner::imageStarted(int number, int total, const QString&) {
    showCounter(number, total);
    window_.preview()->clear();
}

// The bar counts the thumbnails done. When the workers run ahead of the page, the counter
// and the file name follow the bar rather than the page.
void MainRunner::thumbnailsDone(int done, int total, const QString& name) {
    progress_->setValue(done);
    if (done <= counterShown_) return;
    showCounter(std::min(done + 1, total), total);
    setStatus(kStepPanel, name);
}

void MainRunner::imageRead(int, const QString& name) {
    setStatus(kStepPanel, name);
    window_.preview()->hide();
}

void MainRunner::imageSkipped(int, const QString&) {
    setStatus(kStepPanel, QStringLiteral("ファイル作成スキップ"));
}

void MainRunner::imageFinished(int, const PixelImage& thumbnail, ThumbnailMaker::Method method) {
    setStatus(kStepPanel, methodText(method));
    window_.preview()->showPicture(DisplayPicture::toImage(thumbnail), kRunPreviewOffset);
}

void MainRunner::pagesFinished() {
    for (int panel : {kStepPanel, kPhasePanel, kCounterPanel}) setStatus(panel, QString());
}

// After a failure the status bar no longer reads as if images were still being read.
void MainRunner::runFailed() {
    setStatus(kStepPanel, QStringLiteral("処理は中断されました。"));
    setStatus(kPhasePanel, QString());
    setStatus(kCounterPanel, QString());
}

// Back to idle on every way out; a catalogue made without the browser question says so.
// Photographs whose names the list could not show were left out: that is said last.
void MainRunner::runEnded(CatalogRunOutcome outcome) {
    if (outcome == CatalogRunOutcome::Completed && !browserOffered_) {
        setStatus(kStepPanel, QStringLiteral("ファイル作成終了"));
    }
    window_.restoreWindow();
    active_ = false;
    if (outcome == CatalogRunOutcome::Completed || outcome == CatalogRunOutcome::Cancelled) {
        const QStringList left = undecodableFileNames(folder_, QByteArrayLiteral(".jpg"));
        if (!left.isEmpty()) information(undecodableNamesMessage(left));
    }
    if (ended_) std::exchange(ended_, {})();
}

bool MainRunner::commentsOn() { return window_.commentsCheck->isChecked(); }

void MainRunner::information(const QString& text) {
    window_.context().prompts.information(&window_, text);
}

bool MainRunner::question(RunQuestion kind, const QString& text) {
    if (kind == RunQuestion::OpenBrowser) browserOffered_ = true;
    return window_.context().prompts.question(&window_, text);
}

void MainRunner::showError(const QString& text) { window_.context().prompts.error(&window_, text); }

void MainRunner::openCommentEditor() {
    if (window_.windowSet()) window_.windowSet()->openComments();
}

}  // namespace tessaly
