// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdlib>
#include <new>

#include "platform/LargeBlock.h"

// Large pages on Windows need a privilege that programs do not hold: ordinary
// memory.
namespace versemark {

void LargeBlockFree::operator()(void* block) const {
    std::free(block);
}

LargeBlock AllocateLargeBlock(std::size_t bytes) {
    void* block = std::malloc(bytes > 0 ? bytes : 1);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return LargeBlock(block);
}

}  // namespace versemark
