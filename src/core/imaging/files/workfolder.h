#pragma once

#include <QString>

#include "core/imaging/files/folderhandle.h"

namespace tessaly {

// A new folder (".work-" + six letters or digits, mode 0700) made inside an open folder for
// files that wait there until they are moved into place. It goes, with whatever it still
// holds, when the object goes; links inside are removed as links, never followed.
class WorkFolder {
public:
    explicit WorkFolder(const FolderHandle& parent);
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    // False when the folder could not be made (errno tells why).
    bool isValid() const { return folder_.isOpen(); }
    // Where it would be when it could not be made.
    QString path() const;
    QString filePath(const QString& name) const { return folder_.filePath(name); }
    const FolderHandle& handle() const { return folder_; }

private:
    FolderHandle parent_;
    QString name_;
    FolderHandle folder_;
};

}  // namespace tessaly
