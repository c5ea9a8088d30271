#include "batch/usageerror.h"

#include <cstdio>

namespace tessaly::batch {

int usageError(const QString& text, const char* usage) {
    QString line = text;
    line.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    std::fprintf(stderr, "tessaly-batch: %s\n", line.toUtf8().constData());
    std::fputs(usage ? usage : "Try 'tessaly-batch --help' for more.\n", stderr);
    return 2;
}

}  // namespace tessaly::batch
