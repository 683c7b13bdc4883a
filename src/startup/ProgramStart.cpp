// SPDX-License-Identifier: GPL-3.0-or-later
#include "startup/ProgramStart.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "platform/CommonControls.h"
#include "platform/SignalHold.h"
#include "startup/CacheLocation.h"
#include "startup/OneFileRun.h"
#include "startup/RunConfig.h"

namespace versemark {

std::optional<bool> StartProgram(const std::string& argumentText, const std::string& programFolder,
                                 ProcessServices& services, ProgramValues& values) {
    if (services.AnotherCopyRuns()) {
        services.Beep();
        return std::nullopt;
    }
    const bool probe = ProbeCommonControls();
    LocateLyricsCache(values.Cache, programFolder);
    ReadSettings(values.Cache);
    values.Config.RunMode = ParseCommandLine(argumentText, values.Config);
    return probe;
}

int RunOneFileMode(const RunConfig& config, ProcessServices& services,
                   const TaggingOptions& options) {
    // Held around the pass's own hold until the log is written, so that a signal
    // during the file still leaves it; a signal ends the run then, without the
    // message box.
    std::optional<SignalHold> hold(std::in_place);
    std::vector<RecoveryNote> recovered;
    int stopSignal = 0;
    bool tagged = false;
    const std::string log = TagOneFile(config, options, &recovered, &stopSignal, &tagged);
    const std::string recoveryText = RecoveryText(recovered);
    std::fwrite(recoveryText.data(), 1, recoveryText.size(), stderr);
    std::fwrite(log.data(), 1, log.size(), stdout);
    std::fflush(stdout);
    std::fflush(stderr);
    if (stopSignal == 0) {
        stopSignal = hold->TakeStopSignal();
    }
    if (stopSignal != 0) {
        return kExitSignalBase + stopSignal;
    }
    hold.reset();  // the message box waits for the user: a signal ends it as usual
    if (!config.CmdNoMessage) {
        services.ShowMessage(log);
    }
    return tagged ? kExitNormal : kExitNotTagged;
}

}  // namespace versemark
