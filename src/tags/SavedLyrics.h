#pragma once

#include <string>
#include <string_view>

#include "platform/RandomAccessFile.h"

// The lyrics an MP3 file already carries in its Lyrics3 tag, as the viewer of
// saved lyrics shows them.
namespace versemark {

// Shown instead when the tag yields no lyrics (no "LYR" field, an empty one, no
// readable tag, or a file that cannot be read).
inline constexpr std::string_view kLyricsFieldMissingMessage =
    "The lyrics3 tag is present, but the lyrics field is missing.\r\n"
    "You can insert the lyrics in this file safely.";

// Opens the file read-only and returns the data of its "LYR" field, unprepared,
// or kLyricsFieldMissingMessage. Never writes, never fails.
std::string ReadSavedLyrics(const std::string& mp3Path);

// The same over a file the caller has opened; the caller closes it.
std::string ReadSavedLyrics(RandomAccessFile& file);

}  // namespace versemark
