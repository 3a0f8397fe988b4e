#include "platform/freed_memory.h"

#include <cstdlib>  // defines __GLIBC__ on the GNU C library
#if defined(__GLIBC__)
#include <malloc.h>
#endif

void ReturnLargeBlocksWhenFreed() {
#if defined(__GLIBC__)
  // Setting the threshold also stops glibc from raising it after each large free.
  mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
}
