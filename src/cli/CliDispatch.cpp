#include <algorithm>

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
    "'versemark-cli VERB --help' tells more about a verb.\n"
    "Exit status: 0 done, 1 a file could not be tagged, read or written,\n"
    "2 a wrong command line.\n";

constexpr std::size_t kSynopsisColumn = 47;

std::string Line(std::string_view verb, std::string_view reason) {
    return std::string(kProgramName) + (verb.empty() ? "" : " ") + std::string(verb) + ": " +
           std::string(reason) + "\n";
}

}  // namespace

std::vector<VerbInfo> AllVerbs() {
    return {ConfigVerb(), ScanVerb(), TagVerb(), ShowVerb(), PrepareVerb(), DemoVerb()};
}

std::string OverviewHelp() {
    std::string text(kOverviewStart);
    for (const VerbInfo& verb : AllVerbs()) {
        std::string line = "  " + std::string(verb.Synopsis);
        const auto gap = line.find("  ", 2);
        // Synopsis lines are "usage  summary": the summary goes to its own column.
        if (gap != std::string::npos) {
            std::string usage = line.substr(0, gap);
            std::string summary = line.substr(line.find_first_not_of(' ', gap));
            usage.resize(std::max(usage.size() + 1, kSynopsisColumn), ' ');
            line = usage + summary;
        }
        text += line + "\n";
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
