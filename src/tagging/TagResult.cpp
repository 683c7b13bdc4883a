#include "tagging/TagResult.h"

#include <algorithm>

#include "base/ControlEscape.h"

namespace versemark {

std::string TaggingLogLine(bool tagged, std::string_view mp3Path) {
    std::string line(tagged ? kLogTagged : kLogError);
    line += EscapeControls(mp3Path);
    line += kLineEnd;
    return line;
}

std::string TaggingLog(const std::vector<TagResult>& results) {
    std::string log;
    for (const TagResult& result : results) {
        log += TaggingLogLine(result.Tagged, result.Mp3Path);
    }
    return log;
}

bool AllTagged(const std::vector<TagResult>& results) {
    return std::all_of(results.begin(), results.end(),
                       [](const TagResult& result) { return result.Tagged; });
}

}  // namespace versemark
