#include "gui/common/desktopshell.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "gui/common/prompts.h"

namespace tessaly {

void DesktopShell::openDocument(const QString& path) {
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(path))) return;
    reportFailure(QStringLiteral("xdg-open ") + path,
                  QStringLiteral("このファイルを開くプログラム（既定のブラウザなど）が"
                                 "設定されていないか、起動できません。"));
}

void DesktopShell::startProgram(const QString& program, const QString& parameter,
                                const QString& workingFolder) {
    const QString command = program + QLatin1Char(' ') + parameter;
    const QString reason = unstartableReason(program);
    if (!reason.isEmpty()) {
        reportFailure(command, reason);
        return;
    }
    QProcess process;
    process.setProgram(program);
    process.setArguments({parameter});
    process.setWorkingDirectory(workingFolder);
    if (!process.startDetached()) reportFailure(command, process.errorString());
}

QString DesktopShell::unstartableReason(const QString& program) {
    const bool hasFolder = program.contains(QLatin1Char('/'));
    const QString found = hasFolder ? program : QStandardPaths::findExecutable(program);
    const QFileInfo file(found);
    if (found.isEmpty() || !file.exists()) return QStringLiteral("プログラムが見つかりません。");
    if (file.isDir()) return QStringLiteral("プログラムではなくフォルダです。");
    if (!file.isExecutable()) return QStringLiteral("実行する権限がありません。");
    return QString();
}

void DesktopShell::reportFailure(const QString& command, const QString& reason) {
    prompts_.error(QApplication::activeWindow(),
                   QStringLiteral("プログラムを起動できませんでした。\nコマンド: ") + command +
                       QStringLiteral("\n理由: ") + reason);
}

}  // namespace tessaly
