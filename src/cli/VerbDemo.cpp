#include "base/Companion.h"
#include "cli/CliArguments.h"
#include "cli/CliVerbs.h"
#include "cli/DisplayText.h"
#include "cli/ShellQuote.h"
#include "demo/DemoLibrary.h"

namespace versemark::cli {

namespace {

constexpr std::string_view kName = "demo";

constexpr std::string_view kHelp =
    "Usage: versemark-cli demo DIR\n"
    "\n"
    "Writes a small library to try Versemark on:\n"
    "  DIR/music      .mp3 files of silent audio, some in subfolders, some with an\n"
    "                 ID3v1 block, with Lyrics3 v1, v2.00 and newer-version tags\n"
    "  DIR/lyrics     a flat lyrics cache in the companion's forms: filtered and\n"
    "                 unfiltered files, a downloaded-from footer, files without a hyphen\n"
    "  DIR/songleaf   a stand-in companion folder whose settings.txt names DIR/lyrics\n"
    "  DIR/wine       a Wine prefix whose registry names DIR/songleaf\n"
    "Every mark the window shows occurs at least once. DIR is made when missing;\n"
    "nothing is written when any of the four folders exists already.\n";

std::string Instructions(const DemoLibraryResult& demo) {
    const std::string music = DisplayPath(demo.MusicFolder);
    const std::string lyrics = DisplayPath(demo.LyricsFolder);
    const std::string fol =
        std::string(companion::kPieceSeparator) + std::string(companion::kKeyFolder) + " " + music;
    std::string text;
    text += "Demo library written:\n";
    text += "  " + music + "  (" + std::to_string(demo.Mp3Files) + " .mp3 files)\n";
    text += "  " + lyrics + "  (" + std::to_string(demo.LyricsFiles) + " text files)\n";
    text += "  " + DisplayPath(demo.CompanionFolder) + "  (companion settings naming the cache)\n";
    text += "  " + DisplayPath(demo.WinePrefix) + "  (registry naming the companion folder)\n";
    text += "\n";
    text += "Open the window scanning it (WINEPREFIX points the window at the demo cache):\n";
    text += "  WINEPREFIX=" + ShellQuote(DisplayPath(demo.WinePrefix)) + " versemark \"--/5nf\" " +
            ShellQuote(fol) + " \"--/sub\"\n";
    text += "\n";
    text += "Or look at it from the terminal:\n";
    text += "  versemark-cli scan " + ShellQuote(music) + " --cache " + ShellQuote(lyrics) + "\n";
    return text;
}

int Run(const VerbArguments& args, CliIo& io) {
    const ParsedArguments parsed = ParseVerbArguments(args, 0, 1);
    if (const auto status = HelpOrUsageError(parsed, kHelp, kName, io)) {
        return *status;
    }
    const DemoLibraryResult demo = WriteDemoLibrary(parsed.Options.Positionals.front());
    if (!demo.Ok) {
        return Failure(io, kName, DisplayPath(demo.Error));
    }
    io.Out << Instructions(demo);
    return kExitOk;
}

}  // namespace

VerbInfo DemoVerb() {
    return {kName, "demo DIR  write a demo library into DIR", kHelp, Run};
}

}  // namespace versemark::cli
