#include "tagging/ReplaceByCopy.h"

#include "platform/FileSystem.h"
#include "platform/ReplacementFile.h"
#include "tagging/TaggingPass.h"
#include "tags/Id3v2Lyrics.h"
#include "tags/TagWriter.h"

namespace versemark {
namespace {

// The new file: the new ID3v2 tag, the old file after its old tag, then the
// Lyrics3 tail written over that copy's end. Empty when done, else the reason.
std::string WriteNewFile(const std::string& mp3Path, const std::string& lyricsPath,
                         std::string_view lyricsName) {
    const auto lyrics = ReadPreparedLyrics(lyricsPath);
    if (!lyrics) {
        return "the lyrics file cannot be read";
    }
    const auto old = ReadWholeFile(mp3Path);
    if (!old) {
        return "the file cannot be read";
    }
    const std::string_view oldBytes = *old;
    const std::uint64_t oldTagSize = Id3v2TagSize(oldBytes);
    if (oldTagSize > oldBytes.size()) {
        return "the ID3v2 tag reaches beyond the file's end";
    }
    std::string reason;
    const auto newTag =
        BuildId3v2WithLyrics(oldBytes.substr(0, oldTagSize), Lyrics3FieldText(*lyrics), reason);
    if (!newTag) {
        return reason;
    }

    const auto replacement = CreateReplacementFile(mp3Path, reason);
    if (!replacement) {
        return reason;
    }
    RandomAccessFile& file = replacement->File();
    if (!file.WriteAt(0, *newTag) || !file.WriteAt(newTag->size(), oldBytes.substr(oldTagSize))) {
        return "writing the new file failed: " + file.ErrorText();
    }
    if (!WriteLyricsTail(file, *lyrics, lyricsName)) {
        return "the Lyrics3 tag could not be written into the new file";
    }
    if (!replacement->Commit(reason)) {
        return reason;
    }
    return {};
}

}  // namespace

bool TagFileByCopy(const std::string& mp3Path, const std::string& lyricsPath,
                   std::string_view lyricsName, const TagOptions& options) {
    const std::string reason = WriteNewFile(mp3Path, lyricsPath, lyricsName);
    if (!reason.empty() && options.ReportFailure) {
        options.ReportFailure(mp3Path, reason);
    }
    return reason.empty();
}

}  // namespace versemark
