// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagging/TaggingPass.h"

#include <cerrno>
#include <ctime>

#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/SignalHold.h"
#include "tagging/FieldTagging.h"
#include "tagging/ReplaceByCopy.h"
#include "tagging/TargetChecks.h"
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
// other tail (or an unreadable one) gets the new tag at E. nullopt when a read
// of the file fails: the old tag would otherwise stay in front of the new one.
std::optional<WritePlace> ReadExistingTag(FieldList& fields, RandomAccessFile& file,
                                          std::uint64_t lyricsEnd, const TagKind& kind) {
    std::optional<std::uint64_t> start = lyricsEnd;
    std::string trailer(tail::kTrailerV200);
    if (kind == kKindLyrics3v1) {
        start = ReadLyrics3v1Field(fields, file, lyricsEnd);
    } else if (IsLyrics3v2Kind(kind)) {
        start = ReadLyrics3v2Fields(fields, file, lyricsEnd);
        trailer = kind;
    }
    if (!start) {
        return std::nullopt;
    }
    return WritePlace{*start, trailer};
}

// Artist and title in the companion's code page when the name converts exactly,
// else the name's own bytes.
Id3v1Tag Id3v1FromLyricsName(std::string_view lyricsName) {
    const std::string name = Utf8ToWindows1252(lyricsName).value_or(std::string(lyricsName));
    return BuildId3v1Tag(ArtistFromName(name), TitleFromName(name), "", tail::kBlankYear, "", 0,
                         tail::kGenreNone);
}

}  // namespace

NewTail BuildNewTail(RandomAccessFile& mp3, std::string_view preparedLyrics,
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
    const std::optional<WritePlace> place = ReadExistingTag(fields, mp3, lyricsEnd, *kind);
    if (!place) {
        return {0, {}, std::string(kReasonTailUnreadable)};
    }
    SetLyrics3Field(fields, tail::kFieldInd, tail::kIndLyricsPresent);
    SetLyrics3Field(fields, tail::kFieldLyrics, preparedLyrics);
    const auto tag = BuildLyrics3v2Tag(fields, place->Trailer);
    if (!tag) {
        return {0, {}, std::string(kReasonTagTooLarge)};
    }
    return {place->Offset, *tag + Id3v1ToBytes(*id3), {}};
}

namespace {

// Tags the file with the ID3v2 frame too: in place where the new tag fits the
// old one, else by a copy renamed over it; journaled either way.
TagResult TagRowByCopy(const ResultRow& row, std::unique_ptr<RandomAccessFile> mp3,
                       const std::string& realPath, const TaggingOptions& options,
                       PassJournal* journal) {
    TagResult result = TagOpenFileWithId3v2(std::move(mp3), row.Mp3Path, realPath, row.LyricsPath,
                                            row.LyricsName, journal, options.Open);
    if (!result.Tagged && options.Tag.ReportFailure) {
        options.Tag.ReportFailure(row.Mp3Path, result.Reason);
    }
    return result;
}

// Tags a FLAC, Ogg or MP4 file in its own lyrics field.
TagResult TagRowInField(const ResultRow& row, std::unique_ptr<RandomAccessFile> file,
                        const TaggingTarget& target, const TaggingOptions& options,
                        PassJournal* journal) {
    const auto format = DetectFieldFormat(*file);
    if (!format) {
        file->Close();
        return {row.Mp3Path, false, std::string(kReasonNotMpeg)};
    }
    TagResult result = TagFieldLyrics(std::move(file), row.Mp3Path, target.OpenPath, *format,
                                      row.LyricsPath, journal, options.Open);
    if (!result.Tagged && options.Tag.ReportFailure) {
        options.Tag.ReportFailure(row.Mp3Path, result.Reason);
    }
    return result;
}

TagResult TagSong(const ResultRow& row, const TaggingOptions& options, PassJournal* journal) {
    const std::string& mp3Path = row.Mp3Path;
    // A missing file, a folder or a file that cannot be opened for writing all
    // fail here, before anything is read. The file is opened where it really
    // lies, through no link, so that the checks below hold for what is written.
    const TaggingTarget target = ResolveTaggingTarget(mp3Path, options.Folder);
    errno = 0;
    std::unique_ptr<RandomAccessFile> mp3 =
        options.Open(target.OpenPath, FileAccess::ReadWriteNoLinks);
    if (!mp3) {
        return {mp3Path, false, OpenFailureReason(mp3Path, errno)};
    }
    // The scan checked the row for the file as it was then; another file, or
    // the same one changed, is not what the user chose.
    if (row.Scanned && mp3->Stamp() != row.Scanned) {
        mp3->Close();
        return {mp3Path, false, std::string(kReasonChanged)};
    }
    ContentKind kind = ContentKind::Other;
    if (std::string refusal = TargetRefusal(*mp3, target, options.Tag.AllFormats, &kind);
        !refusal.empty()) {
        mp3->Close();
        return {mp3Path, false, std::move(refusal)};
    }
    if (kind != ContentKind::MpegAudio) {
        return TagRowInField(row, std::move(mp3), target, options, journal);
    }
    if (options.Tag.AlsoId3v2) {
        return TagRowByCopy(row, std::move(mp3), target.OpenPath, options, journal);
    }
    // The lyrics are read whole before anything is written to the MP3 file.
    std::string lyricsRefusal;
    const auto lyrics = ReadPreparedLyrics(row.LyricsPath, &lyricsRefusal);
    if (!lyrics) {
        mp3->Close();
        return {mp3Path, false, lyricsRefusal};
    }
    const NewTail tail = BuildNewTail(*mp3, *lyrics, row.LyricsName);
    if (!tail.Reason.empty()) {
        mp3->Close();
        return {mp3Path, false, tail.Reason};
    }
    return WriteTailJournaled(std::move(mp3), mp3Path, tail.Offset, tail.Bytes, journal,
                              options.Open);
}

// Tags the row's song and then, where asked and the song is tagged, writes its
// lyrics file beside it; the song stays tagged whatever becomes of that file.
TagResult TagRow(const ResultRow& row, const TaggingOptions& options, PassJournal* journal,
                 BesideFileHistory& history) {
    TagResult result = TagSong(row, options, journal);
    if (!result.Tagged || !options.Tag.BesideFile) {
        return result;
    }
    std::string reason;
    if (const auto lyrics = ReadPreparedLyrics(row.LyricsPath, &reason)) {
        BesideOutcome beside =
            WriteLyricsBeside(row.Mp3Path, *lyrics, journal, history, options.WrapNewFile);
        result.BesideFile = std::move(beside.Path);
        result.BesideNote = std::move(beside.Note);
    } else {
        result.BesideFile = BesideFilePath(row.Mp3Path);
        result.BesideNote = std::string(kBesideLyricsGone) + reason;
    }
    return result;
}

// Every checked row fails with the same reason (the journal could not be made).
std::vector<TagResult> AllFailed(const RowList& rows, const std::string& reason) {
    std::vector<TagResult> results;
    for (const ResultRow& row : rows.Rows()) {
        if (row.Checked) {
            results.push_back({row.Mp3Path, false, reason});
        }
    }
    return results;
}

}  // namespace

