#include "model/element_pool.h"

#include <sys/mman.h>

#include <array>
#include <cstdint>
#include <new>

// Under AddressSanitizer every element is an allocation of its own, so that the sanitizer
// sees each one: a use after free, an overflow or a leak of a note is reported as such.
#if defined(__SANITIZE_ADDRESS__)
#define TOLVAR32_ELEMENTS_ON_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TOLVAR32_ELEMENTS_ON_HEAP 1
#endif
#endif

void ElementPool::failIfAsked() {
    if (allocationsBeforeFailure_ >= 0 && allocationsBeforeFailure_-- == 0) {
        throw std::bad_alloc();
    }
}

#ifdef TOLVAR32_ELEMENTS_ON_HEAP

void* ElementPool::allocate(std::size_t bytes) {
    failIfAsked();
    return ::operator new(bytes);
}

void ElementPool::release(void* block, std::size_t) {
    ::operator delete(block);
}

#else

namespace {

constexpr std::size_t kAlignment = 8;
constexpr std::size_t kRegionBytes = std::size_t{2} << 20;  // one huge page

struct FreeBlock {
    FreeBlock* next;
};

std::array<FreeBlock*, ElementPool::kMaxBlockBytes / kAlignment> freeBlocks{};
std::uint8_t* regionNext = nullptr;
std::uint8_t* regionEnd = nullptr;

std::size_t sizeClass(std::size_t bytes) {
    return (bytes + kAlignment - 1) / kAlignment - 1;
}

// A region aligned to its size, so that it can be one huge page: fewer page faults and TLB
// misses while a large song loads.
void newRegion() {
    void* mapped = ::mmap(nullptr, 2 * kRegionBytes, PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) {
        throw std::bad_alloc();
    }
    auto* start = static_cast<std::uint8_t*>(mapped);
    auto* aligned = reinterpret_cast<std::uint8_t*>(
        (reinterpret_cast<std::uintptr_t>(start) + kRegionBytes - 1) & ~(kRegionBytes - 1));
    if (aligned > start) {
        ::munmap(start, static_cast<std::size_t>(aligned - start));
    }
    ::munmap(aligned + kRegionBytes,
             static_cast<std::size_t>(start + 2 * kRegionBytes - aligned - kRegionBytes));
    ::madvise(aligned, kRegionBytes, MADV_HUGEPAGE);
    regionNext = aligned;
    regionEnd = aligned + kRegionBytes;
}

}  // namespace

void* ElementPool::allocate(std::size_t bytes) {
    failIfAsked();
    FreeBlock*& reusable = freeBlocks[sizeClass(bytes)];
    if (reusable != nullptr) {
        FreeBlock* block = reusable;
        reusable = block->next;
        return block;
    }
    const std::size_t blockBytes = (sizeClass(bytes) + 1) * kAlignment;
    if (regionNext == nullptr || static_cast<std::size_t>(regionEnd - regionNext) < blockBytes) {
        newRegion();
    }
    void* block = regionNext;
    regionNext += blockBytes;
    return block;
}

void ElementPool::release(void* block, std::size_t bytes) {
    auto* freed = static_cast<FreeBlock*>(block);
    FreeBlock*& reusable = freeBlocks[sizeClass(bytes)];
    freed->next = reusable;
    reusable = freed;
}

#endif
