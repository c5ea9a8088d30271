#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <vector>

#include "core/imaging/files/folderhandle.h"

namespace tessaly {

// One file of a published site: the output a run left in the photo folder, and its path in
// the site, as the pages reach it ("/" between folders).
struct SiteFile {
    QString source;
    QString name;
    // A JPEG picture published through the privacy filter (re-encoded without what the filter
    // drops), not byte for byte.
    bool filtered = false;
};

// A catalogue's outputs written to another folder, ready to upload: the files added, nothing
// else of the photo folder. A file whose content is already there is left alone (its time
// too); the files the last publication put there and this one does not are removed. Every
// new content is written to a temporary file first and all are renamed into place together,
// the pages (added last) last, so that a failure leaves the published site as it was.
// The names published are recorded beside the photographs, in the folder given.
class SitePublication {
public:
    SitePublication(const QString& site, const FolderHandle& recordFolder);

    // The record's name in its folder.
    static const char* const kRecordName;

    void add(const SiteFile& file);
    // Raises IoError (LinkRefusedError for a link in place of a file or folder of the site).
    void publish();
    // The files the last publish() wrote (the others were there already).
    int written() const { return written_; }

private:
    FolderHandle folderOf(const FolderHandle& root, const QString& name) const;
    QStringList recordedNames() const;
    void removeStale(const FolderHandle& root, const QSet<QString>& names) const;

    QString site_;
    FolderHandle recordFolder_;
    std::vector<SiteFile> files_;
    int written_ = 0;
};

}  // namespace tessaly
