#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <ostream>

#include "support/batchprocess.h"
#include "support/fulldisk.h"
#include "support/otheruser.h"

// Test failures show texts as text.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace tessaly::test {

// A tmpfs of the given size mounted at a fresh folder under the temporary folder, unmounted
// and removed when destroyed. mounted() is false where the machine does not allow mounting.
class SmallDisk {
public:
    explicit SmallDisk(int kilobytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool mounted() const { return mounted_; }
    QString path() const { return path_; }
    // Fills the free space with a file, leaving about `leave` bytes free.
    void fill(qint64 leave = 0) const;

private:
    QString path_;
    bool mounted_ = false;
};

// While it lives, no file of this process can grow beyond `bytes` (writes past it fail with
// EFBIG, as on a full disk).
using FileSizeLimit = FullDisk;

// Puts a file at path on which every write fails with "no space left on device": a device
// node like /dev/full, or a symbolic link to /dev/full where nodes cannot be made. Only for
// outputs that are written in place (never for ones replaced through a temporary file).
// False when neither works.
bool placeFullDevice(const QString& path);

// Runs the body and returns the message of the tessaly::Error it raised (empty when none).
QString errorOf(const std::function<void()>& body);

}  // namespace tessaly::test
