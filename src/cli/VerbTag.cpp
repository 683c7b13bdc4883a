// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>

#include "cli/CliArguments.h"
#include "cli/CliVerbs.h"
#include "cli/DisplayText.h"
#include "cli/PassTexts.h"
#include "cli/ScanRun.h"
#include "tagging/TaggingPass.h"
#include "tags/Id3v2Lyrics.h"

namespace versemark::cli {

namespace {

constexpr std::string_view kName = "tag";

constexpr std::string_view kHelp =
    "Usage: versemark-cli tag FOLDER [--cache DIR] [--single-dir] [--no-subfolders] [--dry-run]\n"
    "                                [--also-id3v2] [--all-formats] [--beside]\n"
    "\n"
    "Runs the matching pass over FOLDER as scan does, then writes the lyrics of every\n"
    "row the pass checked into its .mp3 file as a Lyrics3 v2.00 tag in front of the\n"
    "ID3v1 block (an ID3v1 block is made from the lyrics name where there is none).\n"
    "The pass checks only the rows that are safe to tag: no Lyrics3 tag yet, a\n"
    "filtered lyrics file, matched by no other .mp3 file.\n"
    "\n"
    "Prints the tagging log as the window shows it, one line per row,\n"
    "\"File tagged..: \" or \"Error tagging: \" and the path, each line ending in CR LF,\n"
    "and on standard error why each file that was not tagged failed, then the count\n"
    "\"Tagged n of m files; k failed\" (m the rows tried). The old tail of\n"
    "every file is journaled first, so that a crash can be recovered and the pass\n"
    "undone (see recover and undo). An interrupt or a termination request stops\n"
    "the pass after the file being written and prints the log of what was done;\n"
    "the count then adds how many checked rows the pass did not reach.\n"
    "\n"
    "  --cache DIR        use DIR as the lyrics cache instead of the companion's\n"
    "  --single-dir       the lyrics files lie directly in the cache folder\n"
    "  --no-subfolders    search only FOLDER itself\n"
    "  --dry-run          print the rows that would be tagged and write nothing\n"
    "  --also-id3v2       also write the lyrics as an ID3v2 lyrics frame (USLT), for\n"
    "                     players that read lyrics only there; written in place\n"
    "                     where the frame fits the tag, else the file is written\n"
    "                     whole as a copy that replaces it; the reason of each\n"
    "                     failure goes to standard error; its old ID3v2\n"
    "                     tag and tail are journaled too, so the pass can be undone\n"
    "                     (a file whose old bytes are more than the journal keeps\n"
    "                     is tagged but named on standard error as not undoable)\n"
    "  --all-formats      also the .flac, .ogg, .oga, .opus and .m4a files, whose\n"
    "                     lyrics go into their own lyrics field\n"
    "  --beside           also write the lyrics as UTF-8 into a .txt file of the\n"
    "                     song's name beside each song tagged, for media servers;\n"
    "                     a file of that name is replaced only where versemark\n"
    "                     wrote it and it is unchanged, otherwise the log tells\n"
    "                     why it was left alone; journaled, so undo removes it\n"
    "\n"
    "Exit status: 0 when every checked file was tagged, 1 when any was not, 2 for a\n"
    "wrong command line, 128 plus the signal's number when a signal stopped the pass\n"
    "(130 for an interrupt, 143 for a termination request).\n";

// The closing count on standard error: "Tagged 5 of 6 files; 1 failed", and
// when a signal stopped the pass, how many checked rows it did not reach.
constexpr std::string_view kCountTagged = "Tagged ";
constexpr std::string_view kCountOf = " of ";
constexpr std::string_view kCountFiles = " files; ";
constexpr std::string_view kCountFailed = " failed";
constexpr std::string_view kCountNotReached = " not reached: a signal stopped the pass";

void ReportCount(CliIo& io, const std::vector<TagResult>& results, std::size_t checked) {
    const auto tagged = static_cast<std::size_t>(
        std::count_if(results.begin(), results.end(), [](const TagResult& r) { return r.Tagged; }));
    io.Err << kCountTagged << tagged << kCountOf << results.size() << kCountFiles
           << results.size() - tagged << kCountFailed;
    if (checked > results.size()) {
        io.Err << "; " << checked - results.size() << kCountNotReached;
    }
    io.Err << '\n';
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
    const ParsedArguments parsed = ParseVerbArguments(
        args, kPassOptions | kOptDryRun | kOptAlsoId3v2 | kOptAllFormats | kOptBeside, 1);
    if (const auto status = HelpOrUsageError(parsed, kHelp, kName, io)) {
        return *status;
    }
    if (parsed.Options.AlsoId3v2 && !Id3v2LyricsAvailable()) {
        return UsageError(io, kName, "this build cannot write ID3v2 lyrics frames (--also-id3v2)");
    }
    const auto scan = ScanFolderOfCommandLine(kName, parsed.Options, io);
    if (!scan) {
        return kExitUsage;
    }
    if (parsed.Options.DryRun) {
        return DryRun(scan->Rows, io);
    }

    // Held around the pass's own hold until the log is written: a signal during
    // the last file, which stops nothing, still leaves the whole log.
    SignalHold hold;
    TaggingOptions options;
    options.Folder = AbsolutePath(parsed.Options.Positionals.front());
    options.Tag.AlsoId3v2 = parsed.Options.AlsoId3v2;
    options.Tag.AllFormats = parsed.Options.AllFormats;
    options.Tag.BesideFile = parsed.Options.Beside;
    options.WhenBusy = WaitForOtherPass(io);
    const auto outcome = TagCheckedRows(scan->Rows, options);
    if (outcome) {
        ReportRecovery(io, outcome->Recovered);
    }
    if (!outcome || (outcome->Results.empty() && outcome->StopSignal == 0)) {
        io.Err << "Nothing tagged: the pass checked no row. ("
               << DisplayName(MatchSummary(scan->Result)) << ")\n";
        return StatusAfterOutput(io, hold, 0, kExitOk);
    }
    io.Out << TaggingLog(outcome->Results);
    ReportReasons(io, kName, outcome->Results);
    ReportCount(io, outcome->Results, scan->Rows.CheckedCount());
    return StatusAfterOutput(io, hold, outcome->StopSignal,
                             AllTagged(outcome->Results) ? kExitOk : kExitFailure);
}

}  // namespace

VerbInfo TagVerb() {
    return {kName,
            "tag FOLDER [options] [--dry-run]  run the pass, then tag the rows the pass checked",
            kHelp, Run};
}

}  // namespace versemark::cli
