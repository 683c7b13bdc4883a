#include "cli/CliArguments.h"
#include "cli/CliVerbs.h"
#include "cli/DisplayText.h"
#include "platform/FileSystem.h"
#include "tags/SavedLyrics.h"

namespace versemark::cli {

namespace {

constexpr std::string_view kName = "show";
constexpr std::string_view kNoTagMessage = "No Lyrics3 tag in this file.";

constexpr std::string_view kHelp =
    "Usage: versemark-cli show MP3FILE [--raw]\n"
    "\n"
    "Prints the lyrics saved in the Lyrics3 tag of MP3FILE (version 1 or 2), as they\n"
    "are stored; the viewer's two-line message when the file carries a Lyrics3 tag\n"
    "without a lyrics field; \"No Lyrics3 tag in this file.\" when it carries none.\n"
    "The file is opened read-only; one that cannot be read ends with its reason on\n"
    "standard error and exit status 1.\n"
    "\n"
    "Lines keep their CR LF ends. NUL padding is left out, text that is not valid\n"
    "UTF-8 is shown as Windows-1252, and a last line end is added.\n"
    "\n"
    "  --raw    print the stored bytes exactly, nothing added or converted\n";

int Run(const VerbArguments& args, CliIo& io) {
    const ParsedArguments parsed = ParseVerbArguments(args, kOptRaw, 1);
    if (const auto status = HelpOrUsageError(parsed, kHelp, kName, io)) {
        return *status;
    }
    const std::string& path = parsed.Options.Positionals.front();
    if (!IsRegularFile(path)) {
        return UsageError(io, kName, "not a file: " + DisplayPath(path));
    }
    const SavedLyricsRead read = ReadSavedLyricsState(path);
    std::string lyrics;
    switch (read.State) {
        case SavedLyricsState::Unreadable:
            return Failure(io, kName, DisplayPath(path) + ": " + read.Reason);
        case SavedLyricsState::NoTag:
            io.Out << kNoTagMessage << "\n";
            return kExitOk;
        case SavedLyricsState::TagWithoutLyrics:
            lyrics = kLyricsFieldMissingMessage;
            break;
        case SavedLyricsState::Lyrics:
            lyrics = read.Lyrics;
            break;
    }
    io.Out << (parsed.Options.Raw ? lyrics : LyricsForTerminal(lyrics));
    return kExitOk;
}

}  // namespace

VerbInfo ShowVerb() {
    return {kName,
            "show MP3FILE  the lyrics saved in the file, or the saved-lyrics viewer's message",
            kHelp, Run};
}

}  // namespace versemark::cli
