#include "core/text/writeproblem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>

namespace tessaly {

namespace {

bool statOf(const QString& path, struct stat& info) {
    return ::stat(QFile::encodeName(path).constData(), &info) == 0;
}

bool writable(const QString& path, int mode) {
    return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), mode, AT_EACCESS) == 0;
}

// What the folder holding a file says about a write into it; empty when it allows one.
QString parentProblem(const QString& folder) {
    const QString name =
        QFileInfo(folder).fileName().isEmpty() ? folder : QFileInfo(folder).fileName();
    struct stat info {};
    if (!statOf(folder, info)) return QStringLiteral("%1 フォルダがありません").arg(name);
    if (!S_ISDIR(info.st_mode)) {
        return QStringLiteral("%1 はフォルダではないため、中に書き込めません").arg(name);
    }
    if (!writable(folder, W_OK | X_OK)) {
        return QStringLiteral("%1 フォルダに書き込み権限がありません").arg(name);
    }
    return QString();
}

QString byReason(const QString& shownName, int error) {
    if (error == 0) return QStringLiteral("%1 に書き込めません").arg(shownName);
    return QStringLiteral("%1 に書き込めません：%2").arg(shownName, systemReason(error));
}

}  // namespace

QString systemReason(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return QStringLiteral("書き込み権限がありません");
        case ENOSPC:
            return QStringLiteral("ディスクに空きがありません");
        case EDQUOT:
            return QStringLiteral("ディスクの使用量の上限に達しています");
        case EROFS:
            return QStringLiteral("読み取り専用のディスクです");
        case ENAMETOOLONG:
            return QStringLiteral("名前が長すぎます");
        case EISDIR:
            return QStringLiteral("同じ名前のフォルダがあります");
        case ENOTDIR:
        case ENOENT:
            return QStringLiteral("フォルダがありません");
        case EEXIST:
            return QStringLiteral("同じ名前のファイルがあります");
        case EFBIG:
            return QStringLiteral("ファイルが大きすぎます");
        case EIO:
            return QStringLiteral("ディスクの読み書きに失敗しました");
        case EMFILE:
        case ENFILE:
            return QStringLiteral("開いているファイルが多すぎます");
        case ENOMEM:
            return QStringLiteral("メモリが足りません");
        case ELOOP:
            return QStringLiteral("リンクが多すぎるか、循環しています");
        case EXDEV:
            return QStringLiteral("別のディスクへは移せません");
        default:
            return QStringLiteral("原因不明のエラーです");
    }
}

QString fileWriteProblem(const QString& path, const QString& shownName, int error) {
    struct stat info {};
    if (statOf(path, info)) {
        if (S_ISDIR(info.st_mode)) {
            return QStringLiteral("%1 はフォルダのため書き込めません").arg(shownName);
        }
        if (!S_ISREG(info.st_mode)) {
            return QStringLiteral("%1 は通常のファイルではないため書き込めません").arg(shownName);
        }
    }
    const QString folderProblem = parentProblem(QFileInfo(path).absolutePath());
    if (!folderProblem.isEmpty()) return folderProblem;
    if (statOf(path, info) && !writable(path, W_OK)) {
        return QStringLiteral("%1 に書き込み権限がありません").arg(shownName);
    }
    return byReason(shownName, error);
}

QString folderWriteProblem(const QString& path, const QString& shownName, int error) {
    struct stat info {};
    if (statOf(path, info)) {
        if (!S_ISDIR(info.st_mode)) {
            return QStringLiteral("%1 はフォルダではないため使えません").arg(shownName);
        }
        if (!writable(path, W_OK | X_OK)) {
            return QStringLiteral("%1 フォルダに書き込み権限がありません").arg(shownName);
        }
        return byReason(shownName, error);
    }
    const QString folderProblem = parentProblem(QFileInfo(path).absolutePath());
    return folderProblem.isEmpty() ? byReason(shownName, error) : folderProblem;
}

}  // namespace tessaly
