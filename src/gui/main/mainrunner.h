#pragma once

#include <memory>

#include "core/catalog/catalogrun.h"

namespace tessaly {

class MainWindow;

// The main window's side of a catalogue run: reads the run's input from the window's
// controls, runs it, and answers the run's calls (status bar, preview, prompts, idle state).
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

    void setInputsEnabled(bool enabled) override;
    void setStatus(int panel, const QString& text) override;
    void deselect(int index) override;
    void hidePreview() override;
    void clearPreview() override;
    void showPreview(const PixelImage& picture) override;
    void processEvents() override;
    void waiting() override;
    bool commentsOn() override;
    void information(const QString& text) override;
    bool question(RunQuestion kind, const QString& text) override;
    void showError(const QString& text) override;
    void openCommentEditor() override;
    void restoreWindow() override;

private:
    MainWindow& window_;
    std::unique_ptr<CatalogRun> run_;
};

}  // namespace tessaly
