// Tagging by a copy in a build without the ID3v2 lyrics frame: never done.
#include "tagging/ReplaceByCopy.h"

#include "tagging/TaggingPass.h"

namespace versemark {

bool TagFileByCopy(const std::string& mp3Path, const std::string&, std::string_view,
                   const TagOptions& options) {
    if (options.ReportFailure) {
        options.ReportFailure(mp3Path, "this build cannot write ID3v2 lyrics frames");
    }
    return false;
}

}  // namespace versemark
