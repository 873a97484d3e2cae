#include "support/largeblocks.h"

#include <cstdlib> // defines __GLIBC__ on glibc systems
#ifdef __GLIBC__
#include <malloc.h>
#endif

void keepLargeBlocksReturnable()
{
#ifdef __GLIBC__
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
}
