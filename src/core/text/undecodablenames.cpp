#include "core/text/undecodablenames.h"

#include <dirent.h>
#include <sys/stat.h>

#include <QByteArrayView>
#include <QFile>
#include <algorithm>

namespace tessaly {

namespace {

// The length of the valid UTF-8 sequence starting at from, 0 when there is none.
int sequenceLength(const QByteArray& raw, int from) {
    for (int length = 1; length <= 4 && from + length <= raw.size(); ++length) {
        if (QByteArrayView(raw.constData() + from, length).isValidUtf8()) return length;
    }
    return 0;
}

bool endsWithIgnoringCase(const QByteArray& name, const QByteArray& suffix) {
    return name.size() >= suffix.size() && name.right(suffix.size()).toLower() == suffix.toLower();
}

}  // namespace

QString escapedFileName(const QByteArray& raw) {
    QString shown;
    for (int i = 0; i < raw.size();) {
        const int length = sequenceLength(raw, i);
        if (length > 0) {
            shown += QString::fromUtf8(raw.constData() + i, length);
            i += length;
            continue;
        }
        shown += QStringLiteral("\\x%1").arg(static_cast<unsigned char>(raw[i]), 2, 16,
                                             QLatin1Char('0'));
        ++i;
    }
    return shown;
}

QStringList undecodableFileNames(const QString& folder, const QByteArray& suffix) {
    QStringList shown;
    const QByteArray path = QFile::encodeName(folder);
    DIR* dir = ::opendir(path.constData());
    if (dir == nullptr) return shown;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (QByteArrayView(name).isValidUtf8() || !endsWithIgnoringCase(name, suffix)) continue;
        struct stat info {};
        const QByteArray full = path + '/' + name;
        if (::stat(full.constData(), &info) == 0 && S_ISREG(info.st_mode)) {
            shown << escapedFileName(name);
        }
    }
    ::closedir(dir);
    std::sort(shown.begin(), shown.end());
    return shown;
}

QString undecodableNamesMessage(const QStringList& shownNames) {
    return QStringLiteral(
               "次のファイルは名前が UTF-8 でないため、目録に入れていません。\n"
               "名前を付け直してから、もう一度実行してください。\n") +
           shownNames.join(QLatin1Char('\n'));
}

}  // namespace tessaly
