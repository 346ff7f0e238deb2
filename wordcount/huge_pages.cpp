#include "huge_pages.h"

#include <cstdint>

#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#endif

void advise_huge_pages(void* start, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
    // Only whole huge pages can be backed by one: the range is narrowed to those.
    const std::uintptr_t begin = reinterpret_cast<std::uintptr_t>(start);
    const std::uintptr_t first = (begin + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
    const std::uintptr_t end = (begin + bytes) / kHugePageBytes * kHugePageBytes;
    if (first < end) {
        madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
    }
#else
    static_cast<void>(start);
    static_cast<void>(bytes);
#endif
}
