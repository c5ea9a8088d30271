#include "gui/main/mainrunner.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QThread>
#include <algorithm>

#include "core/text/formatting.h"
#include "core/text/undecodablenames.h"
#include "gui/common/folderlist.h"
#include "gui/common/volumebox.h"
#include "gui/imaging/displaypicture.h"
#include "gui/main/foldernavigator.h"
#include "gui/main/imagelistorder.h"
#include "gui/main/imagepreview.h"
#include "gui/main/mainwindow.h"
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
    input.names = ImageListOrder::names(*window_.imageList);
    input.selected = ImageListOrder::selectionFlags(*window_.imageList);
    input.title = window_.titleEdit->text();
    // The title box filled with the folder's own name: that name is text, not markup.
    input.titleIsName = input.title == FolderNavigator::ownName(input.folder);
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
}

void MainRunner::setStatus(int panel, const QString& text) {
    window_.statusPanels[static_cast<std::size_t>(panel)]->setText(text);
}

void MainRunner::runStarted(int) {
    browserOffered_ = false;
    setInputsEnabled(false);
    setStatus(kCounterPanel, QStringLiteral(" 000/ 000   "));
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
    setStatus(kCounterPanel, counter(number, total));
    window_.preview()->clear();
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
void MainRunner::runEnded(CatalogRunOutcome outcome) {
    if (outcome == CatalogRunOutcome::Completed && !browserOffered_) {
        setStatus(kStepPanel, QStringLiteral("ファイル作成終了"));
    }
    window_.restoreWindow();
}

void MainRunner::processEvents() { QApplication::processEvents(QEventLoop::AllEvents); }

// While the workers finish the next image: repaint, and let Cancel be pressed.
void MainRunner::waiting() { QApplication::processEvents(QEventLoop::AllEvents); }

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
