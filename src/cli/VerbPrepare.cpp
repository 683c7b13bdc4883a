// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CliArguments.h"
#include "cli/CliVerbs.h"
#include "cli/DisplayText.h"
#include "platform/FileSystem.h"
#include "tags/LyricsText.h"

namespace versemark::cli {

namespace {

constexpr std::string_view kName = "prepare";

constexpr std::string_view kHelp =
    "Usage: versemark-cli prepare LYRICSFILE [--raw]\n"
    "\n"
    "Prints the lyrics of LYRICSFILE as tagging would store them: UTF-8 text\n"
    "converted to Windows-1252 where every character has a byte there, the\n"
    "companion's footer dropped, the ends tidied, the credit line appended.\n"
    "\n"
    "Lines keep their CR LF ends. Text that is not valid UTF-8 is shown as\n"
    "Windows-1252, and a last line end is added.\n"
    "\n"
    "  --raw    print the prepared bytes exactly, nothing added or converted\n";

int Run(const VerbArguments& args, CliIo& io) {
    const ParsedArguments parsed = ParseVerbArguments(args, kOptRaw, 1);
    if (const auto status = HelpOrUsageError(parsed, kHelp, kName, io)) {
        return *status;
    }
    const std::string& path = parsed.Options.Positionals.front();
    if (!IsRegularFile(path)) {
        return UsageError(io, kName, "not a file: " + DisplayPath(path));
    }
    std::optional<std::string> text = ReadWholeFile(path);
    if (!text) {
        return Failure(io, kName, "cannot read " + DisplayPath(path));
    }
    PrepareStoredLyrics(*text);
    io.Out << (parsed.Options.Raw ? *text : LyricsForTerminal(*text));
    return kExitOk;
}

}  // namespace

VerbInfo PrepareVerb() {
    return {kName, "prepare LYRICSFILE  the lyrics as they would be stored", kHelp, Run};
}

}  // namespace versemark::cli
