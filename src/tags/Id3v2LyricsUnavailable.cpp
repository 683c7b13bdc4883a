// SPDX-License-Identifier: GPL-3.0-or-later
// The ID3v2 lyrics frame in a build without TagLib: nothing is written or read.
#include "tags/Id3v2Lyrics.h"

namespace versemark {

bool Id3v2LyricsAvailable() {
    return false;
}

std::uint64_t Id3v2TagSize(std::string_view) {
    return 0;
}

std::optional<std::string> BuildId3v2WithLyrics(std::string_view, std::string_view,
                                                std::string& reason, std::string_view) {
    reason = "this build cannot write ID3v2 lyrics frames";
    return std::nullopt;
}

bool HasId3v2LyricsFrame(std::string_view) {
    return false;
}

bool FileHasId3v2LyricsFrame(const std::string&) {
    return false;
}

}  // namespace versemark
