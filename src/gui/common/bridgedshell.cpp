#include "gui/common/bridgedshell.h"

#include "gui/common/threadbridge.h"

namespace tessaly {

void BridgedShell::openDocument(const QString& path) {
    bridge_.ask([&] { shell_.openDocument(path); });
}

void BridgedShell::startProgram(const QString& program, const QString& parameter,
                                const QString& workingFolder) {
    bridge_.ask([&] { shell_.startProgram(program, parameter, workingFolder); });
}

}  // namespace tessaly
