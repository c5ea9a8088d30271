#pragma once

#include <QString>

namespace tessaly {

// Copies a file into a folder under its own name, replacing an existing file of that name.
// Raises IoError "ﾌｧｲﾙ <path> は開けません" when the source cannot be opened and
// "ﾌｧｲﾙ <path> を作成できません" when the copy cannot be created or written.
// Returns the path of the copy.
QString copyFileToFolder(const QString& sourcePath, const QString& folder);

}  // namespace tessaly
