#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tessaly {

// File names the program cannot handle: names whose bytes are not valid UTF-8 (for example
// Shift-JIS names from an old archive). Such a name has no text form that opens the file
// again, so the folder lists leave these files out; the runs report them instead of dropping
// them without a word.

// The folder's regular files whose names are not valid UTF-8 and end in suffix (compared
// ignoring ASCII letter case, e.g. ".jpg"), as escapedFileName() shows them, sorted.
QStringList undecodableFileNames(const QString& folder, const QByteArray& suffix);

// The name with every byte that is not part of valid UTF-8 written as "\xNN"
// (lower-case hexadecimal), e.g. "\x8e\xca.jpg".
QString escapedFileName(const QByteArray& raw);

// The notice listing such files: "次のファイルは名前が UTF-8 でないため、目録に入れて
// いません。..." followed by one name per line.
QString undecodableNamesMessage(const QStringList& shownNames);

}  // namespace tessaly
