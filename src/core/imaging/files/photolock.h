#pragma once

#include <QString>

namespace tessaly {

// An advisory lock (flock) on a photograph while it is turned and saved, so two rotations of
// the same file, from two windows or two tessaly-batch runs, never turn it twice over one
// another. The lock is on the file that the name stands for when the lock is taken: a name
// replaced meanwhile by a finished rotation is opened again.
class PhotoLock {
public:
    // Raises IoError "ﾌｧｲﾙ <path> は開けません" when the file cannot be opened, and
    // IoError busyMessage(path) when another rotation holds it.
    explicit PhotoLock(const QString& path);
    ~PhotoLock();
    PhotoLock(const PhotoLock&) = delete;
    PhotoLock& operator=(const PhotoLock&) = delete;

    // "<path> は他の回転処理で使用中です。\n終わってからやり直してください。"
    static QString busyMessage(const QString& path);

private:
    int fd_ = -1;
};

}  // namespace tessaly
