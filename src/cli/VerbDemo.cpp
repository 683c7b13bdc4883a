// SPDX-License-Identifier: GPL-3.0-or-later
#include <string>
#include <vector>

#include "base/Companion.h"
#include "cli/CliArguments.h"
#include "cli/CliVerbs.h"
#include "cli/DisplayText.h"
#include "cli/ShellQuote.h"
#include "demo/DemoLibrary.h"
#include "platform/Registry.h"

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
    "  DIR/wine       a Wine prefix whose registry names DIR/songleaf (not on Windows)\n"
    "Every mark the window shows occurs at least once. DIR is made when missing;\n"
    "nothing is written when any of these folders exists already.\n";

constexpr std::string_view kMachineKeyPrefix = "HKLM\\";
constexpr std::size_t kScanMarker = 2;  // of the marker tokens: "5nf", as the companion's scans

// The window's command line scanning `music` with its subfolders, as pieces.
std::vector<std::string> ScanPieces(const std::string& music) {
    const std::string separator(companion::kPieceSeparator);
    return {separator + std::string(companion::kMarkerTokens[kScanMarker]),
            separator + std::string(companion::kKeyFolder) + " " + music,
            separator + std::string(companion::kKeySubfolders)};
}

std::string Quoted(const std::vector<std::string>& words, std::string (*quote)(std::string_view)) {
    std::string line;
    for (const std::string& word : words) {
        line += ' ';
        line += quote(word);
    }
    return line;
}

// On Linux the window reads the companion's registry from the Wine prefix that
// WINEPREFIX names: the demo's own leads it to the demo cache.
std::string OpenTheWindowWithWine(const DemoLibraryResult& demo, const std::string& music) {
    return "Open the window scanning it (WINEPREFIX points the window at the demo cache):\n"
           "  WINEPREFIX=" +
           ShellQuote(DisplayPath(demo.WinePrefix)) + " versemark" +
           Quoted(ScanPieces(music), ShellQuote) + "\n";
}

// On Windows the window finds the cache through Songleaf.exe beside it or the
// companion's entry in the system's registry, neither of which the demo writes.
std::string OpenTheWindowOnWindows(const DemoLibraryResult& demo, const std::string& music) {
    const std::string key = std::string(kMachineKeyPrefix) + std::string(companion::kRegistryKey);
    return "Open the window scanning it:\n"
           "  versemark.exe" +
           Quoted(ScanPieces(music), WindowsQuote) +
           "\n"
           "The window matches against the lyrics cache of the installed companion: the\n"
           "folder of Songleaf.exe beside versemark.exe, else the folder its registry\n"
           "entry " +
           key +
           " names. The demo writes\n"
           "neither. Without the companion installed, an administrator can point that\n"
           "entry at the demo's stand-in:\n"
           "  reg add " +
           WindowsQuote(key) + " /v InstallPath /d " +
           WindowsQuote(DisplayPath(demo.CompanionFolder)) + " /reg:32\n";
}

std::string Instructions(const DemoLibraryResult& demo) {
    const std::string music = DisplayPath(demo.MusicFolder);
    const std::string lyrics = DisplayPath(demo.LyricsFolder);
    std::string text;
    text += "Demo library written:\n";
    text += "  " + music + "  (" + std::to_string(demo.Mp3Files) + " .mp3 files)\n";
    text += "  " + lyrics + "  (" + std::to_string(demo.LyricsFiles) + " text files)\n";
    text += "  " + DisplayPath(demo.CompanionFolder) + "  (companion settings naming the cache)\n";
    if (kRegistryInWinePrefix) {
        text += "  " + DisplayPath(demo.WinePrefix) + "  (registry naming the companion folder)\n";
        text += "\n";
        text += OpenTheWindowWithWine(demo, music);
        text += "\n";
        text += "Or look at it from the terminal:\n";
        text +=
            "  versemark-cli scan " + ShellQuote(music) + " --cache " + ShellQuote(lyrics) + "\n";
    } else {
        text += "\n";
        text += OpenTheWindowOnWindows(demo, music);
        text += "\n";
        text += "Or look at it from the command prompt:\n";
        text += "  versemark-cli.exe scan " + WindowsQuote(music) + " --cache " +
                WindowsQuote(lyrics) + "\n";
    }
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
