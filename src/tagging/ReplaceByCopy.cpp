// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagging/ReplaceByCopy.h"

#include <algorithm>

#include "platform/FileSystem.h"
#include "tagging/JournaledCopy.h"
#include "tagging/TaggingPass.h"
#include "tagging/TargetChecks.h"
#include "tags/Id3v2Lyrics.h"
#include "tags/TagWriter.h"

namespace versemark {
namespace {

// The audio is copied in blocks of this size, so that memory stays flat
// whatever the file's size.
constexpr std::size_t kCopyBlockSize = std::size_t{1} << 20;
// Enough of the file's start for the ID3v2 tag's size: its whole header.
constexpr std::size_t kId3v2HeaderBytes = 10;

// Copies the bytes of `from` between `begin` and `end` into `to` at `at`.
bool CopyBlocks(RandomAccessFile& from, std::uint64_t begin, std::uint64_t end,
                RandomAccessFile& to, std::uint64_t at, std::string& why) {
    std::string block;
    for (std::uint64_t offset = begin; offset < end; offset += kCopyBlockSize) {
        const auto count =
            static_cast<std::size_t>(std::min<std::uint64_t>(kCopyBlockSize, end - offset));
        if (!from.ReadAt(offset, count, block)) {
            why = "the file cannot be read";
            return false;
        }
        if (!to.WriteAt(at + (offset - begin), block)) {
            why = "writing the new file failed: " + to.ErrorText();
            return false;
        }
    }
    return true;
}

}  // namespace

// The new file: the new ID3v2 tag, the old file after its old tag, then the
// Lyrics3 tail written over that copy's end.
TagResult TagOpenFileByCopy(RandomAccessFile& old, const std::string& mp3Path,
                            const std::string& realPath, const std::string& lyricsPath,
                            std::string_view lyricsName, PassJournal* journal) {
    std::string lyricsReason;
    const auto lyrics = ReadPreparedLyrics(lyricsPath, &lyricsReason);
    if (!lyrics) {
        return {mp3Path, false,
                lyricsReason == kReasonLyricsNoReadPermission ? lyricsReason
                                                              : "the lyrics file cannot be read"};
    }
    const auto length = old.Length();
    std::string start;
    if (!length ||
        !old.ReadAt(0,
                    static_cast<std::size_t>(std::min<std::uint64_t>(kId3v2HeaderBytes, *length)),
                    start)) {
        return {mp3Path, false, "the file cannot be read"};
    }
    const std::uint64_t oldTagSize = Id3v2TagSize(start);
    if (oldTagSize > *length) {
        return {mp3Path, false, "the ID3v2 tag reaches beyond the file's end"};
    }
    std::string oldTag;
    if (!old.ReadAt(0, static_cast<std::size_t>(oldTagSize), oldTag)) {
        return {mp3Path, false, "the file cannot be read"};
    }
    std::string reason;
    const auto newTag = BuildId3v2WithLyrics(oldTag, Lyrics3FieldText(*lyrics), reason);
    if (!newTag) {
        return {mp3Path, false, reason};
    }
    const CopyFiller fill = [&](RandomAccessFile& file, std::optional<CopyUndo>& undo,
                                std::string& why) {
        if (!file.WriteAt(0, *newTag)) {
            why = "writing the new file failed: " + file.ErrorText();
            return false;
        }
        if (!CopyBlocks(old, oldTagSize, *length, file, newTag->size(), why)) {
            return false;
        }
        // The tail read from the copy lies behind the new tag, and so behind the
        // old one in the old file, unless a damaged tail reaches into the tag:
        // such a file is tagged as before but cannot be undone.
        const BeforeTailWrite describe = [&](const TailChange& change, std::string&) {
            if (change.Offset < newTag->size()) {
                return true;
            }
            const std::uint64_t tailStart = change.Offset - newTag->size() + oldTagSize;
            std::string oldTail;
            if (old.ReadAt(tailStart, static_cast<std::size_t>(*length - tailStart), oldTail)) {
                undo = DescribeCopyOf(oldTag, tailStart, oldTail, *newTag, change.NewTail);
            }
            return true;
        };
        if (!WriteLyricsTail(file, *lyrics, lyricsName, describe)) {
            why = "the Lyrics3 tag could not be written into the new file";
            return false;
        }
        // Read whole: closed before the rename, which Windows refuses while the
        // file is open.
        old.Close();
        return true;
    };
    return WriteCopyJournaled(mp3Path, fill, journal, realPath);
}

TagResult TagFileByCopy(const std::string& mp3Path, const std::string& lyricsPath,
                        std::string_view lyricsName, PassJournal* journal) {
    const std::string realPath = ResolvedPath(mp3Path).value_or(mp3Path);
    const std::unique_ptr<RandomAccessFile> old = OpenFile(realPath, FileAccess::Read);
    if (!old) {
        return {mp3Path, false, "the file cannot be read"};
    }
    return TagOpenFileByCopy(*old, mp3Path, realPath, lyricsPath, lyricsName, journal);
}

}  // namespace versemark
