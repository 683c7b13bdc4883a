// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CliArguments.h"
#include "cli/CliSetup.h"
#include "cli/CliVerbs.h"
#include "cli/DisplayText.h"

namespace versemark::cli {

namespace {

constexpr std::string_view kName = "config";

constexpr std::string_view kHelp =
    "Usage: versemark-cli config [--cache DIR] [--single-dir]\n"
    "\n"
    "Shows the configuration the window would start with: the companion's folder\n"
    "(found beside the program or through its registry entry), the lyrics cache\n"
    "folder (its settings may move it), whether the lyrics files lie directly in\n"
    "the cache folder, and how many lyrics files the index holds.\n"
    "\n"
    "  --cache DIR     use DIR as the lyrics cache; the companion is not looked for\n"
    "  --single-dir    the lyrics files lie directly in the cache folder\n";

int Run(const VerbArguments& args, CliIo& io) {
    const ParsedArguments parsed = ParseVerbArguments(args, kConfigOptions, 0);
    if (const auto status = HelpOrUsageError(parsed, kHelp, kName, io)) {
        return *status;
    }
    const CliSetup setup = LoadSetup(parsed.Options);

    std::string companion;
    if (setup.CacheGiven) {
        companion = "(not looked for: --cache given)";
    } else if (setup.Cache.SongleafPath.empty()) {
        companion = "(not found)";
    } else {
        companion = DisplayPath(setup.Cache.SongleafPath);
    }
    io.Out << "Songleaf folder:      " << companion << '\n';
    io.Out << "Lyrics cache folder:  " << DisplayPath(setup.Cache.CachePath)
           << (setup.CacheFound ? "" : "  (not found)") << '\n';
    io.Out << "Single folder:        " << (setup.Cache.SingleDir ? "yes" : "no") << '\n';
    io.Out << "Lyrics files:         " << setup.Index.LyricsCount() << '\n';
    return kExitOk;
}

}  // namespace

VerbInfo ConfigVerb() {
    return {kName, "config  Songleaf folder, lyrics cache folder, single-folder flag, lyrics count",
            kHelp, Run};
}

}  // namespace versemark::cli
