// SPDX-License-Identifier: GPL-3.0-or-later
// Building the lyrics index from 32,767 lyrics files in 100 cache folders, warm
// cache (the library of PassBench, written on first use).
//
//   IndexBench [library folder, default /tmp/versemark-bench-pass] [runs, default 15]

#include <cstdlib>

#include "BenchData.h"

using namespace versemark;
using namespace versemark::bench;

int main(int argc, char** argv) {
    const std::string root = argc > 1 ? argv[1] : "/tmp/versemark-bench-pass";
    const int runs = argc > 2 ? std::atoi(argv[2]) : 15;
    EnsureLibrary(root, 32767, 100, 10000, 7);

    LyricsIndex index;
    bool singleDir = false;
    const auto lyrics = BuildLyricsIndex(root + "/cache", singleDir, index);  // warms the cache
    std::printf("%d lyrics from %s/cache\n", lyrics.value_or(-1), root.c_str());

    Timings build;
    for (int run = 0; run < runs; ++run) {
        build.Ms.push_back(TimeMs([&] { BuildLyricsIndex(root + "/cache", singleDir, index); }));
    }
    PrintTimings("BuildLyricsIndex", build);
    return index.Entries.size() == 32767 ? 0 : 1;
}
