#pragma once

#include <cstddef>

// Where notes and events live. A song holds up to millions of them, made and destroyed one by
// one; the pool hands out blocks of a few fixed sizes from large regions (backed by huge pages
// where the system allows), so making one costs a few instructions and no allocator header.
// Released blocks are reused for elements of the same size; the regions are kept for the life
// of the program.
//
// Window thread only: elements are never made or destroyed on another thread.
class ElementPool {
public:
    static constexpr std::size_t kMaxBlockBytes = 64;

    // A block of at least `bytes` (at most kMaxBlockBytes), aligned for any element.
    static void* allocate(std::size_t bytes);
    // Takes back a block that allocate(bytes) gave out.
    static void release(void* block, std::size_t bytes);

private:
    // Defined by tests alone: makes an allocation throw std::bad_alloc, as when memory runs out.
    friend class ElementPoolFailure;
    // Allocations still to succeed before one fails; negative: none fails.
    static inline int allocationsBeforeFailure_ = -1;

    static void failIfAsked();
};
