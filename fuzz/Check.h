// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <cstdlib>

namespace versemark::fuzz {

// Ends the run with a message when an invariant does not hold; libFuzzer then
// keeps the input that broke it.
inline void Check(bool holds, const char* invariant) {
    if (!holds) {
        std::fprintf(stderr, "fuzz: invariant broken: %s\n", invariant);
        std::abort();
    }
}

}  // namespace versemark::fuzz
