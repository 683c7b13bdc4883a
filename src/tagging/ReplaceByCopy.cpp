#include "tagging/ReplaceByCopy.h"

#include "platform/FileSystem.h"
#include "tagging/JournaledCopy.h"
#include "tagging/TaggingPass.h"
#include "tags/Id3v2Lyrics.h"
#include "tags/TagWriter.h"

namespace versemark {

// The new file: the new ID3v2 tag, the old file after its old tag, then the
// Lyrics3 tail written over that copy's end.
TagResult TagFileByCopy(const std::string& mp3Path, const std::string& lyricsPath,
                        std::string_view lyricsName, PassJournal* journal) {
    const auto lyrics = ReadPreparedLyrics(lyricsPath);
    if (!lyrics) {
        return {mp3Path, false, "the lyrics file cannot be read"};
    }
    const auto old = ReadWholeFile(mp3Path);
    if (!old) {
        return {mp3Path, false, "the file cannot be read"};
    }
    const std::string_view oldBytes = *old;
    const std::uint64_t oldTagSize = Id3v2TagSize(oldBytes);
    if (oldTagSize > oldBytes.size()) {
        return {mp3Path, false, "the ID3v2 tag reaches beyond the file's end"};
    }
    std::string reason;
    const auto newTag =
        BuildId3v2WithLyrics(oldBytes.substr(0, oldTagSize), Lyrics3FieldText(*lyrics), reason);
    if (!newTag) {
        return {mp3Path, false, reason};
    }
    const CopyFiller fill = [&](RandomAccessFile& file, std::optional<CopyUndo>& undo,
                                std::string& why) {
        if (!file.WriteAt(0, *newTag) ||
            !file.WriteAt(newTag->size(), oldBytes.substr(oldTagSize))) {
            why = "writing the new file failed: " + file.ErrorText();
            return false;
        }
        // The tail read from the copy lies behind the new tag, and so behind the
        // old one in the old file, unless a damaged tail reaches into the tag:
        // such a file is tagged as before but cannot be undone.
        const BeforeTailWrite describe = [&](const TailChange& change, std::string&) {
            if (change.Offset >= newTag->size()) {
                undo = DescribeCopy(oldBytes, oldTagSize, *newTag,
                                    change.Offset - newTag->size() + oldTagSize, change.NewTail);
            }
            return true;
        };
        if (!WriteLyricsTail(file, *lyrics, lyricsName, describe)) {
            why = "the Lyrics3 tag could not be written into the new file";
            return false;
        }
        return true;
    };
    return WriteCopyJournaled(mp3Path, fill, journal);
}

}  // namespace versemark
