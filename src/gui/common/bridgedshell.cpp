#include "gui/common/bridgedshell.h"

#include "gui/common/threadbridge.h"

namespace tessaly {

void BridgedShell::openDocument(const QString& path) {
    bridge_.ask([shell = &shell_, path] { shell->openDocument(path); });
}

void BridgedShell::startProgram(const QString& program, const QString& parameter,
                                const QString& workingFolder) {
    bridge_.ask([shell = &shell_, program, parameter, workingFolder] {
        shell->startProgram(program, parameter, workingFolder);
    });
}

}  // namespace tessaly
