#pragma once

#include "core/text/shell.h"

namespace tessaly {

// Shell calls through the desktop: documents open with QDesktopServices, programs start
// detached with their parameter and working folder.
class DesktopShell : public Shell {
public:
    void openDocument(const QString& path) override;
    void startProgram(const QString& program, const QString& parameter,
                      const QString& workingFolder) override;
};

}  // namespace tessaly
