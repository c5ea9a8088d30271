#include "core/imaging/pixels/heaptuning.h"

#include <cstdlib>  // defines __GLIBC__ on glibc systems

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace tessaly {

void keepLargeBlocksOnHeap() {
#ifdef __GLIBC__
    mallopt(M_MMAP_THRESHOLD, 512 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024 * 1024);
#endif
}

}  // namespace tessaly
