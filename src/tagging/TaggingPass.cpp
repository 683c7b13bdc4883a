#include "tagging/TaggingPass.h"

#include <cerrno>
#include <ctime>

#include "platform/FileSystem.h"
#include "platform/SignalHold.h"
#include "tags/LyricsText.h"
#include "tags/TagReaders.h"
#include "tags/TagWriter.h"
#include "tags/TailLayout.h"

namespace versemark {
namespace {

// Where the new tag goes and which trailer it ends with.
struct WritePlace {
    std::uint64_t Offset = 0;
    std::string Trailer;
};

// Reads the Lyrics3 tail that ends at E into `fields`. A version 1 tag is
// converted; a version 2 tag is rewritten in place with its own trailer; any
// other tail (or one that cannot be read) gets the new tag at E.
WritePlace ReadExistingTag(FieldList& fields, RandomAccessFile& file, std::uint64_t lyricsEnd,
                           const TagKind& kind) {
    if (kind == kKindLyrics3v1) {
        return {ReadLyrics3v1Field(fields, file, lyricsEnd), std::string(tail::kTrailerV200)};
    }
    if (IsLyrics3v2Kind(kind)) {
        return {ReadLyrics3v2Fields(fields, file, lyricsEnd), kind};
    }
    return {lyricsEnd, std::string(tail::kTrailerV200)};
}

Id3v1Tag Id3v1FromLyricsName(std::string_view lyricsName) {
    return BuildId3v1Tag(ArtistFromName(lyricsName), TitleFromName(lyricsName), "",
                         tail::kBlankYear, "", 0, tail::kGenreNone);
}

// The new tail of the open file (the tag and the ID3v1 block) and where it goes,
// or the reason why there is none.
struct NewTail {
    std::uint64_t Offset = 0;
    std::string Bytes;
    std::string Reason;
};

NewTail BuildNewTail(RandomAccessFile& mp3, const std::string& lyricsPath,
                     std::string_view lyricsName) {
    auto id3 = ReadId3v1Tag(mp3);
    const auto length = mp3.Length();
    if (!id3 || !length) {
        return {0, {}, std::string(kReasonTailUnreadable)};
    }
    const std::uint64_t lyricsEnd = LyricsEnd(*length, *id3);
    if (!id3->IsPresent()) {
        id3 = Id3v1FromLyricsName(lyricsName);
    }
    const auto kind = GetLyricsTagKind(mp3, lyricsEnd);
    if (!kind) {
        return {0, {}, std::string(kReasonTailUnreadable)};
    }
    FieldList fields;
    const WritePlace place = ReadExistingTag(fields, mp3, lyricsEnd, *kind);

    // The lyrics are read whole before anything is written to the MP3 file.
    auto lyrics = ReadWholeFile(lyricsPath);
    if (!lyrics) {
        return {0, {}, std::string(kReasonLyricsUnreadable)};
    }
    PrepareLyricsText(*lyrics);
    SetLyrics3Field(fields, tail::kFieldInd, tail::kIndLyricsPresent);
    SetLyrics3Field(fields, tail::kFieldLyrics, *lyrics);
    const auto tag = BuildLyrics3v2Tag(fields, place.Trailer);
    if (!tag) {
        return {0, {}, std::string(kReasonTagTooLarge)};
    }
    return {place.Offset, *tag + Id3v1ToBytes(*id3), {}};
}

TagResult TagRow(const ResultRow& row, const FileOpener& open, PassJournal* journal) {
    const std::string& mp3Path = row.Mp3Cell.ToolTip;
    // A missing file, a folder or a file that cannot be opened for writing all
    // fail here, before anything is read.
    errno = 0;
    std::unique_ptr<RandomAccessFile> mp3 = open(mp3Path, FileAccess::ReadWrite);
    if (!mp3) {
        return {mp3Path, false, OpenFailureReason(mp3Path, errno)};
    }
    // The scan checked the row for the file as it was then; another file, or
    // the same one changed, is not what the user chose.
    if (row.Scanned && mp3->Stamp() != row.Scanned) {
        mp3->Close();
        return {mp3Path, false, std::string(kReasonChanged)};
    }
    const NewTail tail = BuildNewTail(*mp3, row.LyricsCell.ToolTip, row.LyricsCell.Text);
    if (!tail.Reason.empty()) {
        mp3->Close();
        return {mp3Path, false, tail.Reason};
    }
    return WriteTailJournaled(std::move(mp3), mp3Path, tail.Offset, tail.Bytes, journal, open);
}

// Every checked row fails with the same reason (the journal could not be made).
std::vector<TagResult> AllFailed(const RowList& rows, const std::string& reason) {
    std::vector<TagResult> results;
    for (const ResultRow& row : rows.Rows()) {
        if (row.Checked) {
            results.push_back({row.Mp3Cell.ToolTip, false, reason});
        }
    }
    return results;
}

}  // namespace

std::optional<TaggingOutcome> TagCheckedRows(const RowList& rows, const TaggingOptions& options) {
    if (rows.Empty()) {
        return std::nullopt;
    }
    SignalHold hold;
    TaggingOutcome outcome;
    std::unique_ptr<PassJournal> journal;
    if (options.JournalFolder) {
        outcome.Recovered = RecoverUnfinished(*options.JournalFolder, options.Open);
        if (rows.CheckedCount() > 0) {
            PassHeader header;
            header.Started = static_cast<std::int64_t>(std::time(nullptr));
            header.Folder = options.Folder;
            std::string reason;
            journal = PassJournal::Create(*options.JournalFolder, header, reason);
            if (!journal) {
                outcome.Results = AllFailed(rows, reason);
                return outcome;
            }
        }
    }
    for (const ResultRow& row : rows.Rows()) {
        if (!row.Checked) {
            continue;
        }
        if (const int signal = hold.TakeStopSignal()) {
            outcome.StopSignal = signal;
            break;
        }
        outcome.Results.push_back(TagRow(row, options.Open, journal.get()));
    }
    if (journal) {
        FinishJournal(std::move(journal), *options.JournalFolder);
    }
    return outcome;
}

std::optional<std::string> LetsTagThem(const RowList& rows, const FileOpener& open) {
    TaggingOptions options;
    options.Open = open;
    const auto outcome = TagCheckedRows(rows, options);
    if (!outcome) {
        return std::nullopt;
    }
    return TaggingLog(outcome->Results);
}

bool TagFile(const std::string& mp3Path, const std::string& lyricsPath, std::string_view lyricsName,
             const FileOpener& open) {
    ResultRow row;
    row.Mp3Cell.ToolTip = mp3Path;
    row.LyricsCell.ToolTip = lyricsPath;
    row.LyricsCell.Text = std::string(lyricsName);
    row.Checked = true;
    RowList rows;
    rows.Add(row);
    TaggingOptions options;
    options.Open = open;
    const auto outcome = TagCheckedRows(rows, options);
    return outcome && AllTagged(outcome->Results) && !outcome->Results.empty();
}

}  // namespace versemark
