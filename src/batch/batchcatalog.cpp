#include <cstdio>

#include "batch/batchcommands.h"

namespace tessaly::batch {

int runCatalogCommand(const QStringList&) {
    std::fputs("tessaly-batch: catalogue mode is not built yet\n", stderr);
    return 2;
}

}  // namespace tessaly::batch
