// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "matching/LyricsIndex.h"
#include "startup/CacheLocation.h"
#include "startup/RunConfig.h"

// The program-wide values: the command line (RunConfig), the cache location
// (CachePath, SongleafPath, SingleDir) and the lyrics index, built once at start-up
// and never rebuilt. The program's entry point owns them for the whole run and
// passes them down.
namespace versemark {

struct ProgramValues {
    RunConfig Config;
    CacheConfig Cache;
    LyricsIndex Index;
};

}  // namespace versemark
