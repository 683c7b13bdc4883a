// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>

#include "cli/CliArguments.h"
#include "cli/CliVerbs.h"
#include "platform/SignalHold.h"
#include "tagging/Journal.h"
#include "tagging/Recovery.h"

namespace versemark::cli {

namespace {

constexpr std::string_view kName = "recover";

constexpr std::string_view kHelp =
    "Usage: versemark-cli recover\n"
    "\n"
    "Finishes what a tagging run that was killed or crashed left unfinished: every\n"
    "file whose tail is neither exactly the old nor exactly the new one gets its old\n"
    "tail and length back from the journal ($XDG_STATE_HOME/versemark, by default\n"
    "~/.local/state/versemark). A file that is no longer the one the journal\n"
    "recorded is left alone. The new copy a run with --also-id3v2 was writing (a\n"
    "hidden .versemark-XXXXXX beside the file, named in the journal) is removed; the\n"
    "file itself is whole. Every tagging pass does this first by itself.\n"
    "\n"
    "Every journal is read whole: one that is damaged or cut short is named with\n"
    "what of it could not be used. Prints on standard error what was repaired and\n"
    "what could not be.\n"
    "Exit status: 0 when nothing is left to recover, 1 when a file could not be\n"
    "recovered or a journal is damaged, 2 for a wrong command line, 128 plus the\n"
    "signal's number when an interrupt or a termination request came meanwhile\n"
    "(after the notes).\n";

int Run(const VerbArguments& args, CliIo& io) {
    const ParsedArguments parsed = ParseVerbArguments(args, 0, 0);
    if (const auto status = HelpOrUsageError(parsed, kHelp, kName, io)) {
        return *status;
    }
    const std::string folder = DefaultJournalFolder();
    const PassLock lock = PassLock::Take(folder, WaitForOtherPass(io));
    if (!lock.Held()) {
        return Failure(io, kName, lock.Reason());
    }
    // Held until the notes are written; taken after the wait, which an interrupt may end.
    SignalHold hold;
    const std::vector<RecoveryNote> notes =
        RecoverUnfinished(folder, OpenFile, JournalCheck::Whole);
    ReportRecovery(io, notes);
    const bool allRepaired = std::all_of(notes.begin(), notes.end(),
                                         [](const RecoveryNote& note) { return note.Repaired; });
    return StatusAfterOutput(io, hold, 0, allRepaired ? kExitOk : kExitFailure);
}

}  // namespace

VerbInfo RecoverVerb() {
    return {kName, "recover  restore files a killed tagging run left half written", kHelp, Run};
}

}  // namespace versemark::cli
