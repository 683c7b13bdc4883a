// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/mman.h>

#include <cstdlib>
#include <new>

#include "platform/LargeBlock.h"

namespace versemark {
namespace {

// The large page of x86-64 and of most 64-bit ARM systems. A block of at least
// this size is aligned to it and rounded up to whole large pages.
constexpr std::size_t kLargePage = std::size_t{2} << 20;

}  // namespace

void LargeBlockFree::operator()(void* block) const {
    std::free(block);
}

LargeBlock AllocateLargeBlock(std::size_t bytes) {
    if (bytes < kLargePage) {
        void* block = std::malloc(bytes > 0 ? bytes : 1);
        if (block == nullptr) {
            throw std::bad_alloc();
        }
        return LargeBlock(block);
    }
    const std::size_t rounded = (bytes + kLargePage - 1) / kLargePage * kLargePage;
    void* block = std::aligned_alloc(kLargePage, rounded);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
#ifdef MADV_HUGEPAGE
    // Only a wish: where large pages are off or none is free, small ones serve.
    ::madvise(block, rounded, MADV_HUGEPAGE);
#endif
    return LargeBlock(block);
}

}  // namespace versemark
