// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The run mode and the values given on the command line.
namespace versemark {

enum RunMode : std::uint8_t {
    kRunWindow = 0,      // the window, started by hand
    kRunTagOneFile = 1,  // tag CmdMp3 with CmdLyrics and quit
    kRunScanFolder = 2,  // the window, scanning CmdFolder at once
};

struct RunConfig {
    std::uint8_t RunMode = kRunWindow;
    std::string CmdFolder;
    std::string CmdMp3;
    std::string CmdLyrics;
    std::int32_t CmdSubfolders = 0;
    bool CmdNoMessage = false;
};

// The argument text as the companion's platform passes it: the arguments after the
// program's own path, joined with one blank each.
std::string JoinArguments(int argc, const char* const argv[]);

// The argument text as the parser reads it. Where a double quote can be no part of
// a path (Windows), every one is dropped: programs and batch files put quotes
// around an argument holding a blank, and the system's command line keeps them.
// Elsewhere the text is kept byte for byte.
std::string WithoutArgumentQuotes(std::string_view argumentText);

// Fills `config` from the argument text (read through WithoutArgumentQuotes) and returns the run
// mode (it does not store RunMode itself: Main does).
std::uint8_t ParseCommandLine(std::string_view argumentText, RunConfig& config);

}  // namespace versemark
