// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "cli/CliArguments.h"
#include "matching/LyricsIndex.h"
#include "startup/CacheLocation.h"

// The configuration and the lyrics index, read as the window reads them at start.
namespace versemark::cli {

struct CliSetup {
    CacheConfig Cache;
    bool CacheGiven = false;  // --cache replaced the companion's configuration
    LyricsIndex Index;
    bool CacheFound = false;  // the cache folder exists (the index may still be empty)
};

// Without --cache: the companion's installation beside the program or in the
// registry, then its settings (--single-dir then forces the single-folder flag).
// With --cache: CachePath is that folder and SingleDir is --single-dir. Then the
// lyrics index.
CliSetup LoadSetup(const CliOptions& options);

}  // namespace versemark::cli
