#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <QString>
#include <memory>
#include <vector>

#include "core/text/errors.h"

namespace tessaly {

// A folder or file the program was to write, replace or remove is a symbolic link: nothing
// was written where it points.
class LinkRefusedError : public IoError {
public:
    using IoError::IoError;
};

// An open folder that everything written, replaced or removed in it goes through. The
// folder the user named is opened as the user named it (a link to a folder is followed
// there only); every folder below it is opened one name at a time without following a link,
// so a link in place of an output folder is refused instead of leading elsewhere, and a
// folder swapped for a link after it was opened changes nothing. Copies share the open
// folder; it is closed when the last one goes.
class FolderHandle {
public:
    struct Entry {
        QString name;
        mode_t type = 0;  // S_IFREG, S_IFDIR, S_IFLNK ... as the entry itself is
    };

    FolderHandle() = default;

    // The folder at path; not open, with errno set, when it cannot be opened.
    static FolderHandle open(const QString& path);

    // The folder `name` in this one (this one itself when name is empty), made when create is
    // true and it does not exist yet. Raises LinkRefusedError naming it when it is a link;
    // for any other failure the handle returned is not open and errno tells why.
    FolderHandle sub(const QString& name, bool create) const;

    bool isOpen() const { return fd_ != nullptr; }
    int fd() const { return fd_ ? *fd_ : -1; }
    // The folder's path as it was named, without a closing '/'.
    const QString& path() const { return path_; }
    QString filePath(const QString& name) const;

    // Raises LinkRefusedError naming the entry when `name` is a symbolic link.
    void refuseLink(const QString& name) const;
    bool isLink(const QString& name) const { return typeOf(name) == S_IFLNK; }
    bool isRegularFile(const QString& name) const { return typeOf(name) == S_IFREG; }
    bool isFolder(const QString& name) const { return typeOf(name) == S_IFDIR; }
    bool exists(const QString& name) const { return typeOf(name) != 0; }
    // The type of the entry itself (a link is not followed); 0 when there is none.
    mode_t typeOf(const QString& name) const;
    // The entries, "." and ".." left out, each with its own type.
    std::vector<Entry> entries() const;

    // Removes a file or link (never what a link points to); false when that failed.
    bool remove(const QString& name) const;
    // Removes the entry and, when it is a real folder, everything in it first; links inside
    // are removed as links. Failures are ignored.
    void removeTree(const QString& name) const;
    // Renames `from` here to `toName` in `to`, replacing what is there (a link there is
    // replaced, not followed). False with errno set when that failed.
    bool move(const QString& from, const FolderHandle& to, const QString& toName) const;
    // Makes a new folder named after pattern (its trailing X's replaced by letters and
    // digits) with mode 0700 and returns its name; empty with errno set when that failed.
    QString makeFolder(const QString& pattern) const;
    // Creates a new file named after pattern (X's as above; never through a link) with mode
    // 0600 and returns its open descriptor, name set to its name; -1 when that failed.
    int createFile(const QString& pattern, QString& name) const;
    // Flushes the folder's entries to disk; a file system that cannot is no failure.
    void sync() const;

    // "<path> はシンボリックリンクのため、書き込みません。..."
    static QString linkRefusedMessage(const QString& path);

private:
    FolderHandle(int fd, QString path);

    std::shared_ptr<const int> fd_;
    QString path_;
};

}  // namespace tessaly
