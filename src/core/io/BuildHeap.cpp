// SPDX-License-Identifier: MIT
#include "io/BuildHeap.h"

#include <malloc.h>
#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace pagloom {

void PrepareBuildHeap(bool oneArena) {
    if (oneArena) ::mallopt(M_ARENA_MAX, 1);
    constexpr size_t kHeap = size_t{64} << 20;
    constexpr uintptr_t kHuge = uintptr_t{2} << 20;
    ::mallopt(M_MMAP_THRESHOLD, static_cast<int>(kHeap + (kHeap >> 1)));
    ::mallopt(M_TRIM_THRESHOLD, static_cast<int>(kHeap * 4));
    void* block = std::malloc(kHeap);
    if (!block) return;
    const auto begin = (reinterpret_cast<uintptr_t>(block) + kHuge - 1) & ~(kHuge - 1);
    const auto end = (reinterpret_cast<uintptr_t>(block) + kHeap) & ~(kHuge - 1);
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
    std::free(block);
}

}  // namespace pagloom
