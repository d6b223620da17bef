#include "conversion/LargeArray.h"

#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace korvana {

void* AllocateLarge(std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::size_t kHugePage = std::size_t{2} << 20;
    if (bytes >= 2 * kHugePage) {
        const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        void* memory = std::aligned_alloc(kHugePage, rounded);
        if (memory)
            madvise(memory, rounded, MADV_HUGEPAGE);  // advice only: failure changes nothing
        return memory;
    }
#endif
    return std::malloc(bytes);
}

void FreeLarge(void* memory) {
    std::free(memory);
}

}  // namespace korvana
