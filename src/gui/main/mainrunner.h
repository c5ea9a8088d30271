#pragma once

#include <QStringList>
#include <memory>

#include "core/catalog/catalogrun.h"
#include "gui/main/mainwindow.h"

namespace tessaly {

// The main window's side of a catalogue run: reads the run's input from the window, runs it,
// shows its events in the status bar and the preview, answers its questions and puts the
// window back to idle when it ends.
class MainRunner : public CatalogRunHost {
public:
    explicit MainRunner(MainWindow& window);
    ~MainRunner() override;

    // Execute: runs a catalogue on the window's folder, list, title and images per row.
    CatalogRunOutcome execute();
    // Cancel: the run stops before its next image.
    void cancel();
    bool isActive() const;
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
    void pagesFinished() override;
    void runFailed() override;
    void runEnded(CatalogRunOutcome outcome) override;
    void processEvents() override;
    void waiting() override;
    bool commentsOn() override;
    void information(const QString& text) override;
    bool question(RunQuestion kind, const QString& text) override;
    void showError(const QString& text) override;
    void openCommentEditor() override;

private:
    void setStatus(StatusField field, const QString& text);

    MainWindow& window_;
    std::unique_ptr<CatalogRun> run_;
    bool browserOffered_ = false;  // the run asked about the browser
    QStringList leftOut_;          // photographs the run left out, named in its closing message
};

}  // namespace tessaly
