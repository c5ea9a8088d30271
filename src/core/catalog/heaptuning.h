#pragma once

namespace tessaly {

// Every photograph of a run is decoded into a fresh full-size bitmap. glibc hands blocks
// that large out as new memory mappings, and touching their pages again for each photograph
// costs about as much as decoding it. After this call large blocks stay on the heap, so the
// next photograph reuses the memory of the last; peak memory stays that of the largest
// photographs in hand. Call once at start-up, before any worker thread exists. Does nothing
// on other C libraries.
void keepLargeBlocksOnHeap();

}  // namespace tessaly
