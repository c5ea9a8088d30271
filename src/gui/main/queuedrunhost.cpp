#include "gui/main/queuedrunhost.h"

#include "core/imaging/pixels/pixelimage.h"
#include "gui/common/threadbridge.h"

namespace tessaly {

QueuedRunHost::QueuedRunHost(ThreadBridge& bridge, CatalogRunEvents& events,
                             CatalogRunDecisions& decisions)
    : bridge_(bridge), events_(events), decisions_(decisions) {}

void QueuedRunHost::runStarted(int total) {
    bridge_.post([this, total] { events_.runStarted(total); });
}

void QueuedRunHost::deselected(int index) {
    bridge_.post([this, index] { events_.deselected(index); });
}

void QueuedRunHost::pageStarted(const QDate& date) {
    bridge_.post([this, date] { events_.pageStarted(date); });
}

void QueuedRunHost::imageStarted(int number, int total, const QString& name) {
    bridge_.post([this, number, total, name] { events_.imageStarted(number, total, name); });
}

void QueuedRunHost::imageRead(int number, const QString& name) {
    bridge_.post([this, number, name] { events_.imageRead(number, name); });
}

void QueuedRunHost::imageSkipped(int number, const QString& name) {
    bridge_.post([this, number, name] { events_.imageSkipped(number, name); });
}

void QueuedRunHost::imageLeftOut(const QString& name, const QString& reason) {
    bridge_.post([this, name, reason] { events_.imageLeftOut(name, reason); });
}

// The thumbnail is small; the window gets its own copy.
void QueuedRunHost::imageFinished(int number, const PixelImage& thumbnail,
                                  ThumbnailMaker::Method method) {
    bridge_.post(
        [this, number, thumbnail, method] { events_.imageFinished(number, thumbnail, method); });
}

void QueuedRunHost::thumbnailsDone(int done, int total, const QString& name) {
    bridge_.post([this, done, total, name] { events_.thumbnailsDone(done, total, name); });
}

void QueuedRunHost::pagesFinished() {
    bridge_.post([this] { events_.pagesFinished(); });
}

void QueuedRunHost::runFailed() {
    bridge_.post([this] { events_.runFailed(); });
}

void QueuedRunHost::runEnded(CatalogRunOutcome outcome) {
    bridge_.post([this, outcome] { events_.runEnded(outcome); });
}

// The window keeps the switch up to date; the run reads it without waiting for the window.
void QueuedRunHost::setCommentsOn(bool on) { commentsOn_.store(on); }

bool QueuedRunHost::commentsOn() { return commentsOn_.load(); }

// A window that goes away meanwhile answers No and shows nothing.

void QueuedRunHost::information(const QString& text) {
    bridge_.ask([this, text] { decisions_.information(text); });
}

bool QueuedRunHost::question(RunQuestion kind, const QString& text) {
    return bridge_.ask<bool>([this, kind, text] { return decisions_.question(kind, text); }, false);
}

void QueuedRunHost::showError(const QString& text) {
    bridge_.ask([this, text] { decisions_.showError(text); });
}

void QueuedRunHost::openCommentEditor() {
    bridge_.ask([this] { decisions_.openCommentEditor(); });
}

}  // namespace tessaly
