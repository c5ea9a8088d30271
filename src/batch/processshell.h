#pragma once

#include "core/text/shell.h"

namespace tessaly::batch {

// The shell of the command line: documents open through xdg-open, programs start detached.
class ProcessShell : public Shell {
public:
    void openDocument(const QString& path) override;
    void startProgram(const QString& program, const QString& parameter,
                      const QString& workingFolder) override;
};

}  // namespace tessaly::batch
