#include "gui/main/mainrunner.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QThread>
#include <algorithm>

#include "core/text/undecodablenames.h"
#include "gui/common/folderlist.h"
#include "gui/common/volumebox.h"
#include "gui/imaging/displaypicture.h"
#include "gui/main/imagelistorder.h"
#include "gui/main/imagepreview.h"
#include "gui/main/mainwindow.h"
#include "gui/main/windowset.h"
#include "gui/options/stepbuttons.h"

namespace tessaly {
namespace {

// A thumbnail made by a run is shown this far below the panel's middle.
constexpr int kRunPreviewOffset = 10;

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
    if (panel >= 0 && panel < static_cast<int>(window_.statusPanels.size()))
        window_.statusPanels[panel]->setText(text);
}

void MainRunner::deselect(int index) {
    if (QListWidgetItem* entry = window_.imageList->item(index)) entry->setSelected(false);
}

void MainRunner::hidePreview() { window_.preview()->hide(); }

void MainRunner::clearPreview() { window_.preview()->clear(); }

void MainRunner::showPreview(const PixelImage& picture) {
    window_.preview()->showPicture(DisplayPicture::toImage(picture), kRunPreviewOffset);
}

void MainRunner::processEvents() { QApplication::processEvents(QEventLoop::AllEvents); }

// While the workers finish the next image: repaint, and let Cancel be pressed.
void MainRunner::waiting() { QApplication::processEvents(QEventLoop::AllEvents); }

bool MainRunner::commentsOn() { return window_.commentsCheck->isChecked(); }

void MainRunner::information(const QString& text) {
    window_.context().prompts.information(&window_, text);
}

bool MainRunner::question(RunQuestion, const QString& text) {
    return window_.context().prompts.question(&window_, text);
}

void MainRunner::showError(const QString& text) { window_.context().prompts.error(&window_, text); }

void MainRunner::openCommentEditor() {
    if (window_.windowSet()) window_.windowSet()->openComments();
}

void MainRunner::restoreWindow() { window_.restoreWindow(); }

}  // namespace tessaly
