#include "core/pages/pagefile.h"

#include <QFileInfo>

#include "core/text/errors.h"

namespace tessaly {

namespace {

// The page's name may be taken only by a file (or a link to one, or nothing yet): a folder
// would refuse the rename at the very end, and a device or pipe is nothing to replace.
const QString& replaceablePage(const QString& path) {
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) throw CreateError(cannotCreateMessage(path));
    return path;
}

}  // namespace

PageFile::PageFile(const QString& path)
    : path_(path),
      replacement_(replaceablePage(path), FileReplacement::Links::Refuse),
      out_(std::make_unique<TextFileWriter>(replacement_.temporaryPath(),
                                            sjis::Unmappable::CharacterRef,
                                            TextFileWriter::Replace::Direct, path)) {}

void PageFile::close() { out_->close(); }

void PageFile::publish() {
    close();
    replacement_.commit();
}

}  // namespace tessaly
