#pragma once

namespace tessaly {

// Every photograph converted is decoded into a fresh full-size bitmap. glibc hands blocks
// that large out as new memory mappings, and touching their pages again for each photograph
// costs about as much as decoding it. After this call large blocks stay on the heap, so the
// next photograph reuses the memory of the last. Meant for one photograph at a time (the
// conversion mode): with several workers the heap would hold memory that the decode budget
// has already given back. Call once, before any other thread exists. Does nothing on other C
// libraries.
void keepLargeBlocksOnHeap();

}  // namespace tessaly
