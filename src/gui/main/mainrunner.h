#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "core/catalog/catalogrun.h"
#include "core/settings/catalogsettings.h"
#include "core/work/stoptoken.h"
#include "gui/main/mainwindow.h"

class QProgressBar;
class QThread;

namespace tessaly {

class BridgedShell;
class QueuedRunHost;
class ThreadBridge;

// The main window's side of a catalogue run: reads the run's input from the window, runs it
// on a worker thread, shows its events in the status bar, the progress bar and the preview,
// answers its questions and puts the window back to idle when it ends.
//
// The run works on its own thread with what start() copied for it: the input, the settings,
// the stop token and the comment switch (kept up to date by setCommentsWanted). It reaches this
// object only through a QueuedRunHost: its events are queued to the window's thread, and the
// questions whose answers it needs are asked there while it waits. The browser question is
// asked here once the run has ended. So every method below runs on the window's thread.
class MainRunner : public CatalogRunEvents, public CatalogRunDecisions {
public:
    explicit MainRunner(MainWindow& window);
    // A run still going is stopped and waited for; questions it asks meanwhile get No.
    ~MainRunner() override;

    // Execute: starts a catalogue on the window's folder, list, title and images per row and
    // returns at once; `ended` is called once the run is over and the window idle again.
    void start(std::function<void()> ended = {});
    // Cancel (the stop button, Esc): the run stops without waiting for the decodes in hand.
    void cancel();
    // The window is closing: the run stops and ends without a notice or a question (what it
    // would show gets its fallback at once); the earlier pages are kept.
    void abandon();
    // The comment switch as the run reads it between images.
    void setCommentsWanted(bool on);
    // From start until the window is idle again.
    bool isActive() const;
    // Called on the thread that makes each thumbnail, before it reads the photograph.
    void setBeforeMaking(std::function<void(const QString& photo)> hook);
    // The inputs a run would take from the window now.
    CatalogRunInput inputFromWindow() const;

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
    bool commentsOn() override;
    void information(const QString& text) override;
    bool question(RunQuestion kind, const QString& text) override;
    void showError(const QString& text) override;
    void openCommentEditor() override;

private:
    void setStatus(StatusField field, const QString& text);
    void showCounter(int number, int total);
    void finishWorkers();
    void stoppedBecause(const QString& reason);
    void offerBrowser();

    MainWindow& window_;
    std::unique_ptr<ThreadBridge> bridge_;
    std::unique_ptr<BridgedShell> shell_;
    std::unique_ptr<QueuedRunHost> queued_;
    std::unique_ptr<QThread> worker_;
    // Threads of ended runs that still wait for the decodes a stop left in hand.
    std::vector<std::unique_ptr<QThread>> finishing_;
    StopToken stop_;               // the stop of the run going on
    CatalogSettings runSettings_;  // the run's copy, for the browser question after it
    QProgressBar* progress_;       // in the status bar, shown during a run
    std::function<void()> ended_;
    std::function<void(const QString&)> beforeMaking_;
    QString folder_;  // the folder of the run
    // Linked photographs with a GPS position, told by the run for the browser question.
    std::shared_ptr<std::atomic<int>> positionsLinked_;
    bool allFormats_ = false;      // the run took photographs of every format
    bool active_ = false;          // from start until the window is idle again
    bool closing_ = false;         // the window closed during the run: nothing is shown
    bool browserOffered_ = false;  // the run asked about the browser
    int counterShown_ = 0;         // the number the counter shows
    QStringList leftOut_;          // photographs the run left out, named in its closing message
};

}  // namespace tessaly
