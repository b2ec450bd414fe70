#include "bregexp_memory.h"

#include <atomic>
#include <cstdlib>
#include <new>

#include <malloc.h>

namespace {

std::atomic<std::size_t> g_current{0};
std::atomic<std::size_t> g_peak{0};

void *countedAllocate(std::size_t size) {
    void *block = std::malloc(size == 0 ? 1 : size);
    if (!block) throw std::bad_alloc();
    std::size_t now = g_current.fetch_add(malloc_usable_size(block)) + malloc_usable_size(block);
    std::size_t peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
    }
    return block;
}

void countedFree(void *block) noexcept {
    if (!block) return;
    g_current.fetch_sub(malloc_usable_size(block));
    std::free(block);
}

}  // namespace

void *operator new(std::size_t size) { return countedAllocate(size); }
void *operator new[](std::size_t size) { return countedAllocate(size); }
void operator delete(void *block) noexcept { countedFree(block); }
void operator delete[](void *block) noexcept { countedFree(block); }
void operator delete(void *block, std::size_t) noexcept { countedFree(block); }
void operator delete[](void *block, std::size_t) noexcept { countedFree(block); }

namespace bench {

PeakMemory::PeakMemory() : baseline_(g_current.load()) { g_peak.store(baseline_); }

std::size_t PeakMemory::extraBytes() const {
    std::size_t peak = g_peak.load();
    return peak > baseline_ ? peak - baseline_ : 0;
}

}  // namespace bench
