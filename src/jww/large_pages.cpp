#include "jww/large_pages.h"

#include <cstdint>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace jww {

void AdviseLargePages(const void* p, size_t bytes) {
#ifdef __linux__
  constexpr uintptr_t kLarge = uintptr_t{2} << 20;
  if (bytes < 2 * kLarge) return;
  uintptr_t begin = (reinterpret_cast<uintptr_t>(p) + kLarge - 1) & ~(kLarge - 1);
  uintptr_t end = (reinterpret_cast<uintptr_t>(p) + bytes) & ~(kLarge - 1);
  if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);  // a hint only
#else
  (void)p;
  (void)bytes;
#endif
}

}  // namespace jww
