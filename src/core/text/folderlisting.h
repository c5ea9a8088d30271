#pragma once

#include <QString>
#include <QStringList>

namespace tessaly {

// The one order of names in every list the program shows or works through: by name ignoring
// letter case; names that differ only in case keep a fixed order among themselves.
bool precedesInListing(const QString& a, const QString& b);

// The regular files of folder that are not hidden, in listing order, filtered by mask: "*.*" or
// "*" for every file, several patterns separated by ";", letter case ignored. Names only.
QStringList listFiles(const QString& folder, const QString& mask);

// The sub-folders of folder that are not hidden, in listing order. Names only.
QStringList listSubFolders(const QString& folder);

}  // namespace tessaly
