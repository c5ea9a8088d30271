#include "gui/support/scriptedprompts.h"

namespace tessaly::test {

void ScriptedPrompts::record(const QString& entry) {
    log << entry;
    if (onPrompt) onPrompt(entry);
}

void ScriptedPrompts::information(QWidget*, const QString& text) {
    record(QStringLiteral("information: ") + text);
}

void ScriptedPrompts::error(QWidget*, const QString& text) {
    record(QStringLiteral("error: ") + text);
}

bool ScriptedPrompts::question(QWidget*, const QString& text) {
    record(QStringLiteral("question: ") + text);
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

Prompts::Answer ScriptedPrompts::questionWithCancel(QWidget*, const QString& text) {
    record(QStringLiteral("question3: ") + text);
    if (choices.empty()) return Answer::No;
    const Answer answer = choices.front();
    choices.pop_front();
    return answer;
}

bool ScriptedPrompts::warningYesNo(QWidget*, const QString& caption, const QString& text) {
    record(QStringLiteral("warning: ") + caption + QStringLiteral(": ") + text);
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

QString ScriptedPrompts::openFileName(QWidget*, const QString& title, const QString& folder,
                                      const QString& filter) {
    record(QStringLiteral("file: ") + title + QLatin1Char('|') + folder + QLatin1Char('|') +
           filter);
    if (fileNames.empty()) return QString();
    const QString name = fileNames.front();
    fileNames.pop_front();
    return name;
}

std::optional<int> ScriptedPrompts::chooseColor(QWidget*, int colour) {
    record(QStringLiteral("colour: ") + QString::number(colour));
    if (colours.empty()) return std::nullopt;
    const std::optional<int> answer = colours.front();
    colours.pop_front();
    return answer;
}

void RecordingShell::openDocument(const QString& path) { calls << QStringLiteral("open ") + path; }

void RecordingShell::startProgram(const QString& program, const QString& parameter,
                                  const QString& workingFolder) {
    calls << QStringLiteral("start ") + program + QLatin1Char('|') + parameter + QLatin1Char('|') +
                 workingFolder;
}

}  // namespace tessaly::test
