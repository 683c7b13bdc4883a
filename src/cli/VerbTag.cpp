#include "cli/CliArguments.h"
#include "cli/CliVerbs.h"
#include "cli/DisplayText.h"
#include "cli/ScanRun.h"
#include "cli/SignalShield.h"
#include "platform/CodePage.h"
#include "tagging/TaggingPass.h"
#include "tags/Id3v2Lyrics.h"

namespace versemark::cli {

namespace {

constexpr std::string_view kName = "tag";

constexpr std::string_view kHelp =
    "Usage: versemark-cli tag FOLDER [--cache DIR] [--single-dir] [--no-subfolders] [--dry-run]\n"
    "                                [--also-id3v2]\n"
    "\n"
    "Runs the matching pass over FOLDER as scan does, then writes the lyrics of every\n"
    "row the pass checked into its .mp3 file as a Lyrics3 v2.00 tag in front of the\n"
    "ID3v1 block (an ID3v1 block is made from the lyrics name where there is none).\n"
    "The pass checks only the rows that are safe to tag: no Lyrics3 tag yet, a\n"
    "filtered lyrics file, matched by no other .mp3 file.\n"
    "\n"
    "Prints the tagging log as the window shows it, one line per row,\n"
    "\"File tagged..: \" or \"Error tagging: \" and the path, each line ending in CR LF.\n"
    "Interrupting is held back until the last file is written.\n"
    "\n"
    "  --cache DIR        use DIR as the lyrics cache instead of the companion's\n"
    "  --single-dir       the lyrics files lie directly in the cache folder\n"
    "  --no-subfolders    search only FOLDER itself\n"
    "  --dry-run          print the rows that would be tagged and write nothing\n"
    "  --also-id3v2       also write the lyrics as an ID3v2 lyrics frame (USLT), for\n"
    "                     players that read lyrics only there; each file is then\n"
    "                     written whole as a copy that replaces it, and the reason\n"
    "                     of each failure goes to standard error\n"
    "\n"
    "Exit status: 0 when every line of the log is \"File tagged..: \", 1 when any is\n"
    "an error, 2 for a wrong command line.\n";

// True when any line of the log starts with the error prefix.
bool LogHasError(std::string_view log) {
    std::size_t start = 0;
    while (start < log.size()) {
        if (log.substr(start).starts_with(kLogError)) {
            return true;
        }
        const std::size_t end = log.find(kLineEnd, start);
        if (end == std::string_view::npos) {
            break;
        }
        start = end + kLineEnd.size();
    }
    return false;
}

int DryRun(const RowList& rows, CliIo& io) {
    std::size_t count = 0;
    for (const ResultRow& row : rows.Rows()) {
        if (!row.Checked) {
            continue;
        }
        io.Out << "Would tag: " << DisplayPath(row.Mp3Path) << '\n';
        io.Out << "     with: " << DisplayPath(row.LyricsPath) << '\n';
        ++count;
    }
    io.Out << count << (count == 1 ? " file" : " files") << " would be tagged; nothing written.\n";
    return kExitOk;
}

int Run(const VerbArguments& args, CliIo& io) {
    const ParsedArguments parsed =
        ParseVerbArguments(args, kPassOptions | kOptDryRun | kOptAlsoId3v2, 1);
    if (const auto status = HelpOrUsageError(parsed, kHelp, kName, io)) {
        return *status;
    }
    if (parsed.Options.AlsoId3v2 && !Id3v2LyricsAvailable()) {
        return UsageError(io, kName, "this build cannot write ID3v2 lyrics frames (--also-id3v2)");
    }
    const auto outcome = ScanFolderOfCommandLine(kName, parsed.Options, io);
    if (!outcome) {
        return kExitUsage;
    }
    if (parsed.Options.DryRun) {
        return DryRun(outcome->Rows, io);
    }

    std::optional<std::string> log;
    {
        const SignalShield shield;
        TagOptions options;
        options.AlsoId3v2 = parsed.Options.AlsoId3v2;
        options.ReportFailure = [&io](const std::string& mp3Path, const std::string& reason) {
            io.Err << kProgramName << ' ' << kName << ": " << DisplayPath(mp3Path) << ": "
                   << DisplayUtf8(reason) << '\n';
        };
        log = LetsTagThem(outcome->Rows, OpenFile, options);
    }
    if (!log || log->empty()) {
        io.Err << "Nothing tagged: the pass checked no row. (" << DisplayUtf8(outcome->Result.Label)
               << ")\n";
        return kExitOk;
    }
    io.Out << *log;
    return LogHasError(*log) ? kExitFailure : kExitOk;
}

}  // namespace

VerbInfo TagVerb() {
    return {kName,
            "tag FOLDER [options] [--dry-run]  run the pass, then tag the rows the pass checked",
            kHelp, Run};
}

}  // namespace versemark::cli
