#include <cstdio>

#include "batch/batchcommands.h"

namespace tessaly::batch {

int runTocCommand(const QStringList&) {
    std::fputs("tessaly-batch: --toc is not built yet\n", stderr);
    return 2;
}

}  // namespace tessaly::batch
