// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CliArguments.h"
#include "cli/CliVerbs.h"
#include "cli/ScanReport.h"
#include "cli/ScanRun.h"

namespace versemark::cli {

namespace {

constexpr std::string_view kName = "scan";

constexpr std::string_view kHelp =
    "Usage: versemark-cli scan FOLDER [--cache DIR] [--single-dir] [--no-subfolders] [--json]\n"
    "                                 [--all-formats]\n"
    "\n"
    "Runs the matching pass over the .mp3 files of FOLDER and its subfolders and\n"
    "prints the rows in the order the pass added them: the check mark the pass set\n"
    "([x] checked, safe to tag), the marks, the .mp3 file and the lyrics file chosen\n"
    "for it; then the matches summary. Nothing is written.\n"
    "\n"
    "Marks, one position each, '.' where a mark is absent:\n"
    "  1  A several lyrics files match, N a Lyrics3 tag of a newer version, 1 one match\n"
    "  2  T the file already has a Lyrics3 tag\n"
    "  3  I the file has no ID3v1 block\n"
    "  4  F the lyrics file is filtered, U it is not\n"
    "  5  S the lyrics file was matched by other .mp3 files too\n"
    "\n"
    "  --cache DIR        use DIR as the lyrics cache instead of the companion's\n"
    "  --single-dir       the lyrics files lie directly in the cache folder\n"
    "  --no-subfolders    search only FOLDER itself\n"
    "  --all-formats      also the .flac, .ogg, .oga, .opus and .m4a files, matched on\n"
    "                     their names and their own tags' words; T marks lyrics in\n"
    "                     their own lyrics field (Vorbis comment or MP4 item)\n"
    "  --json             print one JSON document instead:\n"
    "      {\"processed\": N, \"summary\": TEXT, \"rows\": [{\"checked\", \"mp3\", \"lyrics\",\n"
    "       \"lyricsName\", \"candidates\", \"mp3Icon\", \"tagged\", \"withoutId3\",\n"
    "       \"lyricsIcon\", \"shared\"}]}\n"
    "\n"
    "Names that are not valid UTF-8 are shown as Windows-1252.\n";

int Run(const VerbArguments& args, CliIo& io) {
    const ParsedArguments parsed =
        ParseVerbArguments(args, kPassOptions | kOptJson | kOptAllFormats, 1);
    if (const auto status = HelpOrUsageError(parsed, kHelp, kName, io)) {
        return *status;
    }
    const auto outcome = ScanFolderOfCommandLine(kName, parsed.Options, io);
    if (!outcome) {
        return kExitUsage;
    }
    if (parsed.Options.Json) {
        io.Out << FormatRowJson(outcome->Rows, outcome->Result);
    } else {
        io.Out << FormatRowTable(outcome->Rows, outcome->Folder, outcome->Result);
    }
    return kExitOk;
}

}  // namespace

VerbInfo ScanVerb() {
    return {kName, "scan FOLDER [options] [--json]  run the matching pass and print the rows",
            kHelp, Run};
}

}  // namespace versemark::cli
