#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "core/catalog/catalogrun.h"
#include "core/imaging/pixelimage.h"
#include "core/text/shell.h"

namespace tessaly::test {

// A front end that records every call as one line of `log` and answers from its fields.
class FakeRunHost : public CatalogRunHost {
public:
    QStringList log;
    bool comments = false;
    bool answer = false;                        // what every question is answered
    std::function<void(const QString&)> onLog;  // called after each logged line
    std::vector<QSize> previews;                // sizes of the pictures shown

    void setInputsEnabled(bool enabled) override { add(enabled ? "enable" : "disable"); }
    void setStatus(int panel, const QString& text) override {
        add(QStringLiteral("status%1:%2").arg(panel).arg(text));
    }
    void deselect(int index) override { add(QStringLiteral("deselect:%1").arg(index)); }
    void hidePreview() override { add("hide"); }
    void clearPreview() override { add("clear"); }
    void showPreview(const PixelImage& picture) override {
        previews.emplace_back(picture.width(), picture.height());
        add("show");
    }
    void processEvents() override { add("events"); }
    bool commentsOn() override { return comments; }
    void information(const QString& text) override { add("info:" + text); }
    bool question(RunQuestion, const QString& text) override {
        add("question:" + text);
        return answer;
    }
    void showError(const QString& text) override { add("error:" + text); }
    void openCommentEditor() override { add("editor"); }
    void restoreWindow() override { add("restore"); }

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
