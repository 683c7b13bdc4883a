// SPDX-License-Identifier: GPL-3.0-or-later
// The lyrics field in a build without TagLib: no file has one that can be written.
#include "tags/FieldLyrics.h"

namespace versemark {

bool FieldLyricsAvailable() {
    return false;
}

std::optional<FieldFormat> DetectFieldFormat(RandomAccessFile&) {
    return std::nullopt;
}

FieldLyricsEdit SetFieldLyrics(RandomAccessFile&, FieldFormat, std::string_view) {
    return {std::nullopt, "this build cannot write the lyrics field of such a file"};
}

}  // namespace versemark
