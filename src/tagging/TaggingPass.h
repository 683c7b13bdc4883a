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

// How the pass tags: the Lyrics3 tail only (as always), or also the ID3v2
// lyrics frame, the file then written whole as a copy that replaces it.
struct TagOptions {
    bool AlsoId3v2 = false;
    // Told the reason when a file written as a copy could not be tagged.
    std::function<void(const std::string& mp3Path, const std::string& reason)> ReportFailure;
};

// The lyrics file's text as it is stored, or nullopt when it cannot be read.
std::optional<std::string> ReadPreparedLyrics(const std::string& lyricsPath);

// Writes the Lyrics3 tag with `preparedLyrics` and the ID3v1 block at the end of
// an open MP3 file (the block made from `lyricsName` where the file has none).
// On false the file is unchanged.
bool WriteLyricsTail(RandomAccessFile& mp3, std::string_view preparedLyrics,
                     std::string_view lyricsName);

// Tags one MP3 file with one lyrics file; `lyricsName` builds a missing ID3v1
// block. True when the new tail was written; on false the file is unchanged.
bool TagFile(const std::string& mp3Path, const std::string& lyricsPath, std::string_view lyricsName,
             const FileOpener& open = OpenFile);

// The tagging pass over the checked rows, in list order: one log line per checked
// row ("File tagged..: " or "Error tagging: ", the MP3 path, CR LF). nullopt when
// the list has no rows (nothing happens on screen then).
std::optional<std::string> LetsTagThem(const RowList& rows, const FileOpener& open = OpenFile,
                                       const TagOptions& options = {});

}  // namespace versemark
