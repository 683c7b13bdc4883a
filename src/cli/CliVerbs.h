// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CliArguments.h"
#include "platform/SignalHold.h"
#include "tagging/PassLock.h"
#include "tagging/Recovery.h"
#include "tagging/TagResult.h"

// The verbs of versemark-cli. Each verb lives in its own file with its own help
// text; the dispatcher finds it by name.
namespace versemark::cli {

inline constexpr std::string_view kProgramName = "versemark-cli";

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // a file could not be tagged, read or written
inline constexpr int kExitUsage = 2;    // a wrong command line

// Where a verb writes. `Progress` is true when standard error is a terminal.
struct CliIo {
    std::ostream& Out;
    std::ostream& Err;
    bool Progress = false;
};

using VerbArguments = std::vector<std::string>;
using VerbFunction = int (*)(const VerbArguments& args, CliIo& io);

struct VerbInfo {
    std::string_view Name;
    std::string_view Synopsis;  // one line for the overview
    std::string_view Help;      // the whole help text of the verb
    VerbFunction Run;
};

VerbInfo ConfigVerb();
VerbInfo ScanVerb();
VerbInfo TagVerb();
VerbInfo ShowVerb();
VerbInfo PrepareVerb();
VerbInfo DemoVerb();
VerbInfo RecoverVerb();
VerbInfo UndoVerb();

// Writes the recovery notes to standard error, one line each.
void ReportRecovery(CliIo& io, const std::vector<RecoveryNote>& notes);

// What a verb does when another tagging pass holds the journal folder: says on
// standard error that it waits for it (kWaitingText), then waits.
inline constexpr std::string_view kWaitingText = "Waiting for another tagging pass to finish...";
WhenPassBusy WaitForOtherPass(CliIo& io);

// Writes "versemark-cli VERB: PATH: reason" to standard error for every file not
// tagged.
void ReportReasons(CliIo& io, std::string_view verb, const std::vector<TagResult>& results);

// The status of a verb that held the signals that end the program until its
// output was written: the output flushed, then kExitSignalBase plus `stopSignal`
// (the signal that stopped the pass) or plus a signal that came while `hold`
// held it, else `status`.
int StatusAfterOutput(CliIo& io, SignalHold& hold, int stopSignal, int status);

// All verbs in the order the overview lists them.
std::vector<VerbInfo> AllVerbs();

// Runs the command line (the arguments after the program's own name).
int RunCli(const VerbArguments& args, CliIo& io);

// The overview that `versemark-cli --help` prints.
std::string OverviewHelp();

// Writes "versemark-cli VERB: reason" and a hint to the verb's help to standard
// error and returns kExitUsage.
int UsageError(CliIo& io, std::string_view verb, std::string_view reason);

// Writes "versemark-cli VERB: reason" to standard error and returns kExitFailure.
int Failure(CliIo& io, std::string_view verb, std::string_view reason);

// The exit status when parsing already ends the verb: its help asked for (printed,
// kExitOk) or a wrong command line (UsageError); nullopt when the verb goes on.
std::optional<int> HelpOrUsageError(const ParsedArguments& parsed, std::string_view help,
                                    std::string_view verb, CliIo& io);

}  // namespace versemark::cli
