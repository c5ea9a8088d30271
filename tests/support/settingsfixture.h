#pragma once

#include <QByteArray>
#include <QStringList>

namespace tessaly::test {

// tests/data/settings/default.ini: the settings file written for a record at its defaults, byte
// for byte (Shift-JIS, CR LF). Its keys and values in file order stand for every list of them a
// test would otherwise copy; a change to what the program writes shows as a difference here.
QByteArray defaultSettingsFile();
// Its lines: the version line, then a key line and a value line for each setting written.
QStringList defaultSettingsLines();
// The key lines and the value lines, in file order.
QStringList defaultSettingsKeys();
QStringList defaultSettingsValues();

}  // namespace tessaly::test
