// SPDX-License-Identifier: GPL-3.0-or-later
#include "startup/OneFileRun.h"

#include "base/ControlEscape.h"
#include "base/FileNames.h"
#include "matching/RowList.h"
#include "platform/Registry.h"

namespace versemark {

namespace {

constexpr std::size_t kExtensionWidth = 4;  // ".txt"

// Why the file was not tagged, as a line of its own under the log line; nothing
// when no reason was given.
std::string ReasonLine(std::string_view reason) {
    return reason.empty() ? std::string() : EscapeControls(reason) + std::string(kLineEnd);
}

}  // namespace

std::string LyricsNameFromPath(std::string_view lyricsPath) {
    const std::string name = GetFileName(lyricsPath);
    return name.size() < kExtensionWidth ? std::string()
                                         : name.substr(0, name.size() - kExtensionWidth);
}

ResultRow OneFileRow(const RunConfig& config) {
    ResultRow row;
    row.Mp3Name = GetFileName(config.Mp3Path);
    row.Mp3Path = config.Mp3Path;
    row.LyricsName = LyricsNameFromPath(config.LyricsPath);
    row.LyricsPath = config.LyricsPath;
    row.Checked = true;
    return row;
}

std::string TagOneFile(const RunConfig& config, const TaggingOptions& options,
                       std::vector<RecoveryNote>* recovered, int* stopSignal, bool* tagged) {
    RunConfig reachable = config;
    reachable.Mp3Path = NativeFromWindowsPath(config.Mp3Path);
    reachable.LyricsPath = NativeFromWindowsPath(config.LyricsPath);
    RowList rows;
    rows.Add(OneFileRow(reachable));
    const auto outcome = TagCheckedRows(rows, options);
    if (outcome && recovered) {
        *recovered = outcome->Recovered;
    }
    if (outcome && stopSignal) {
        *stopSignal = outcome->StopSignal;
    }
    // The log names the file as the companion wrote it, not as it was reached.
    const bool done = outcome && AllTagged(outcome->Results) && !outcome->Results.empty();
    if (tagged) {
        *tagged = done;
    }
    std::string log = TaggingLogLine(done, config.Mp3Path);
    if (!done && outcome && !outcome->Results.empty()) {
        log += ReasonLine(outcome->Results.front().Reason);
    }
    return log;
}

}  // namespace versemark
