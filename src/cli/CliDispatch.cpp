// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <utility>

#include "base/ControlEscape.h"
#include "cli/CliVerbs.h"

namespace versemark::cli {

namespace {

constexpr std::string_view kOverviewStart =
    "Usage: versemark-cli VERB [arguments]\n"
    "\n"
    "Matches the companion's saved lyrics to the .mp3 files of a folder and writes\n"
    "them into the files as Lyrics3 v2.00 tags, as the Versemark window does.\n"
    "\n"
    "Verbs:\n";

constexpr std::string_view kOverviewEnd =
    "\n"
    "Options of config, scan and tag:\n"
    "  --cache DIR        use DIR as the lyrics cache instead of the companion's\n"
    "  --single-dir       the lyrics files lie directly in the cache folder\n"
    "Options of scan and tag:\n"
    "  --no-subfolders    search only the folder itself, not its subfolders\n"
    "\n"
    "'versemark-cli VERB --help' tells more about a verb, 'versemark-cli --version'\n"
    "prints the version.\n"
    "Exit status: 0 done, 1 a file could not be tagged, read or written,\n"
    "2 a wrong command line, 130 or 143 an interrupt or a termination request\n"
    "during tag, undo or recover (after the log is printed).\n";

constexpr std::string_view kSynopsisGap = "  ";

// The reason may repeat an argument as it was given: its control characters are
// escaped as in a name shown (names the reason shows are escaped already, and
// stay as they are).
std::string Line(std::string_view verb, std::string_view reason) {
    return std::string(kProgramName) + (verb.empty() ? "" : " ") + std::string(verb) + ": " +
           EscapeControls(reason) + "\n";
}

}  // namespace

std::vector<VerbInfo> AllVerbs() {
    return {ConfigVerb(),  ScanVerb(), TagVerb(),     ShowVerb(),
            PrepareVerb(), DemoVerb(), RecoverVerb(), UndoVerb()};
}

std::string OverviewHelp() {
    // Synopsis lines read "usage  summary": the summaries line up in one column.
    std::vector<std::pair<std::string, std::string>> lines;
    std::size_t usageWidth = 0;
    for (const VerbInfo& verb : AllVerbs()) {
        const std::string_view synopsis = verb.Synopsis;
        const std::size_t gap = synopsis.find(kSynopsisGap);
        std::string usage(synopsis.substr(0, gap));
        std::string summary;
        if (gap != std::string_view::npos) {
            summary = std::string(synopsis.substr(gap + kSynopsisGap.size()));
        }
        usageWidth = std::max(usageWidth, usage.size());
        lines.emplace_back(std::move(usage), std::move(summary));
    }
    std::string text(kOverviewStart);
    for (auto& [usage, summary] : lines) {
        usage.resize(usageWidth, ' ');
        text += "  " + usage + "   " + summary + "\n";
    }
    text += kOverviewEnd;
    return text;
}

int UsageError(CliIo& io, std::string_view verb, std::string_view reason) {
    io.Err << Line(verb, reason);
    io.Err << "Try '" << kProgramName << (verb.empty() ? "" : " ") << verb << " --help'.\n";
    return kExitUsage;
}

int Failure(CliIo& io, std::string_view verb, std::string_view reason) {
    io.Err << Line(verb, reason);
    return kExitFailure;
}

std::optional<int> HelpOrUsageError(const ParsedArguments& parsed, std::string_view help,
                                    std::string_view verb, CliIo& io) {
    if (parsed.Options.Help) {
        io.Out << help;
        return kExitOk;
    }
    if (!parsed.Ok()) {
        return UsageError(io, verb, parsed.Error);
    }
    return std::nullopt;
}

int RunCli(const VerbArguments& args, CliIo& io) {
    if (args.empty()) {
        io.Err << OverviewHelp();
        return kExitUsage;
    }
    const std::string& first = args.front();
    if (first == "--help" || first == "-h" || first == "help") {
        if (first == "help" && args.size() > 1) {
            for (const VerbInfo& verb : AllVerbs()) {
                if (verb.Name == args[1]) {
                    io.Out << verb.Help;
                    return kExitOk;
                }
            }
            return UsageError(io, "", "unknown verb '" + args[1] + "'");
        }
        io.Out << OverviewHelp();
        return kExitOk;
    }
    for (const VerbInfo& verb : AllVerbs()) {
        if (verb.Name == first) {
            const VerbArguments rest(args.begin() + 1, args.end());
            return verb.Run(rest, io);
        }
    }
    return UsageError(io, "", "unknown verb '" + first + "'");
}

}  // namespace versemark::cli
