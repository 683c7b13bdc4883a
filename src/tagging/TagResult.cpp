// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagging/TagResult.h"

#include <algorithm>

#include "base/ControlEscape.h"

namespace versemark {

std::string LogLine(std::string_view lead, std::string_view mp3Path) {
    std::string line(lead);
    line += EscapeControls(mp3Path);
    line += kLineEnd;
    return line;
}

std::string TaggingLogLine(bool tagged, std::string_view mp3Path) {
    return LogLine(tagged ? kLogTagged : kLogError, mp3Path);
}

std::string TaggingLog(const std::vector<TagResult>& results) {
    std::string log;
    for (const TagResult& result : results) {
        log += TaggingLogLine(result.Tagged, result.Mp3Path);
        if (!result.BesideNote.empty()) {
            log += kLogBesideNotWritten;
            log += EscapeControls(result.BesideFile) + ": " + EscapeControls(result.BesideNote);
            log += kLineEnd;
        }
    }
    return log;
}

std::string UndoLog(const std::vector<TagResult>& results) {
    std::string log;
    for (const TagResult& result : results) {
        log += LogLine(result.Tagged ? kLogRestored : kLogRestoreError, result.Mp3Path);
    }
    return log;
}

bool AllTagged(const std::vector<TagResult>& results) {
    return std::all_of(results.begin(), results.end(),
                       [](const TagResult& result) { return result.Tagged; });
}

}  // namespace versemark
