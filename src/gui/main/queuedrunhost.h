#pragma once

#include <atomic>

#include "core/catalog/catalogrun.h"

namespace tessaly {

class ThreadBridge;

// The front end handed to a catalogue run that works on a worker thread: every event is
// queued to the window's thread and shown there by `events`; every decision is asked there
// of `decisions` while the run waits. Both keep the run's order. The comment switch is a value
// the window sets (setCommentsOn), read by the run without a round trip.
class QueuedRunHost : public CatalogRunHost {
public:
    QueuedRunHost(ThreadBridge& bridge, CatalogRunEvents& events, CatalogRunDecisions& decisions);

    void runStarted(int total) override;
    void deselected(int index) override;
    void pageStarted(const QDate& date) override;
    void imageStarted(int number, int total, const QString& name) override;
    void imageRead(int number, const QString& name) override;
    void imageSkipped(int number, const QString& name) override;
    void imageLeftOut(const QString& name, const QString& reason) override;
    void imageFinished(int number, const PixelImage& thumbnail,
                       ThumbnailMaker::Method method) override;
    void thumbnailsDone(int done, int total, const QString& name) override;
    void pagesFinished() override;
    void runFailed() override;
    void runEnded(CatalogRunOutcome outcome) override;

    void setCommentsOn(bool on);
    bool commentsOn() override;
    void information(const QString& text) override;
    bool question(RunQuestion kind, const QString& text) override;
    void showError(const QString& text) override;
    void openCommentEditor() override;

private:
    ThreadBridge& bridge_;
    CatalogRunEvents& events_;
    CatalogRunDecisions& decisions_;
    std::atomic<bool> commentsOn_{false};
};

}  // namespace tessaly
