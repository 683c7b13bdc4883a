// SPDX-License-Identifier: GPL-3.0-or-later
#include "startup/ProgramInfo.h"

#include <algorithm>

#include "base/Companion.h"

namespace versemark {

namespace {

constexpr std::size_t kOptionColumn = 19;  // where the descriptions of the options begin

// The lines after the version: who holds the copyright (the build's one copyright
// line, VERSEMARK_COPYRIGHT) and under which licence.
constexpr std::string_view kLicenceLines = VERSEMARK_COPYRIGHT
    "\n"
    "License GPL-3.0-or-later: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.\n";

// "--/key" as the companion writes a piece, with an optional value name.
std::string Piece(std::string_view key, std::string_view value = {}) {
    std::string piece = std::string(companion::kPieceSeparator) + std::string(key);
    if (!value.empty()) {
        piece += " " + std::string(value);
    }
    return piece;
}

// "  usage   description", the descriptions in one column.
std::string OptionLine(const std::string& usage, std::string_view description) {
    std::string line = "  " + usage;
    line.resize(std::max(kOptionColumn, line.size() + 1), ' ');
    return line + std::string(description) + "\n";
}

std::string MarkerList() {
    std::string list;
    for (std::string_view marker : companion::kMarkerTokens) {
        list += (list.empty() ? "" : ", ") + Piece(marker);
    }
    return list;
}

// True when the arguments after the program's own path are exactly `option`.
bool IsWholeCommandLine(int argc, const char* const argv[], std::string_view option) {
    return argc == 2 && argv[1] != nullptr && option == argv[1];
}

// "program version" on a line of its own, then the licence.
std::string VersionText(std::string_view program, std::string_view version) {
    return std::string(program) + " " + std::string(version) + "\n" + std::string(kLicenceLines);
}

}  // namespace

std::optional<std::string> InfoRequestAnswer(int argc, const char* const argv[],
                                             std::string_view program, std::string_view version,
                                             std::string_view usage) {
    if (IsWholeCommandLine(argc, argv, kVersionOption)) {
        return VersionText(program, version);
    }
    if (!usage.empty() && IsWholeCommandLine(argc, argv, kHelpOption)) {
        return std::string(usage);
    }
    return std::nullopt;
}

std::string VersemarkUsage() {
    using namespace companion;
    const std::string program(kWindowProgramName);
    const std::string marker = Piece("MARKER");
    std::string text;
    text += "Usage: " + program + "\n";
    text += "  or:  " + program + " " + marker + " \"" + Piece(kKeyMp3, "FILE") + "\" \"" +
            Piece(kKeyLyrics, "LYRICS") + "\" [" + Piece(kKeyNoMessage) + "]\n";
    text += "  or:  " + program + " " + marker + " \"" + Piece(kKeyFolder, "FOLDER") + "\" [" +
            Piece(kKeySubfolders) + "]\n";
    text += "  or:  " + program + " " + std::string(kHelpOption) + "|" +
            std::string(kVersionOption) + "\n";
    text +=
        "\n"
        "Puts song lyrics from the Songleaf lyrics cache into MP3 files as Lyrics3\n"
        "v2.00 tags.\n"
        "\n"
        "Without arguments it opens the window: choose a folder of MP3 files, check the\n"
        "files to tag, tag them. The window needs a display. The lyrics cache is found\n"
        "through Songleaf's registry entry (under Wine, in $WINEPREFIX/system.reg) and\n"
        "its settings.txt; 'versemark-cli config' shows it.\n"
        "\n"
        "Songleaf starts it with a command line of pieces, each \"--/\", a three-letter\n"
        "key and its value; only the next \"--/\" ends a value. MARKER is one of\n";
    text += MarkerList() + "; without one the window opens as if started by hand.\n";
    text += OptionLine(Piece(kKeyMp3, "FILE"), "the MP3 file to tag; with " + Piece(kKeyLyrics) +
                                                   " it is tagged, the result is");
    text += OptionLine("", "printed (\"File tagged..: FILE\" or \"Error tagging: FILE\")");
    text += OptionLine("", "and shown in a message box, and the program ends");
    text += OptionLine(Piece(kKeyLyrics, "LYRICS"), "the lyrics file to tag it with");
    text += OptionLine(Piece(kKeyNoMessage), "no message box: the result is only printed");
    text += OptionLine(Piece(kKeyFolder, "FOLDER"), "open the window and scan FOLDER at once");
    text += OptionLine(Piece(kKeySubfolders), "search the subfolders of FOLDER too");
    text +=
        "\n"
        "Options:\n";
    text += OptionLine(std::string(kHelpOption), "show this help and exit");
    text += OptionLine(std::string(kVersionOption), "show the version and exit");
    return text;
}

}  // namespace versemark
