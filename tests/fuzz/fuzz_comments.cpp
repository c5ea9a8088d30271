// The comment file reader, look-ups and a save of what was read.
#include <cstddef>
#include <cstdint>

#include "core/comments/commenttable.h"
#include "core/text/errors.h"
#include "fuzzscratch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tessaly::fuzz::writeScratch(QStringLiteral("PicComment.txt"), data, size);
    tessaly::CommentTable table;
    try {
        const QString folder = tessaly::fuzz::scratchFolder();
        table.load(folder);
        table.lookUp(QStringLiteral("a.jpg"));
        table.set(QStringLiteral("A.JPG"), QStringLiteral("x"), QString());
        table.save(folder, {QStringLiteral("a.jpg"), QStringLiteral("b.jpg")});
    } catch (const tessaly::Error&) {
    }
    return 0;
}
