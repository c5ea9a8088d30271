#pragma once

#include "core/text/shell.h"

namespace tessaly {

class Prompts;

// Shell calls through the desktop: documents open with QDesktopServices, programs start
// detached with their parameter and working folder. A program or document that cannot be
// started is reported through the prompts, naming the command and the reason.
class DesktopShell : public Shell {
public:
    explicit DesktopShell(Prompts& prompts) : prompts_(prompts) {}

    void openDocument(const QString& path) override;
    void startProgram(const QString& program, const QString& parameter,
                      const QString& workingFolder) override;

    // Why program cannot be started, or an empty text when it looks startable.
    static QString unstartableReason(const QString& program);

private:
    void reportFailure(const QString& command, const QString& reason);

    Prompts& prompts_;
};

}  // namespace tessaly
