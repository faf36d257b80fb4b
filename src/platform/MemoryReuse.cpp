#include "platform/MemoryReuse.h"

#include <cstdlib> // defines __GLIBC__ with the C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void MemoryReuse::keepFreedMemory() {
#if defined(__GLIBC__)
    // Blocks below 32 MB (the most the library allows) come from the heap rather than from a
    // mapping of their own, and the heap is given back only when 128 MB lie free at its top.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 128 << 20);
#endif
}
