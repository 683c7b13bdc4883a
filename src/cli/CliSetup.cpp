// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CliSetup.h"

#include "platform/FileSystem.h"

namespace versemark::cli {

CliSetup LoadSetup(const CliOptions& options) {
    CliSetup setup;
    if (options.CachePath) {
        setup.CacheGiven = true;
        setup.Cache.CachePath = AbsolutePath(*options.CachePath);
        setup.Cache.SingleDir = options.SingleDir;
    } else {
        LocateLyricsCache(setup.Cache, ProgramFolder());
        ReadSettings(setup.Cache);
        if (options.SingleDir) {
            setup.Cache.SingleDir = true;
        }
    }
    setup.CacheFound =
        BuildLyricsIndex(setup.Cache.CachePath, setup.Cache.SingleDir, setup.Index).has_value();
    return setup;
}

}  // namespace versemark::cli
