#pragma once

#include <QString>
#include <memory>

#include "core/imaging/files/filereplacement.h"
#include "core/text/textfile.h"

namespace tessaly {

// A generated page that goes in place whole or not at all. Its lines are written to a
// temporary file beside the page (".tessaly-XXXXXX.tmp"); publish() renames that over the
// page, which keeps the old page's owner, group and mode. Until then the old page stays as it
// was, and a PageFile dropped unpublished takes its temporary file with it. Lines are
// Shift-JIS with CR LF; characters the code page cannot hold become "&#N;".
class PageFile {
public:
    // Raises CreateError "ﾌｧｲﾙ <path> を作成できません" when the temporary file cannot be
    // made, the page may not be written, or its name is taken by something other than a file
    // (a folder, a device).
    explicit PageFile(const QString& path);
    PageFile(const PageFile&) = delete;
    PageFile& operator=(const PageFile&) = delete;

    TextFileWriter& out() { return *out_; }
    // Raises IoError "ファイル <path> に書き込めません。" when the line cannot be written.
    void writeLine(const QString& line) { out_->writeLine(line); }
    // Flushes and closes the temporary file; raises IoError naming the page when that fails.
    void close();
    // close(), then puts the page in place. Raises IoError naming the page when that fails;
    // the old page then stays.
    void publish();
    const QString& path() const { return path_; }
    // Where the lines go until publish(); after close() it may be rewritten there.
    const QString& temporaryPath() const { return replacement_.temporaryPath(); }

private:
    QString path_;
    FileReplacement replacement_;
    std::unique_ptr<TextFileWriter> out_;
};

}  // namespace tessaly
