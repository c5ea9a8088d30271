#pragma once

#include <QDate>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "core/catalog/catalogrun.h"
#include "core/imaging/pixels/pixelimage.h"
#include "core/text/shell.h"

namespace tessaly::test {

// A front end that records every call as one line of `log` and answers from its fields.
// Events: "started:3", "deselected:0", "page:2026-01-05", "events" (a list entry reached),
// "image:1/3 a.jpg", "read:1 a.jpg", "skipped:1 a.jpg", "made:1 plain" (or filter), "pages
// finished", "failed", "ended:completed".
class FakeRunHost : public CatalogRunHost {
public:
    QStringList log;
    bool comments = false;
    bool answer = false;                        // what every question is answered
    std::function<void(const QString&)> onLog;  // called after each logged line
    std::vector<QSize> previews;                // sizes of the thumbnails made

    void runStarted(int total) override { add(QStringLiteral("started:%1").arg(total)); }
    void deselected(int index) override { add(QStringLiteral("deselected:%1").arg(index)); }
    void pageStarted(const QDate& date) override { add("page:" + date.toString(Qt::ISODate)); }
    void imageStarted(int number, int total, const QString& name) override {
        add(QStringLiteral("image:%1/%2 %3").arg(number).arg(total).arg(name));
    }
    void imageRead(int number, const QString& name) override {
        add(QStringLiteral("read:%1 %2").arg(number).arg(name));
    }
    void imageSkipped(int number, const QString& name) override {
        add(QStringLiteral("skipped:%1 %2").arg(number).arg(name));
    }
    void imageFinished(int number, const PixelImage& thumbnail,
                       ThumbnailMaker::Method method) override {
        previews.emplace_back(thumbnail.width(), thumbnail.height());
        const char* how = method == ThumbnailMaker::Method::Filter ? "filter" : "plain";
        add(QStringLiteral("made:%1 %2").arg(number).arg(how));
    }
    void pagesFinished() override { add("pages finished"); }
    void runFailed() override { add("failed"); }
    void runEnded(CatalogRunOutcome outcome) override { add("ended:" + outcomeName(outcome)); }
    void entryReached(int) override { add("events"); }
    bool commentsOn() override { return comments; }
    void information(const QString& text) override { add("info:" + text); }
    bool question(RunQuestion, const QString& text) override {
        add("question:" + text);
        return answer;
    }
    void showError(const QString& text) override { add("error:" + text); }
    void openCommentEditor() override { add("editor"); }

    static QString outcomeName(CatalogRunOutcome outcome) {
        switch (outcome) {
            case CatalogRunOutcome::Completed:
                return "completed";
            case CatalogRunOutcome::NothingSelected:
                return "nothing selected";
            case CatalogRunOutcome::CommentFileMissing:
                return "comment file missing";
            case CatalogRunOutcome::Cancelled:
                return "cancelled";
            case CatalogRunOutcome::PageKept:
                return "page kept";
            case CatalogRunOutcome::Failed:
                break;
        }
        return "failed";
    }

    QStringList matching(const QString& prefix) const {
        QStringList found;
        for (const QString& line : log) {
            if (line.startsWith(prefix)) found << line;
        }
        return found;
    }

private:
    void add(const QString& line) {
        log << line;
        if (onLog) onLog(line);
    }
};

// A shell that records its calls.
class FakeShell : public Shell {
public:
    QStringList calls;
    void openDocument(const QString& path) override { calls << "open " + path; }
    void startProgram(const QString& program, const QString& parameter,
                      const QString& workingFolder) override {
        calls << "start " + program + "|" + parameter + "|" + workingFolder;
    }
};

}  // namespace tessaly::test
