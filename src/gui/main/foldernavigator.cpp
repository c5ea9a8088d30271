#include "gui/main/foldernavigator.h"

#include <QLineEdit>
#include <utility>

#include "core/text/charfuncs.h"
#include "gui/common/filelist.h"
#include "gui/common/folderlist.h"
#include "gui/common/volumebox.h"

namespace tessaly {

FolderNavigator::FolderNavigator(VolumeBox& drives, FolderList& folders, FileList& files,
                                 QLineEdit& title, const QString& homeFolder,
                                 std::function<bool(const QString&)> passOver)
    : drives_(drives),
      folders_(folders),
      files_(files),
      title_(title),
      homeFolder_(homeFolder),
      passOver_(std::move(passOver)) {
    connect(&folders_, &FolderList::directoryChanged, this, &FolderNavigator::folderChanged);
    connect(&folders_, &FolderList::openFailed, this, &FolderNavigator::fallBack);
    connect(&drives_, &VolumeBox::driveChanged, this, &FolderNavigator::changeDrive);
}

void FolderNavigator::openFolder(const QString& path) {
    if (!folders_.setDirectory(path)) fallBack();
}

void FolderNavigator::changeDrive(const QString& root) { openFolder(root); }

void FolderNavigator::nextFolder() {
    const QString current = folders_.directory();
    const QString parent = parentOf(current);
    if (!folders_.setDirectory(parent)) return fallBack();
    const int parentIndex = folders_.openIndex();
    const QString base = parent == QLatin1String("/") ? QString() : parent;
    int target = 0;
    for (int i = parentIndex; i < folders_.count(); ++i) {
        if (base + QLatin1Char('/') + folders_.item(i)->text() == current) {
            target = nextSibling(i, parentIndex + 1);
            break;
        }
    }
    folders_.setCurrentRow(target);
    if (!folders_.setDirectory(folders_.entryPath(target))) fallBack();
}

// The sub-folder after row `from` (wrapping to row `first`) that is not passed over; `from`
// itself when every other one is.
int FolderNavigator::nextSibling(int from, int first) const {
    int row = from;
    do {
        row = row + 1 < folders_.count() ? row + 1 : first;
    } while (row != from && passOver_ && passOver_(folders_.entryPath(row)));
    return row;
}

void FolderNavigator::refresh() {
    if (!folders_.refresh()) return fallBack();
    files_.refresh();
}

QString FolderNavigator::ownName(const QString& folder) {
    const int k = lastSeparator(folder);
    return charRight(folder, charLength(folder) - k);
}

int FolderNavigator::lastSeparator(const QString& path) {
    for (int k = charLength(path); k >= 1; --k) {
        if (charMid(path, k, 1) == QLatin1String("/")) return k;
    }
    return 0;
}

QString FolderNavigator::parentOf(const QString& folder) {
    const QString parent = charLeft(folder, lastSeparator(folder) - 1);
    return parent.isEmpty() ? QStringLiteral("/") : parent;
}

void FolderNavigator::folderChanged(const QString& path) {
    drives_.setDrive(path);
    files_.setDirectory(path);
    title_.setText(ownName(path));
}

void FolderNavigator::fallBack() {
    if (!folders_.setDirectory(homeFolder_) && folders_.directory().isEmpty())
        folders_.setDirectory(QStringLiteral("/"));
    drives_.setDrive(folders_.directory());
}

}  // namespace tessaly
