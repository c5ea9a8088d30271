#pragma once

#include <QByteArray>
#include <QString>

#include "core/imaging/files/folderhandle.h"

namespace tessaly {

// Replaces a file in one step: the new content is written to a temporary file in the same
// folder, which is flushed to disk and then renamed over the target. Until commit() the
// target is untouched, so a failed encode, a full disk or a kill leaves the old file as it
// was. An uncommitted temporary file is removed when the object goes.
// The temporary name is short (".tessaly-XXXXXX.tmp"), so targets whose names are as long
// as the file system allows can be replaced too.
class FileReplacement {
public:
    // What a target that is a symbolic link stands for: the file at the end of the link (a
    // photograph the user links to, a settings file), or nothing to write through.
    enum class Links { Follow, Refuse };

    // Creates the temporary file. Raises IoError "ﾌｧｲﾙ <target> を作成できません" when the
    // folder does not allow it or the target exists and may not be written; with
    // Links::Refuse, LinkRefusedError naming the target when it is a link.
    explicit FileReplacement(const QString& targetPath, Links links = Links::Follow);
    // The file `name` in an open folder; a link there is refused as above.
    FileReplacement(const FolderHandle& folder, const QString& name);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Where the new content is to be written (an existing, empty file).
    const QString& temporaryPath() const { return temporaryPath_; }
    const QString& targetPath() const { return targetPath_; }

    // Writes data into the temporary file and flushes it. Raises IoError "ファイル <target>
    // に書き込めません。" when that fails.
    void write(const QByteArray& data);

    // Copies the file at sourcePath, with its access and modification times, into the
    // temporary file. Raises IoError "ﾌｧｲﾙ <source>
    // は開けません" when it cannot be read, or the write error above.
    void copyFrom(const QString& sourcePath);

    // Syncs the temporary file, gives it the target's owner, group and mode (or the usual
    // mode for a new file) and renames it over the target. Raises IoError "ファイル <target>
    // に書き込めません。" when that fails; the target then is unchanged.
    void commit();

    // As commit(), but a target that exists by then is kept and the new content dropped:
    // returns false in that case. For copies that must never replace an earlier one. The
    // new file gets the owner, group and mode of modelPath (the usual mode when empty).
    bool commitIfAbsent(const QString& modelPath = QString());

    // The whole replacement: write, then commit.
    static void replace(const QString& targetPath, const QByteArray& data,
                        Links links = Links::Follow);
    static void replace(const FolderHandle& folder, const QString& name, const QByteArray& data);

    // Removes what killed runs left in the folder: regular files named like our temporary
    // files (".tessaly-" + six letters or digits + ".tmp") and work folders (".work-" + six
    // letters or digits) whole, whatever they hold, that were last changed more than a day
    // ago. A younger one may belong to a run still going on, here or on another machine
    // sharing the folder (locks are not trusted on network shares). A folder that is a link
    // is left alone, and a link inside a work folder is removed as a link, never followed.
    // Failures are ignored.
    static void removeAbandoned(const QString& folder);
    static void removeAbandoned(const FolderHandle& folder);

private:
    void start(const QString& shownTarget, bool refuseLink);
    int openTemporary(int flags) const;
    void prepare(const struct stat* model);
    void discard() noexcept;
    [[noreturn]] void fail();

    FolderHandle folder_;
    QString name_;  // the target's name in folder_
    QString targetPath_;
    QString temporaryName_;
    QString temporaryPath_;
    bool committed_ = false;
};

}  // namespace tessaly
