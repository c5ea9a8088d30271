#pragma once

#include <QStringList>

namespace tessaly::batch {

// Each mode of tessaly-batch; args are the command-line arguments after the program name.
// They return the process exit status (0 all well, 1 a file failed, 2 usage error).
int runCatalogCommand(const QStringList& args);
int runTocCommand(const QStringList& args);
int runConvertBmpCommand(const QStringList& args);
int runRotateCommand(const QStringList& args);

// True when the arguments ask for a mode's usage text ("-h" or "--help" anywhere), also
// right after an option that takes a value ("--rotate --help", "--toc --help").
bool asksForHelp(const QStringList& args);

}  // namespace tessaly::batch
