// SPDX-License-Identifier: GPL-3.0-or-later
#include "startup/ProgramStart.h"

#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/CommonControls.h"
#include "platform/SignalHold.h"
#include "startup/CacheLocation.h"
#include "startup/OneFileRun.h"
#include "startup/RunConfig.h"
#include "tagging/TagResult.h"

namespace versemark {

namespace {

constexpr std::string_view kAnotherCopyReason =
    "another Versemark is running (its window, or another one-file run); close it, "
    "then start the one-file run again";
constexpr std::string_view kFolderNotOpenedText =
    "Versemark is already running, so this folder was not opened: ";

}  // namespace

StartOutcome StartProgram(const std::string& argumentText, const std::string& programFolder,
                          ProcessServices& services, ProgramValues& values) {
    if (services.AnotherCopyRuns()) {
        ParseCommandLine(argumentText, values.Config);
        return StartOutcome::AnotherCopyRuns;
    }
    const bool probe = ProbeCommonControls();
    LocateLyricsCache(values.Cache, programFolder);
    ReadSettings(values.Cache);
    ParseCommandLine(argumentText, values.Config);
    return probe ? StartOutcome::StartedWithCommonControls : StartOutcome::Started;
}

std::string OneFileRefusedText(const RunConfig& config) {
    std::string text(kLogError);
    text += config.Mp3Path;
    text += kLineEnd;
    text += kAnotherCopyReason;
    text += kLineEnd;
    return text;
}

int AnswerSecondStart(const RunConfig& config, ProcessServices& services) {
    services.Beep();
    if (config.Mode == RunMode::TagOneFile) {
        const std::string text = OneFileRefusedText(config);
        std::fwrite(text.data(), 1, text.size(), stderr);
        return kExitNotTagged;
    }
    if (config.Mode == RunMode::ScanFolder) {
        const std::string text = std::string(kFolderNotOpenedText) + config.Folder + "\n";
        std::fwrite(text.data(), 1, text.size(), stderr);
    }
    return kExitNormal;
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
    if (!config.NoMessage) {
        services.ShowMessage(log);
    }
    return tagged ? kExitNormal : kExitNotTagged;
}

}  // namespace versemark
