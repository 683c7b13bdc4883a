// SPDX-License-Identifier: GPL-3.0-or-later
#include <ctime>

#include "cli/CliArguments.h"
#include "cli/CliVerbs.h"
#include "cli/DisplayText.h"
#include "platform/LockedFile.h"
#include "platform/SignalHold.h"
#include "tagging/Journal.h"
#include "tagging/Recovery.h"
#include "tagging/Undo.h"

namespace versemark::cli {

namespace {

constexpr std::string_view kName = "undo";

constexpr std::string_view kHelp =
    "Usage: versemark-cli undo [PASS]\n"
    "       versemark-cli undo --list\n"
    "\n"
    "Takes back the most recent tagging pass not undone yet, or the pass named:\n"
    "every file of the pass whose tail is still exactly what the pass wrote gets its\n"
    "old tail and length back. A file the pass wrote as a copy (tag --also-id3v2)\n"
    "whose ID3v2 tag and tail are still what the pass wrote gets its old ones back,\n"
    "again by a copy that replaces it (the audio between is kept as it is). Any\n"
    "other file is left alone, and why is printed on standard error. The log lists\n"
    "the files one line per file, \"File restored..: \" or \"Error restoring: \" and\n"
    "the path, each line ending in CR LF.\n"
    "\n"
    "The journal keeps the last 20 passes or 200 MB, whichever is less.\n"
    "\n"
    "  --list    list the passes that can be named: id, date, folder, file count\n"
    "\n"
    "An undo that was ended early is finished by the next undo of the same pass,\n"
    "which is listed as partly undone until then. A journal that is damaged or cut\n"
    "short is named with what of it could not be used; what it still proves is done.\n"
    "\n"
    "Exit status: 0 when every file of the pass got its old tail back, 1 when any\n"
    "did not, the pass's journal is damaged (for --list: any journal, or the journal\n"
    "folder is refused as a link or another user's) or there is no such pass, 2 for\n"
    "a wrong command line, 128 plus the signal's number when an interrupt or a\n"
    "termination request came meanwhile (the undo is finished and its log printed\n"
    "first).\n";

std::string LocalTimeText(std::int64_t seconds) {
    const std::tm local = LocalTime(static_cast<std::time_t>(seconds));
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

// Names a journal and each thing of it that could not be used; true when there
// was any.
bool ReportJournalProblems(CliIo& io, const std::string& journal,
                           const std::vector<std::string>& problems) {
    for (const std::string& problem : problems) {
        Failure(io, kName, "journal " + DisplayPath(journal) + ": " + problem);
    }
    return !problems.empty();
}

int List(CliIo& io) {
    const std::string folder = DefaultJournalFolder();
    if (const std::string refusal = ListingRefusal(folder); !refusal.empty()) {
        return Failure(io, kName, refusal);
    }
    bool damaged = false;
    for (const PassSummary& pass : ListPasses(folder)) {
        io.Out << pass.Id << "  " << LocalTimeText(pass.Started) << "  " << pass.Files
               << (pass.Files == 1 ? " file  " : " files  ") << DisplayPath(pass.Folder);
        if (!pass.UndoOf.empty()) {
            io.Out << "  (undo of " << pass.UndoOf << ")";
        } else if (pass.Undone) {
            io.Out << "  (undone)";
        } else if (pass.PartlyUndone) {
            io.Out << "  (partly undone)";
        }
        if (!pass.OtherFormat.empty()) {
            io.Out << "  (older journal: cannot be undone)";
        } else if (!pass.Problems.empty()) {
            io.Out << "  (journal damaged)";
        }
        io.Out << '\n';
        damaged = ReportJournalProblems(io, pass.File, pass.Problems) || damaged;
    }
    return damaged ? kExitFailure : kExitOk;
}

int Run(const VerbArguments& args, CliIo& io) {
    ParsedArguments parsed = ParseVerbArguments(args, kOptList, 0);
    if (!parsed.Ok() && !parsed.Options.Help) {
        parsed = ParseVerbArguments(args, 0, 1);  // a pass named
    }
    if (const auto status = HelpOrUsageError(parsed, kHelp, kName, io)) {
        return *status;
    }
    if (parsed.Options.List) {
        return List(io);
    }
    const std::string passId =
        parsed.Options.Positionals.empty() ? std::string() : parsed.Options.Positionals.front();
    const std::string folder = DefaultJournalFolder();
    const PassLock lock = PassLock::Take(folder, WaitForOtherPass(io));
    if (!lock.Held()) {
        return Failure(io, kName, lock.Reason());
    }
    // Held until the log is written: the undo runs whole, then the log is printed.
    // Taken after the wait, which an interrupt may end.
    SignalHold hold;
    ReportRecovery(io, RecoverUnfinished(folder, OpenFile));
    const UndoOutcome outcome = UndoPass(folder, passId, OpenFile);
    if (!outcome.Error.empty()) {
        return StatusAfterOutput(io, hold, 0, Failure(io, kName, outcome.Error));
    }
    io.Err << "Undoing pass " << outcome.PassId << '\n';
    io.Out << UndoLog(outcome.Results);
    ReportReasons(io, kName, outcome.Results);
    const bool damaged = ReportJournalProblems(io, outcome.JournalFile, outcome.Problems);
    return StatusAfterOutput(io, hold, 0,
                             AllTagged(outcome.Results) && !damaged ? kExitOk : kExitFailure);
}

}  // namespace

VerbInfo UndoVerb() {
    return {kName, "undo [PASS] | --list  take back a tagging pass", kHelp, Run};
}

}  // namespace versemark::cli
