#pragma once

#include "core/text/shell.h"

namespace tessaly {

class ThreadBridge;

// A shell for work on a worker thread: each call is made by `shell` on the bridge's thread
// (the window's), and the worker waits for it.
class BridgedShell : public Shell {
public:
    BridgedShell(ThreadBridge& bridge, Shell& shell) : bridge_(bridge), shell_(shell) {}

    void openDocument(const QString& path) override;
    void startProgram(const QString& program, const QString& parameter,
                      const QString& workingFolder) override;

private:
    ThreadBridge& bridge_;
    Shell& shell_;
};

}  // namespace tessaly
