#include "core/imaging/files/workfolder.h"

#include <cerrno>

namespace tessaly {

WorkFolder::WorkFolder(const FolderHandle& parent)
    : parent_(parent), name_(parent.makeFolder(QStringLiteral(".work-XXXXXX"))) {
    if (name_.isEmpty()) return;
    folder_ = parent_.sub(name_, false);
    if (!folder_.isOpen()) {
        const int error = errno;
        parent_.removeTree(name_);
        errno = error;
    }
}

WorkFolder::~WorkFolder() {
    if (!name_.isEmpty()) parent_.removeTree(name_);
}

QString WorkFolder::path() const {
    return name_.isEmpty() ? parent_.filePath(QStringLiteral(".work-XXXXXX"))
                           : parent_.filePath(name_);
}

}  // namespace tessaly
