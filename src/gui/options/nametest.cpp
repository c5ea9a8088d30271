#include "gui/options/nametest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/settings/outputnames.h"
#include "core/text/errors.h"
#include "core/text/formatting.h"

namespace tessaly {

NameTest::NameTest(QString configFolder) : configFolder_(std::move(configFolder)) {}

QString NameTest::scratchFolder() const {
    return folderPath(configFolder_) + QStringLiteral("temp");
}

QString NameTest::badFolderMessage() {
    return QStringLiteral("フォルダ名が不正です。\n指定し直してください。");
}

QString NameTest::badFileMessage() {
    return QStringLiteral("ファイル名が不正です。\n指定し直してください。");
}

QString NameTest::badPrefixMessage() {
    return QStringLiteral("サムネイル画像に付加する文字列が不正です。\n指定し直してください。");
}

bool NameTest::isSingleName(const QString& name, bool allowEmpty) {
    return name.isEmpty() ? allowEmpty : isPlainName(name);
}

// Creates the file with one empty line unless it exists already; true when a plain file is
// there afterwards.
bool NameTest::makeScratchFile(const QString& path) {
    if (!QFileInfo::exists(path)) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) return false;
        const bool written = file.write("\r\n", 2) == 2;
        file.close();
        if (!written) return false;
    }
    return QFileInfo(path).isFile();
}

NameTest::Result NameTest::run(const QString& folderName, const QString& fileName,
                               const QString& prefix) const {
    if (!isSingleName(prefix, true)) return Result::BadPrefix;
    const QString scratch = scratchFolder();
    // mkpath: an installed copy's settings folder may not exist before the first save.
    if (!QFileInfo(scratch).isDir() && !QDir().mkpath(scratch)) {
        throw IoError(QStringLiteral("フォルダ %1 を作成できません").arg(scratch));
    }
    // An empty folder name tests the scratch folder itself.
    if (!isSingleName(folderName, true)) return Result::BadFolderName;
    const QString folder = folderName.isEmpty() ? scratch : scratch + QLatin1Char('/') + folderName;
    const bool madeFolder = !QFileInfo::exists(folder);
    if (madeFolder && !QDir().mkdir(folder)) return Result::BadFolderName;
    if (!QFileInfo(folder).isDir()) return Result::BadFolderName;

    const QString file = folder + QLatin1Char('/') + fileName;
    if (!isSingleName(fileName, false) || !makeScratchFile(file)) {
        if (madeFolder) QDir().rmdir(folder);
        return Result::BadFileName;
    }
    QFile::remove(file);
    if (folder != scratch) QDir().rmdir(folder);  // a folder that is not empty simply stays
    return Result::Passed;
}

}  // namespace tessaly
