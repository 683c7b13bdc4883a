#pragma once

#include <optional>
#include <string>

#include "startup/ProcessServices.h"
#include "startup/basMain.h"
#include "tagging/TaggingPass.h"

// The steps every entry point takes before its own road: one running copy, the
// common-controls probe, the companion's configuration, the command line; and
// the one-file run, which needs no window.
namespace versemark {

inline constexpr int kExitNormal = 0;

// Ends with a beep (nullopt) when another copy runs; else fills `values` (cache
// location, settings, RunConfig with its RunMode) from the program's folder and
// `argumentText`, and gives the common-controls probe.
std::optional<bool> StartProgram(const std::string& argumentText, const std::string& programFolder,
                                 ProcessServices& services, ProgramValues& values);

// Run mode 1: tags CmdMp3 with CmdLyrics, writes the log to standard output (and
// what recovery did first and why a file could not be tagged to standard error)
// and, unless CmdNoMessage, shows it in a message box. Returns the exit status.
int RunOneFileMode(const RunConfig& config, ProcessServices& services, TaggingOptions options = {});

}  // namespace versemark
