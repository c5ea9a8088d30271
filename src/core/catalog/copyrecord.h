#pragma once

#include <QString>
#include <QStringList>

#include "core/imaging/files/folderhandle.h"

namespace tessaly {

// The record beside the web copies ("copies.txt"): the line of the policy they were made
// under, then the names of the copies the run that wrote it left there, one a line (UTF-8).
// Only the copies it names are ever removed as stale; a record of the policy line alone
// names none.
class CopyRecord {
public:
    // The record in the web folder; empty when there is none or it cannot be read. Raises
    // LinkRefusedError when the record's name is a link.
    static CopyRecord read(const FolderHandle& web);

    // Replaces the record with the policy line and these names.
    static void write(const FolderHandle& web, const QString& policyLine, const QStringList& names);

    // Removes the copies this record names that are not among kept and are regular files
    // (a link or folder of that name is left alone).
    void removeStale(const FolderHandle& web, const QStringList& kept) const;

    const QString& policyLine() const { return policyLine_; }
    const QStringList& names() const { return names_; }

private:
    QString policyLine_;
    QStringList names_;
};

}  // namespace tessaly
