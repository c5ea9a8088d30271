#include <cstdio>

#include "batch/batchcommands.h"

namespace tessaly::batch {

int runConvertBmpCommand(const QStringList&) {
    std::fputs("tessaly-batch: --convert-bmp is not built yet\n", stderr);
    return 2;
}

int runRotateCommand(const QStringList&) {
    std::fputs("tessaly-batch: --rotate is not built yet\n", stderr);
    return 2;
}

}  // namespace tessaly::batch
