#pragma once

#include <QString>

namespace tessaly {

// The operating system's shell, as the core asks for it. The windows pass in the desktop
// implementation; tests and the command line pass their own.
class Shell {
public:
    virtual ~Shell() = default;
    // Opens a document with the program associated with it (the shell's "OPEN").
    virtual void openDocument(const QString& path) = 0;
    // Starts a program with one parameter text and a working folder, shown normally.
    virtual void startProgram(const QString& program, const QString& parameter,
                              const QString& workingFolder) = 0;
};

}  // namespace tessaly
