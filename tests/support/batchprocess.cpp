#include "support/batchprocess.h"

#include <QFileInfo>
#include <QProcess>

namespace tessaly::test {
namespace {

BatchOutcome finish(QProcess& process) {
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

}  // namespace

QString batchProgram() {
    const QString given = qEnvironmentVariable("TESSALY_BATCH");
    if (!given.isEmpty()) return given;
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return QFileInfo(self).absolutePath() + QStringLiteral("/../src/batch/tessaly-batch");
}

BatchOutcome runBatch(const QStringList& args) {
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(batchProgram(), args);
    return finish(process);
}

BatchOutcome batchWith(const QString& limits, const QStringList& args) {
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(
        QStringLiteral("/bin/sh"),
        QStringList{"-c", limits + QStringLiteral("; exec \"$0\" \"$@\""), batchProgram()} + args);
    return finish(process);
}

}  // namespace tessaly::test