std::optional<TaggingOutcome> TagCheckedRows(const RowList& rows, const TaggingOptions& options) {
    if (rows.Empty()) {
        return std::nullopt;
    }
    TaggingOutcome outcome;
    PassLock lock;  // taken before the hold: a wait for it can still be interrupted
    if (options.JournalFolder) {
        lock = PassLock::Take(*options.JournalFolder, options.WhenBusy);
        if (!lock.Held()) {
            outcome.OtherPassRunning = lock.Busy();
            if (!lock.Busy()) {
                outcome.Results = AllFailed(rows, lock.Reason());
            }
            return outcome;
        }
    }
    SignalHold hold;
    std::unique_ptr<PassJournal> journal;
    if (options.JournalFolder) {
        outcome.Recovered = RecoverUnfinished(*options.JournalFolder, options.Open);
        if (rows.CheckedCount() > 0) {
            PassHeader header;
            header.Started = static_cast<std::int64_t>(std::time(nullptr));
            header.Folder = options.Folder;
            std::string reason;
            journal =
                PassJournal::Create(*options.JournalFolder, header, reason, options.WrapJournal);
            if (!journal) {
                outcome.Results = AllFailed(rows, reason);
                return outcome;
            }
        }
    }
    BesideFileHistory history(options.JournalFolder, journal ? journal->File() : std::string());
    const std::size_t total = rows.CheckedCount();
    std::size_t done = 0;
    for (const ResultRow& row : rows.Rows()) {
        if (!row.Checked) {
            continue;
        }
        if (options.OnFile && !options.OnFile(done, total)) {
            break;
        }
        if (const int signal = hold.TakeStopSignal()) {
            outcome.StopSignal = signal;
            break;
        }
        // A journal that could not store an entry stops the pass: every row
        // left fails with its reason.
        const bool stopped = journal && !journal->Broken().empty();
        outcome.Results.push_back(stopped ? TagResult{row.Mp3Path, false, journal->Broken()}
                                          : TagRow(row, options, journal.get(), history));
        ++done;
    }
    if (journal) {
        FinishJournal(std::move(journal), *options.JournalFolder);
    }
    return outcome;
}

std::optional<std::string> ReadPreparedLyrics(const std::string& lyricsPath, std::string* reason) {
    const std::unique_ptr<RandomAccessFile> file = OpenFile(lyricsPath, FileAccess::Read);
    const std::optional<FileRights> rights = file ? file->Rights() : std::nullopt;
    if (rights && !rights->Readable) {
        if (reason) {
            *reason = kReasonLyricsNoReadPermission;
        }
        return std::nullopt;
    }
    const auto length = file ? file->Length() : std::nullopt;
    std::string lyrics;
    if (!length || !file->ReadAt(0, static_cast<std::size_t>(*length), lyrics)) {
        if (reason) {
            *reason = kReasonLyricsUnreadable;
        }
        return std::nullopt;
    }
    PrepareStoredLyrics(lyrics);
    return lyrics;
}

bool WriteLyricsTail(RandomAccessFile& mp3, std::string_view preparedLyrics,
                     std::string_view lyricsName, const BeforeTailWrite& beforeWrite) {
    const NewTail tail = BuildNewTail(mp3, preparedLyrics, lyricsName);
    return tail.Reason.empty() &&
           ReplaceTail(mp3, tail.Offset, tail.Bytes, beforeWrite).Status == ReplaceStatus::Replaced;
}

bool TagFile(const std::string& mp3Path, const std::string& lyricsPath, std::string_view lyricsName,
             const FileOpener& open) {
    ResultRow row;
    row.Mp3Path = mp3Path;
    row.LyricsPath = lyricsPath;
    row.LyricsName = std::string(lyricsName);
    row.Checked = true;
    RowList rows;
    rows.Add(row);
    TaggingOptions options;
    options.Open = open;
    options.JournalFolder = std::nullopt;  // one file driven directly, mostly in memory
    const auto outcome = TagCheckedRows(rows, options);
    return outcome && AllTagged(outcome->Results) && !outcome->Results.empty();
}

}  // namespace versemark
