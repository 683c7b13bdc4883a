// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The run mode and the values given on the command line.
namespace versemark {

enum class RunMode : std::uint8_t {
    Window = 0,      // the window, started by hand
    TagOneFile = 1,  // tag Mp3Path with LyricsPath and quit
    ScanFolder = 2,  // the window, scanning Folder at once
};

struct RunConfig {
    RunMode Mode = RunMode::Window;
    std::string Folder;       // the folder to scan
    std::string Mp3Path;      // the one file to tag...
    std::string LyricsPath;   // ...with this lyrics file
    bool Subfolders = false;  // the folder scan searches its subfolders too
    bool NoMessage = false;   // the one-file run shows no message box
};

// The argument text as the companion's platform passes it: the arguments after the
// program's own path, joined with one blank each.
std::string JoinArguments(int argc, const char* const argv[]);

// The argument text as the parser reads it. Where a double quote can be no part of
// a path (Windows), every one is dropped: programs and batch files put quotes
// around an argument holding a blank, and the system's command line keeps them.
// Elsewhere the text is kept byte for byte.
std::string WithoutArgumentQuotes(std::string_view argumentText);

// Fills `config`, its run mode included, from the argument text (read through
// WithoutArgumentQuotes).
void ParseCommandLine(std::string_view argumentText, RunConfig& config);

}  // namespace versemark
