#pragma once

#include <QString>

namespace tessaly {

// Replaces a file in one step: the new content is written to a temporary file in the same
// folder, which is flushed to disk and then renamed over the target. Until commit() the
// target is untouched, so a failed encode or a full disk leaves the old file as it was.
// An uncommitted temporary file is removed when the object goes.
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

    // Syncs the temporary file, gives it the target's permissions (or the usual ones for a
    // new file) and renames it over the target. Raises IoError "ファイル <target>
    // に書き込めません。" when that fails; the target then is unchanged.
    void commit();

private:
    void discard() noexcept;

    QString targetPath_;
    QString temporaryPath_;
    bool committed_ = false;
};

}  // namespace tessaly
