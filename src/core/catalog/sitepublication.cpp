#include "core/catalog/sitepublication.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <memory>

#include "core/imaging/files/filereplacement.h"
#include "core/imaging/jpeg/jpegimage.h"
#include "core/imaging/metadata/privacyfilter.h"

namespace tessaly {

const char* const SitePublication::kRecordName = "published.txt";

namespace {

constexpr int kFilteredQuality = 95;

QString siteProblem(const QString& path) {
    return QStringLiteral("公開フォルダ %1 に書き込めません。").arg(QDir::toNativeSeparators(path));
}

// A JPEG picture decoded and encoded again with only the metadata the privacy filter keeps
// (a colour profile only when it describes RGB): nothing stored anywhere in the file survives.
QByteArray filteredPicture(const QString& path) {
    const QByteArray data = JpegImage::readFile(path);
    JpegImage image;
    image.loadFromData(data);
    JpegSegments kept =
        PrivacyFilter(false).filtered(JpegImage::readSegments(data), image.width(), image.height());
    if (kept.iccProfile().mid(16, 4) != "RGB ") {
        JpegSegments withoutProfile;
        for (const JpegSegment& segment : kept.list) {
            if (!JpegSegments::isIccChunk(segment)) withoutProfile.list.push_back(segment);
        }
        kept = withoutProfile;
    }
    image.setSegments(kept);
    image.setCompressionQuality(kFilteredQuality);
    return image.saveToData();
}

QByteArray contentOf(const SiteFile& file) {
    if (file.filtered) return filteredPicture(file.source);
    QFile source(file.source);
    if (!source.open(QIODevice::ReadOnly))
        throw IoError(QStringLiteral("ﾌｧｲﾙ %1 は開けません").arg(file.source));
    return source.readAll();
}

bool holds(const FolderHandle& folder, const QString& name, const QByteArray& content) {
    if (!folder.isRegularFile(name)) return false;
    QFile file(folder.filePath(name));
    return file.size() == content.size() && file.open(QIODevice::ReadOnly) &&
           file.readAll() == content;
}

// A path inside the site: relative, without empty, "." or ".." parts.
bool insideSite(const QString& name) {
    if (name.isEmpty() || name.startsWith(QLatin1Char('/'))) return false;
    for (const QString& part : name.split(QLatin1Char('/'))) {
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return false;
    }
    return true;
}

}  // namespace

SitePublication::SitePublication(const QString& site, const FolderHandle& recordFolder)
    : site_(QDir::cleanPath(QFileInfo(site).absoluteFilePath())), recordFolder_(recordFolder) {}

void SitePublication::add(const SiteFile& file) {
    if (!insideSite(file.name)) throw IoError(siteProblem(site_), file.name);
    files_.push_back(file);
}

void SitePublication::publish() {
    written_ = 0;
    if (!QDir().mkpath(site_)) throw CreateError(siteProblem(site_));
    const FolderHandle root = FolderHandle::open(site_);
    if (!root.isOpen()) throw IoError(siteProblem(site_));
    std::vector<std::unique_ptr<FileReplacement>> staged;
    QStringList names;
    QSet<QString> seen;
    for (const SiteFile& file : files_) {
        if (seen.contains(file.name)) continue;
        seen.insert(file.name);
        names << file.name;
        const QByteArray content = contentOf(file);
        const FolderHandle folder = folderOf(root, file.name);
        const QString leaf = file.name.section(QLatin1Char('/'), -1);
        if (holds(folder, leaf, content)) continue;
        staged.push_back(std::make_unique<FileReplacement>(folder, leaf));
        staged.back()->write(content);
    }
    for (const std::unique_ptr<FileReplacement>& replacement : staged) replacement->commit();
    written_ = int(staged.size());
    removeStale(root, seen);
    QByteArray record = site_.toUtf8() + '\n';
    for (const QString& name : names) record += name.toUtf8() + '\n';
    FileReplacement::replace(recordFolder_, QLatin1String(kRecordName), record);
}

// The folder holding a site file, made when missing; never through a link.
FolderHandle SitePublication::folderOf(const FolderHandle& root, const QString& name) const {
    FolderHandle folder = root;
    const QStringList parts = name.split(QLatin1Char('/'));
    for (int i = 0; i + 1 < parts.size(); ++i) {
        folder = folder.sub(parts[i], true);
        if (!folder.isOpen()) throw IoError(siteProblem(site_ + QLatin1Char('/') + parts[i]));
    }
    return folder;
}

// The names the last publication to this same site recorded; none for another site.
QStringList SitePublication::recordedNames() const {
    QFile file(recordFolder_.filePath(QLatin1String(kRecordName)));
    if (recordFolder_.isLink(QLatin1String(kRecordName)) || !file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines =
        QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (lines.isEmpty() || lines.takeFirst() != site_) return {};
    return lines;
}

// The files the last publication put in the site that this one does not keep: regular files
// only, reached without following a link.
void SitePublication::removeStale(const FolderHandle& root, const QSet<QString>& names) const {
    for (const QString& name : recordedNames()) {
        if (names.contains(name) || !insideSite(name)) continue;
        FolderHandle folder = root;
        const QStringList parts = name.split(QLatin1Char('/'));
        for (int i = 0; i + 1 < parts.size() && folder.isOpen(); ++i) {
            if (!folder.isFolder(parts[i]))
                folder = FolderHandle();
            else
                folder = folder.sub(parts[i], false);
        }
        if (folder.isOpen() && folder.isRegularFile(parts.last())) folder.remove(parts.last());
    }
}

}  // namespace tessaly
