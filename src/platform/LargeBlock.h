// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <memory>

// Memory for one large table that is read at random (the word automaton's
// transitions). Where the system offers large pages the block asks for them: it
// then takes a few page faults to fill instead of thousands, and its reads need
// far fewer address translations.
namespace versemark {

struct LargeBlockFree {
    void operator()(void* block) const;
};
using LargeBlock = std::unique_ptr<void, LargeBlockFree>;

// `bytes` of memory, not initialised; throws std::bad_alloc when there is none,
// as new does.
LargeBlock AllocateLargeBlock(std::size_t bytes);

}  // namespace versemark
