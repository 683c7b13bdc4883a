#include "tagging/TagResult.h"

#include <algorithm>

namespace versemark {

std::string TaggingLog(const std::vector<TagResult>& results) {
    std::string log;
    for (const TagResult& result : results) {
        log += result.Tagged ? kLogTagged : kLogError;
        log += result.Mp3Path;
        log += kLineEnd;
    }
    return log;
}

bool AllTagged(const std::vector<TagResult>& results) {
    return std::all_of(results.begin(), results.end(),
                       [](const TagResult& result) { return result.Tagged; });
}

}  // namespace versemark
