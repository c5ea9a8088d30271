#pragma once

#include <QString>

namespace tessaly {

// The system's reason for a failed call (an errno value) in the user's words, e.g.
// "ディスクに空きがありません"; a general sentence for values without one of their own.
QString systemReason(int error);

// Why the file at path could not be written, told from what stands there now: "index.htm
// はフォルダのため書き込めません", "htm_image に書き込み権限がありません" ... The file is named as
// shownName and its folder by the folder's own name; error (an errno value, 0 when unknown)
// gives the reason when nothing in the file system explains the failure; without one the
// text only names the file.
QString fileWriteProblem(const QString& path, const QString& shownName, int error);

// The same for a folder the run has to make or write into.
QString folderWriteProblem(const QString& path, const QString& shownName, int error);

}  // namespace tessaly
