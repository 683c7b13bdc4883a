// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagging/ReplaceByCopy.h"

#include <algorithm>

#include "platform/FileSystem.h"
#include "tagging/JournaledCopy.h"
#include "tagging/TaggingPass.h"
#include "tagging/TargetChecks.h"
#include "tags/Id3v2Lyrics.h"
#include "tags/TagWriter.h"
#include "tags/TailLayout.h"

namespace versemark {
namespace {

// Enough of the file's start for the ID3v2 tag's size: its whole header.
constexpr std::size_t kId3v2HeaderBytes = 10;

// What the old file holds at its start and what takes its place.
struct TagPlan {
    std::uint64_t Length = 0;
    std::string OldTag;
    std::string NewTag;
    std::string Lyrics;
    NewTail Tail;  // the Lyrics3 tail of the file as it is, for a write in place
};

// Reads the lyrics and the old tag and builds the new one; false with `refusal`
// set when the file cannot be tagged. `id3v1Block` is the ID3v1 block the file
// ends with once tagged, whose values a new tag carries.
bool PlanTag(RandomAccessFile& old, const std::string& mp3Path, const std::string& lyricsPath,
             std::string_view lyricsName, TagPlan& plan, TagResult& refusal) {
    std::string lyricsReason;
    const auto lyrics = ReadPreparedLyrics(lyricsPath, &lyricsReason);
    if (!lyrics) {
        refusal = {mp3Path, false,
                   lyricsReason == kReasonLyricsNoReadPermission
                       ? lyricsReason
                       : "the lyrics file cannot be read"};
        return false;
    }
    plan.Lyrics = *lyrics;
    const auto length = old.Length();
    std::string start;
    if (!length ||
        !old.ReadAt(0,
                    static_cast<std::size_t>(std::min<std::uint64_t>(kId3v2HeaderBytes, *length)),
                    start)) {
        refusal = {mp3Path, false, "the file cannot be read"};
        return false;
    }
    plan.Length = *length;
    const std::uint64_t oldTagSize = Id3v2TagSize(start);
    if (oldTagSize > *length) {
        refusal = {mp3Path, false, "the ID3v2 tag reaches beyond the file's end"};
        return false;
    }
    if (!old.ReadAt(0, static_cast<std::size_t>(oldTagSize), plan.OldTag)) {
        refusal = {mp3Path, false, "the file cannot be read"};
        return false;
    }
    plan.Tail = BuildNewTail(old, plan.Lyrics, lyricsName);
    const NewTail& tail = plan.Tail;
    const std::string_view block =
        tail.Reason.empty() && tail.Bytes.size() >= tail::kId3v1Size
            ? std::string_view(tail.Bytes).substr(tail.Bytes.size() - tail::kId3v1Size)
            : std::string_view();
    std::string reason;
    const auto newTag =
        BuildId3v2WithLyrics(plan.OldTag, Lyrics3FieldText(plan.Lyrics), reason, block);
    if (!newTag) {
        refusal = {mp3Path, false, reason};
        return false;
    }
    plan.NewTag = *newTag;
    return true;
}

// The new file: the new ID3v2 tag, the old file after its old tag, then the
// Lyrics3 tail written over that copy's end.
TagResult TagByCopy(RandomAccessFile& old, const TagPlan& plan, const std::string& mp3Path,
                    const std::string& realPath, std::string_view lyricsName,
                    PassJournal* journal) {
    const std::string& newTag = plan.NewTag;
    const std::uint64_t oldTagSize = plan.OldTag.size();
    const std::uint64_t length = plan.Length;
    const CopyFiller fill = [&](RandomAccessFile& file, std::optional<CopyUndo>& undo,
                                std::string& why) {
        if (!file.WriteAt(0, newTag)) {
            why = "writing the new file failed: " + file.ErrorText();
            return false;
        }
        if (!CopyBlocks(old, oldTagSize, length, file, newTag.size(), why)) {
            return false;
        }
        // The tail read from the copy lies behind the new tag, and so behind the
        // old one in the old file, unless a damaged tail reaches into the tag:
        // such a file is tagged as before but cannot be undone.
        const BeforeTailWrite describe = [&](const TailChange& change, std::string&) {
            if (change.Offset < newTag.size()) {
                return true;
            }
            const std::uint64_t tailStart = change.Offset - newTag.size() + oldTagSize;
            std::string oldTail;
            if (old.ReadAt(tailStart, static_cast<std::size_t>(length - tailStart), oldTail)) {
                undo = DescribeCopyOf(plan.OldTag, tailStart, oldTail, newTag, change.NewTail);
            }
            return true;
        };
        if (!WriteLyricsTail(file, plan.Lyrics, lyricsName, describe)) {
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

// The edits that give the file its new tag in place: the bytes from the first
// to the last that differ, and the new tail from its offset to the end. nullopt
// when the tag does not keep its size or the tail reaches into the tag.
std::optional<std::vector<RangeEdit>> InPlaceEdits(const TagPlan& plan) {
    const NewTail& tail = plan.Tail;
    if (plan.OldTag.empty() || plan.NewTag.size() != plan.OldTag.size() || !tail.Reason.empty() ||
        tail.Offset < plan.OldTag.size()) {
        return std::nullopt;
    }
    std::vector<RangeEdit> edits;
    const auto differs = std::mismatch(plan.OldTag.begin(), plan.OldTag.end(), plan.NewTag.begin());
    if (differs.first != plan.OldTag.end()) {
        const auto first = static_cast<std::size_t>(differs.first - plan.OldTag.begin());
        std::size_t last = plan.OldTag.size();
        while (plan.OldTag[last - 1] == plan.NewTag[last - 1]) {
            --last;
        }
        edits.push_back({first, plan.NewTag.substr(first, last - first), false});
    }
    edits.push_back({tail.Offset, tail.Bytes, true});
    return edits;
}

}  // namespace

TagResult TagOpenFileWithId3v2(std::unique_ptr<RandomAccessFile> old, const std::string& mp3Path,
                               const std::string& realPath, const std::string& lyricsPath,
                               std::string_view lyricsName, PassJournal* journal,
                               const FileOpener& open) {
    TagPlan plan;
    TagResult refusal;
    if (!PlanTag(*old, mp3Path, lyricsPath, lyricsName, plan, refusal)) {
        old->Close();
        return refusal;
    }
    if (const auto edits = InPlaceEdits(plan)) {
        return WriteRangesJournaled(std::move(old), mp3Path, *edits, journal, open);
    }
    TagResult result = TagByCopy(*old, plan, mp3Path, realPath, lyricsName, journal);
    old->Close();
    return result;
}

TagResult TagFileByCopy(const std::string& mp3Path, const std::string& lyricsPath,
                        std::string_view lyricsName, PassJournal* journal) {
    const std::string realPath = ResolvedPath(mp3Path).value_or(mp3Path);
    const std::unique_ptr<RandomAccessFile> old = OpenFile(realPath, FileAccess::Read);
    if (!old) {
        return {mp3Path, false, "the file cannot be read"};
    }
    TagPlan plan;
    TagResult refusal;
    if (!PlanTag(*old, mp3Path, lyricsPath, lyricsName, plan, refusal)) {
        return refusal;
    }
    return TagByCopy(*old, plan, mp3Path, realPath, lyricsName, journal);
}

}  // namespace versemark
