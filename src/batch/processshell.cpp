#include "batch/processshell.h"

#include <QProcess>
#include <cstdio>

namespace tessaly::batch {

void ProcessShell::openDocument(const QString& path) {
    if (!QProcess::startDetached(QStringLiteral("xdg-open"), {path})) {
        std::fprintf(stderr, "tessaly-batch: xdg-open could not be started for %s\n",
                     path.toUtf8().constData());
    }
}

void ProcessShell::startProgram(const QString& program, const QString& parameter,
                                const QString& workingFolder) {
    if (!QProcess::startDetached(program, {parameter}, workingFolder)) {
        std::fprintf(stderr, "tessaly-batch: %s could not be started\n",
                     program.toUtf8().constData());
    }
}

}  // namespace tessaly::batch
