// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "startup/ProcessServices.h"
#include "startup/ProgramValues.h"
#include "tagging/TaggingPass.h"

// The steps every entry point takes before its own road: one running copy, the
// common-controls probe, the companion's configuration, the command line; and
// the one-file run, which needs no window.
namespace versemark {

inline constexpr int kExitNormal = 0;
inline constexpr int kExitNotTagged = 1;  // the one-file run's file was not tagged

// Fills `values` (cache location, settings, RunConfig with its RunMode) from the
// program's folder and `argumentText`, and gives the common-controls probe.
// nullopt when another copy runs: then only the RunConfig is filled, for
// AnswerSecondStart.
std::optional<bool> StartProgram(const std::string& argumentText, const std::string& programFolder,
                                 ProcessServices& services, ProgramValues& values);

// What a one-file run prints when another copy runs: the log's error line for
// the file, then the reason.
std::string OneFileRefusedText(const RunConfig& config);

// A start that found another copy running, where the open window cannot be
// reached: it beeps, and says on standard error why nothing was done. Returns the
// exit status: kExitNotTagged for a one-file run, else kExitNormal.
int AnswerSecondStart(const RunConfig& config, ProcessServices& services);

// Run mode 1: tags CmdMp3 with CmdLyrics, writes the log (with the reason under
// an error line) to standard output and what recovery did first to standard
// error and, unless CmdNoMessage, shows the log in a message box. Returns the
// exit status: kExitNotTagged when the file was not tagged.
int RunOneFileMode(const RunConfig& config, ProcessServices& services,
                   const TaggingOptions& options = {});

}  // namespace versemark
