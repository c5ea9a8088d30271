#include "core/catalog/outputguard.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/imaging/files/folderhandle.h"
#include "core/text/errors.h"

namespace tessaly {

namespace {

// The path a write to this path would reach: links followed as far as they go (a chain
// longer than the system's own limit counts as unresolvable), then the folder made
// canonical. Empty when the folder does not exist. Each link on the way is added to links.
QString writtenPath(const QString& path, QStringList* links = nullptr) {
    QString current = QFileInfo(path).absoluteFilePath();
    for (int depth = 0; QFileInfo(current).isSymLink(); ++depth) {
        if (depth == 40) return QString();
        if (links) links->append(current);
        const QString target = QFileInfo(current).symLinkTarget();
        if (target.isEmpty()) return QString();
        current = target;
    }
    const QFileInfo info(current);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (folder.isEmpty()) return QString();
    return (folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/')) +
           info.fileName();
}

bool identity(const QString& path, std::pair<dev_t, ino_t>& id) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) return false;
    id = {info.st_dev, info.st_ino};
    return true;
}

}  // namespace

OutputGuard::OutputGuard(const QString& folder, const QString& thumbFolder,
                         const QStringList& photoPaths)
    : folder_(QFileInfo(folder).canonicalFilePath()),
      thumbFolder_(QFileInfo(thumbFolder).canonicalFilePath()) {
    for (const QString& photo : photoPaths) {
        photoPaths_.insert(writtenPath(photo));
        std::pair<dev_t, ino_t> id;
        if (identity(photo, id)) photoFiles_.insert(id);
    }
}

bool OutputGuard::inside(const QString& path) const {
    const QString folder = QFileInfo(QFileInfo(path).absolutePath()).canonicalFilePath();
    return folder == folder_ || folder == thumbFolder_;
}

bool OutputGuard::allows(const QString& path) const {
    QStringList links;
    const QString target = writtenPath(path, &links);
    if (target.isEmpty() || photoPaths_.contains(target)) return false;
    const QString folder = QFileInfo(target).path();
    if (folder != folder_ && folder != thumbFolder_) return false;
    // A link on the way that lies outside both folders is the user's, not ours to replace.
    for (const QString& link : links) {
        if (!inside(link)) return false;
    }
    std::pair<dev_t, ino_t> id;
    return !identity(target, id) || photoFiles_.count(id) == 0;
}

void OutputGuard::check(const QString& path, const QString& settingLabel) const {
    if (!allows(path)) throw SettingsError(refusedMessage(path, settingLabel));
    // Even one that stays inside: outputs are replaced, never written through a link.
    if (QFileInfo(path).isSymLink()) throw LinkRefusedError(FolderHandle::linkRefusedMessage(path));
}

QString OutputGuard::refusedMessage(const QString& path, const QString& settingLabel) {
    const QString origin = settingLabel.isEmpty()
                               ? QString()
                               : QStringLiteral("（設定「%1」による名前）").arg(settingLabel);
    return QStringLiteral(
               "%1%2 は、写真フォルダとサムネイル画像フォルダの外か、"
               "読み込む写真そのものを指しているため書き込みません。\n"
               "処理は中断されました。")
        .arg(QDir::toNativeSeparators(path), origin);
}

}  // namespace tessaly
