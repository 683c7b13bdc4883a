#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "matching/RowList.h"
#include "platform/RandomAccessFile.h"

namespace versemark {

inline constexpr std::string_view kLogTagged = "File tagged..: ";
inline constexpr std::string_view kLogError = "Error tagging: ";
inline constexpr std::string_view kLineEnd = "\r\n";

// Opens an MP3 file for the pass; tests substitute files that fail on purpose.
using FileOpener =
    std::function<std::unique_ptr<RandomAccessFile>(const std::string& path, FileAccess access)>;

// Tags one MP3 file with one lyrics file; `lyricsName` builds a missing ID3v1
// block. True when the new tail was written; on false the file is unchanged.
bool TagFile(const std::string& mp3Path, const std::string& lyricsPath, std::string_view lyricsName,
             const FileOpener& open = OpenFile);

// The tagging pass over the checked rows, in list order: one log line per checked
// row ("File tagged..: " or "Error tagging: ", the MP3 path, CR LF). nullopt when
// the list has no rows (nothing happens on screen then).
std::optional<std::string> LetsTagThem(const RowList& rows, const FileOpener& open = OpenFile);

}  // namespace versemark
