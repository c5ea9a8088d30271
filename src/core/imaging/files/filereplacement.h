#pragma once

#include <QByteArray>
#include <QString>

namespace tessaly {

// Replaces a file in one step: the new content is written to a temporary file in the same
// folder, which is flushed to disk and then renamed over the target. Until commit() the
// target is untouched, so a failed encode, a full disk or a kill leaves the old file as it
// was. An uncommitted temporary file is removed when the object goes.
// The temporary name is short (".tessaly-XXXXXX.tmp"), so targets whose names are as long
// as the file system allows can be replaced too.
class FileReplacement {
public:
    // Creates the temporary file. Raises IoError "ﾌｧｲﾙ <target> を作成できません" when the
    // folder does not allow it or the target exists and may not be written.
    explicit FileReplacement(const QString& targetPath);
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
    static void replace(const QString& targetPath, const QByteArray& data);

    // Removes what killed runs left in the folder: regular files named like our temporary
    // files (".tessaly-" + six letters or digits + ".tmp") and work folders (".work-" + six
    // letters or digits, with the numbered thumbnails they held) that were last changed more
    // than a day ago. A younger one may belong to a run still going on, here or on another
    // machine sharing the folder (locks are not trusted on network shares). A folder that is
    // a link, or a link in it, is left alone. Failures are ignored.
    static void removeAbandoned(const QString& folder);

private:
    void prepare(const QString& modelPath);
    void discard() noexcept;
    [[noreturn]] void fail();

    QString targetPath_;
    QString temporaryPath_;
    bool committed_ = false;
};

}  // namespace tessaly
