// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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

// How a start went: another copy runs (only the RunConfig is filled, for
// AnswerSecondStart), or this copy goes on, with or without the extended common
// controls (the probe; never on Linux), which decide whether a manifest is written.
enum class StartOutcome { AnotherCopyRuns, Started, StartedWithCommonControls };

// Fills `values` (cache location, settings, RunConfig with its run mode) from the
// program's folder and `argumentText`, unless another copy runs.
StartOutcome StartProgram(const std::string& argumentText, const std::string& programFolder,
                          ProcessServices& services, ProgramValues& values);

// What a one-file run prints when another copy runs: the log's error line for
// the file, then the reason.
std::string OneFileRefusedText(const RunConfig& config);

// A start that found another copy running, where the open window cannot be
// reached: it beeps, and says on standard error why nothing was done. Returns the
// exit status: kExitNotTagged for a one-file run, else kExitNormal.
int AnswerSecondStart(const RunConfig& config, ProcessServices& services);

// Run mode 1: tags Mp3Path with LyricsPath, writes the log (with the reason under
// an error line) to standard output and what recovery did first to standard
// error and, unless NoMessage, shows the log in a message box. Returns the
// exit status: kExitNotTagged when the file was not tagged.
int RunOneFileMode(const RunConfig& config, ProcessServices& services,
                   const TaggingOptions& options = {});

}  // namespace versemark
