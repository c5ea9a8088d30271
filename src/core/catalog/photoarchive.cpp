#include "core/catalog/photoarchive.h"

#include <zip.h>

#include <QFileInfo>
#include <memory>

#include "core/text/errors.h"

namespace tessaly {

namespace {

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

QString archiveProblem(const QString& path) {
    return QStringLiteral("ファイル %1 に書き込めません。").arg(path);
}

}  // namespace

bool PhotoArchive::upToDate(const QString& path, const FolderHandle& web,
                            const QStringList& names) {
    const QFileInfo made(path);
    if (!made.isFile() || made.isSymLink()) return false;
    int error = 0;
    const Archive archive(zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error));
    if (!archive || zip_get_num_entries(archive.get(), 0) != names.size()) return false;
    for (int i = 0; i < names.size(); ++i) {
        const char* name = zip_get_name(archive.get(), zip_uint64_t(i), ZIP_FL_ENC_RAW);
        if (!name || QString::fromUtf8(name) != names[i]) return false;
        const QFileInfo copy(web.filePath(names[i]));
        if (!copy.isFile() || copy.lastModified() > made.lastModified()) return false;
    }
    return true;
}

void PhotoArchive::make(const QString& path, const FolderHandle& web, const QStringList& names) {
    int error = 0;
    Archive archive(
        zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error));
    if (!archive) throw IoError(archiveProblem(path));
    for (const QString& name : names) {
        // Only the copies themselves go in: never what a link in their place points at.
        if (!web.isRegularFile(name)) throw IoError(archiveProblem(path), web.filePath(name));
        zip_source_t* source = zip_source_file(
            archive.get(), QFile::encodeName(web.filePath(name)).constData(), 0, -1);
        if (!source) throw IoError(archiveProblem(path), web.filePath(name));
        const zip_int64_t index =
            zip_file_add(archive.get(), name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            throw IoError(archiveProblem(path), QString::fromUtf8(zip_strerror(archive.get())));
        }
        zip_set_file_compression(archive.get(), zip_uint64_t(index), ZIP_CM_STORE, 0);
    }
    if (zip_close(archive.get()) != 0)
        throw IoError(archiveProblem(path), QString::fromUtf8(zip_strerror(archive.get())));
    archive.release();
}

}  // namespace tessaly
