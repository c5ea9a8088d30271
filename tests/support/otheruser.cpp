#include "support/otheruser.h"

#include <unistd.h>

#include <QDirIterator>
#include <QFile>
#include <cstdlib>

namespace tessaly::test {

namespace {

constexpr uid_t kNobody = 65534;

}  // namespace

AsOtherUser::AsOtherUser() {
    if (geteuid() != 0) {
        active_ = true;  // an ordinary user already: permissions count
        return;
    }
    switched_ = seteuid(kNobody) == 0;
    active_ = switched_;
}

AsOtherUser::~AsOtherUser() {
    if (switched_ && seteuid(0) != 0) std::abort();  // the rest of the suite needs root back
}

void openUp(const QString& folder) {
    const auto everyone = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                          QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                          QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    QFile::setPermissions(folder, everyone);
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (it.fileInfo().isSymLink()) continue;
        QFile::setPermissions(path, it.fileInfo().isDir()
                                        ? everyone
                                        : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                              QFile::WriteGroup | QFile::ReadOther |
                                              QFile::WriteOther);
    }
}

void makeReadOnly(const QString& path) {
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                    QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
}

}  // namespace tessaly::test
