#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

#include "core/text/shell.h"
#include "gui/common/prompts.h"

namespace tessaly::test {

// Prompts that record every call as "kind: text" and answer from queues the test fills.
// An unanswered question is answered No, an unanswered chooser is cancelled.
class ScriptedPrompts : public Prompts {
public:
    QStringList log;  // e.g. "information: ファイルが選択されていません。"
    std::deque<bool> answers;
    std::deque<Answer> choices;  // for questionWithCancel; unanswered is No
    std::deque<QString> fileNames;
    std::deque<std::optional<int>> colours;
    // Called after a call is logged, e.g. to inspect a window while a prompt is "open".
    std::function<void(const QString&)> onPrompt;

    void information(QWidget*, const QString& text) override;
    void error(QWidget*, const QString& text) override;
    bool question(QWidget*, const QString& text) override;
    Answer questionWithCancel(QWidget*, const QString& text) override;
    bool warningYesNo(QWidget*, const QString& caption, const QString& text) override;
    QString openFileName(QWidget*, const QString& title, const QString& folder,
                         const QString& filter) override;
    std::optional<int> chooseColor(QWidget*, int colour) override;

private:
    void record(const QString& entry);
};

// A shell that records its calls instead of starting anything.
class RecordingShell : public Shell {
public:
    QStringList calls;  // "open <path>" or "start <program>|<parameter>|<folder>"
    void openDocument(const QString& path) override;
    void startProgram(const QString& program, const QString& parameter,
                      const QString& workingFolder) override;
};

}  // namespace tessaly::test
