#pragma once

#include <QStringList>

namespace tessaly::batch {

// Each mode of tessaly-batch; args are the command-line arguments after the program name.
// They return the process exit status (0 all well, 1 a file failed, 2 usage error).
int runCatalogCommand(const QStringList& args);
int runTocCommand(const QStringList& args);
int runConvertBmpCommand(const QStringList& args);
// BMP or HEIF files to JPEG; also 130 after Ctrl-C.
int runConvertCommand(const QStringList& args);
int runRotateCommand(const QStringList& args);
// The images a catalogue publishes with positions, serial numbers or owner names: 4 when any.
int runCheckPrivacyCommand(const QStringList& args);

// True when the arguments ask for a mode's usage text ("-h" or "--help" anywhere), also
// right after an option that takes a value ("--rotate --help", "--toc --help").
bool asksForHelp(const QStringList& args);

}  // namespace tessaly::batch
