#include "batch/usageerror.h"

#include <cstdio>

namespace tessaly::batch {

int usageError(const QString& text, const char* usage) {
    std::fprintf(stderr, "tessaly-batch: %s\n", text.toUtf8().constData());
    std::fputs(usage ? usage : "Try 'tessaly-batch --help' for more.\n", stderr);
    return 2;
}

}  // namespace tessaly::batch
