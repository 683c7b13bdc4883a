// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CliVerbs.h"
#include "cli/DisplayText.h"

namespace versemark::cli {

WhenPassBusy WaitForOtherPass(CliIo& io) {
    return [&io] {
        io.Err << kWaitingText << std::endl;  // seen before the wait, not after it
        return true;
    };
}

void ReportRecovery(CliIo& io, const std::vector<RecoveryNote>& notes) {
    for (const RecoveryNote& note : notes) {
        if (note.Journal) {
            io.Err << "Could not use all of the journal " << DisplayPath(note.Path) << ": "
                   << note.Text << '\n';
        } else if (note.Repaired && !note.RemovedCopy.empty()) {
            io.Err << "Recovered: removed the unfinished copy " << DisplayPath(note.RemovedCopy)
                   << " of " << DisplayPath(note.Path) << '\n';
        } else if (note.Repaired) {
            io.Err << "Recovered: restored the old tail of " << DisplayPath(note.Path) << '\n';
        } else {
            io.Err << "Could not recover " << DisplayPath(note.Path) << ": " << note.Text << '\n';
        }
    }
}

void ReportReasons(CliIo& io, std::string_view verb, const std::vector<TagResult>& results) {
    for (const TagResult& result : results) {
        // A tagged file has a reason only when there is something to know about it.
        if (!result.Tagged || !result.Reason.empty()) {
            io.Err << kProgramName << ' ' << verb << ": " << DisplayPath(result.Mp3Path) << ": "
                   << DisplayName(result.Reason) << '\n';
        }
    }
}

int StatusAfterOutput(CliIo& io, SignalHold& hold, int stopSignal, int status) {
    io.Out.flush();
    io.Err.flush();
    const int signal = stopSignal != 0 ? stopSignal : hold.TakeStopSignal();
    return signal != 0 ? kExitSignalBase + signal : status;
}

}  // namespace versemark::cli
