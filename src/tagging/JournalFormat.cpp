// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagging/JournalFormat.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/FileSystem.h"

namespace versemark {
namespace {

// Entry layout: a type byte, the payload's length (8 bytes, little-endian), the
// payload, and a checksum of everything in front of it (8 bytes). A crash can
// only tear the last entry; a damaged entry is skipped to the next whole one.
constexpr char kEntryOldHeader = 'H';   // the format before versions: not read
constexpr char kEntryOldSettled = 'C';  // its mark that every record was settled
constexpr char kEntryHeader = 'V';
constexpr char kEntryTail = 'T';
constexpr char kEntryRanges = 'R';
constexpr char kEntryCopy = 'K';
constexpr char kEntryCopyWritten = 'W';
constexpr char kEntryBeside = 'N';
constexpr char kEntryDone = 'D';
constexpr char kEntryFailed = 'F';
constexpr char kEntryResolved = 'X';
constexpr char kEntrySummary = 'S';
constexpr char kEntryPieceCopyWritten = 'P';
constexpr std::string_view kEntryTypes = "VTRKWNDFXSHP";
constexpr std::size_t kNumberWidth = 8;
constexpr std::size_t kEntryHead = 1 + kNumberWidth;
constexpr std::size_t kEntryOverhead = kEntryHead + kNumberWidth;
constexpr std::size_t kSummaryPayload = 4 * kNumberWidth;
constexpr std::size_t kSummarySize = kEntryOverhead + kSummaryPayload;
constexpr std::uint64_t kSummaryInterrupted = 1;
// A header holds two paths; one larger than this is not read as one.
constexpr std::uint64_t kHeaderLimit = 1 << 20;
// A piece of a piece undo: a stretch of the new file, or old bytes.
constexpr std::uint64_t kPieceFromNew = 0;
constexpr std::uint64_t kPieceOldBytes = 1;
constexpr std::uint64_t kFnvOffset = 0xcbf29ce484222325ull;
constexpr std::uint64_t kFnvPrime = 0x100000001b3ull;

std::uint64_t Fnv(std::string_view bytes, std::uint64_t hash = kFnvOffset) {
    for (const char c : bytes) {
        hash = (hash ^ static_cast<unsigned char>(c)) * kFnvPrime;
    }
    return hash;
}

void PutNumber(std::string& out, std::uint64_t value) {
    for (std::size_t i = 0; i < kNumberWidth; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

void PutText(std::string& out, std::string_view text) {
    PutNumber(out, text.size());
    out += text;
}

void PutStamp(std::string& out, const std::optional<FileStamp>& stamp) {
    const FileStamp value = stamp.value_or(FileStamp{});
    PutNumber(out, stamp ? 1 : 0);
    PutNumber(out, value.Device);
    PutNumber(out, value.Inode);
    PutNumber(out, value.Size);
    PutNumber(out, static_cast<std::uint64_t>(value.ModifiedNs));
}

std::uint64_t NumberAt(std::string_view bytes) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < kNumberWidth; ++i) {
        value |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    }
    return value;
}

// Reads the fields of an entry's payload in order; any read past its end fails
// the whole reader.
class PayloadReader {
  public:
    explicit PayloadReader(std::string_view payload) : rest_(payload) {}

    std::uint64_t Number() {
        if (rest_.size() < kNumberWidth) {
            ok_ = false;
            return 0;
        }
        const std::uint64_t value = NumberAt(rest_);
        rest_.remove_prefix(kNumberWidth);
        return value;
    }

    std::string Text() {
        const std::uint64_t size = Number();
        if (!ok_ || size > rest_.size()) {
            ok_ = false;
            return {};
        }
        std::string text(rest_.substr(0, static_cast<std::size_t>(size)));
        rest_.remove_prefix(static_cast<std::size_t>(size));
        return text;
    }

    std::optional<FileStamp> Stamp() {
        const bool stamped = Number() != 0;
        FileStamp stamp;
        stamp.Device = Number();
        stamp.Inode = Number();
        stamp.Size = Number();
        stamp.ModifiedNs = static_cast<std::int64_t>(Number());
        return stamped ? std::optional<FileStamp>(stamp) : std::nullopt;
    }

    // True while every field read was there.
    bool Ok() const { return ok_; }

    // True when every field was there and nothing is left over.
    bool Whole() const { return ok_ && rest_.empty(); }

  private:
    std::string_view rest_;
    bool ok_ = true;
};

std::string Entry(char type, std::string_view payload) {
    std::string entry(1, type);
    PutNumber(entry, payload.size());
    entry += payload;
    PutNumber(entry, Fnv(entry));
    return entry;
}

std::string IndexPayload(std::uint64_t index) {
    std::string payload;
    PutNumber(payload, index);
    return payload;
}

// One entry found at a place in the bytes.
struct FoundEntry {
    enum class Kind { Whole, Torn, Bad } Kind = Kind::Bad;
    char Type = 0;
    std::string_view Payload;
    std::size_t Size = 0;
};

FoundEntry EntryAt(std::string_view bytes, std::size_t at) {
    const std::string_view rest = bytes.substr(at);
    FoundEntry found;
    if (rest.size() < kEntryOverhead) {
        found.Kind = FoundEntry::Kind::Torn;
        return found;
    }
    const std::uint64_t size = NumberAt(rest.substr(1));
    if (size > rest.size() - kEntryOverhead) {
        found.Kind = FoundEntry::Kind::Torn;
        return found;
    }
    found.Size = kEntryOverhead + static_cast<std::size_t>(size);
    const std::string_view checked = rest.substr(0, found.Size - kNumberWidth);
    if (NumberAt(rest.substr(found.Size - kNumberWidth)) != Fnv(checked) ||
        kEntryTypes.find(rest[0]) == std::string_view::npos) {
        return found;
    }
    found.Kind = FoundEntry::Kind::Whole;
    found.Type = rest[0];
    found.Payload = checked.substr(kEntryHead);
    return found;
}

// The next place after `at` where a whole entry begins; bytes.size() when none.
std::size_t NextWholeEntry(std::string_view bytes, std::size_t at) {
    for (std::size_t next = at + 1; next < bytes.size(); ++next) {
        if (kEntryTypes.find(bytes[next]) != std::string_view::npos &&
            EntryAt(bytes, next).Kind == FoundEntry::Kind::Whole) {
            return next;
        }
    }
    return bytes.size();
}

// The header of either format: the unversioned one is version 1.
std::optional<PassHeader> ParseHeader(const FoundEntry& entry, std::uint64_t& version) {
    if (entry.Kind != FoundEntry::Kind::Whole ||
        (entry.Type != kEntryHeader && entry.Type != kEntryOldHeader)) {
        return std::nullopt;
    }
    PayloadReader in(entry.Payload);
    version = entry.Type == kEntryOldHeader ? 1 : in.Number();
    PassHeader header;
    header.Started = static_cast<std::int64_t>(in.Number());
    header.Folder = in.Text();
    header.UndoOf = in.Text();
    if (version == kJournalVersion && !in.Whole()) {
        return std::nullopt;
    }
    return header;
}

std::optional<JournalRecord> ParseTail(std::string_view payload) {
    PayloadReader in(payload);
    JournalRecord record;
    record.Index = in.Number();
    record.Path = in.Text();
    record.Before = in.Stamp();
    record.Offset = in.Number();
    record.OldLength = in.Number();
    record.OldTail = in.Text();
    record.NewTail = in.Text();
    if (!in.Whole() || record.Offset > record.OldLength ||
        record.OldLength - record.Offset != record.OldTail.size()) {
        return std::nullopt;
    }
    return record;
}

std::optional<JournalRecord> ParseRanges(std::string_view payload) {
    PayloadReader in(payload);
    JournalRecord record;
    record.Kind = RecordKind::Ranges;
    record.Index = in.Number();
    record.Path = in.Text();
    record.Before = in.Stamp();
    record.OldLength = in.Number();
    const std::uint64_t count = in.Number();
    // Each range takes at least its offset and two lengths: a count beyond what
    // the payload can hold is damage, not a reason to reserve memory.
    for (std::uint64_t i = 0; i < count && i <= payload.size(); ++i) {
        ByteRange range;
        range.Offset = in.Number();
        range.Old = in.Text();
        range.New = in.Text();
        record.Ranges.push_back(std::move(range));
    }
    if (!in.Whole() || record.Ranges.size() != count || !record.Change().HoldsTogether()) {
        return std::nullopt;
    }
    return record;
}

std::optional<JournalRecord> ParseCopy(std::string_view payload) {
    PayloadReader in(payload);
    JournalRecord record;
    record.Kind = RecordKind::Copy;
    record.Index = in.Number();
    record.Path = in.Text();
    record.NewFile = in.Text();
    if (!in.Whole()) {
        return std::nullopt;
    }
    return record;
}

std::optional<JournalRecord> ParseBeside(std::string_view payload) {
    PayloadReader in(payload);
    JournalRecord record;
    record.Kind = RecordKind::Beside;
    record.Index = in.Number();
    record.Path = in.Text();
    record.NewFile = in.Text();
    record.Written = in.Text();
    const bool replaced = in.Number() != 0;
    std::string old = in.Text();
    // A file made new has no new file beside it and replaced nothing.
    if (!in.Whole() || replaced == record.NewFile.empty() || (!replaced && !old.empty())) {
        return std::nullopt;
    }
    if (replaced) {
        record.Replaced = std::move(old);
    }
    return record;
}

// What undo needs of a copy, when it holds together: the bytes between front
// and tail are as many in the old file as in the new one.
std::optional<CopyUndo> ReadCopyUndo(PayloadReader& in) {
    CopyUndo undo;
    undo.OldFront = in.Text();
    undo.OldTailOffset = in.Number();
    undo.OldTail = in.Text();
    undo.NewFrontLength = in.Number();
    undo.NewFrontChecksum = in.Number();
    undo.NewTailOffset = in.Number();
    undo.NewLength = in.Number();
    undo.NewTailChecksum = in.Number();
    const bool holds =
        undo.OldFront.size() <= undo.OldTailOffset && undo.NewFrontLength <= undo.NewTailOffset &&
        undo.NewTailOffset <= undo.NewLength &&
        undo.OldTailOffset - undo.OldFront.size() == undo.NewTailOffset - undo.NewFrontLength;
    if (!in.Whole() || !holds) {
        return std::nullopt;
    }
    return undo;
}

// What undo needs of a copy rebuilt from pieces, when it holds together: every
// stretch lies within the new file.
std::optional<PieceUndo> ReadPieceUndo(PayloadReader& in) {
    PieceUndo undo;
    undo.NewLength = in.Number();
    undo.NewChecksum = in.Number();
    const std::uint64_t count = in.Number();
    for (std::uint64_t i = 0; i < count && in.Ok(); ++i) {
        Piece piece;
        const std::uint64_t kind = in.Number();
        if (kind == kPieceFromNew) {
            piece.SourceStart = in.Number();
            piece.Length = in.Number();
            if (piece.SourceStart > undo.NewLength ||
                piece.Length > undo.NewLength - piece.SourceStart) {
                return std::nullopt;
            }
        } else if (kind == kPieceOldBytes) {
            piece.FromSource = false;
            piece.Bytes = in.Text();
            piece.Length = piece.Bytes.size();
        } else {
            return std::nullopt;
        }
        undo.OldPieces.push_back(std::move(piece));
    }
    if (!in.Whole() || undo.OldPieces.size() != count) {
        return std::nullopt;
    }
    return undo;
}

// Reads a journal's entries one after another into its content.
class JournalParser {
  public:
    JournalParser(std::string_view bytes, JournalContent& content)
        : bytes_(bytes), content_(content) {}

    void ReadRecords(std::size_t at) {
        while (at < bytes_.size()) {
            const FoundEntry entry = EntryAt(bytes_, at);
            if (entry.Kind != FoundEntry::Kind::Whole || !Apply(entry)) {
                const std::size_t next = NextWholeEntry(bytes_, at);
                if (entry.Kind == FoundEntry::Kind::Torn && next == bytes_.size()) {
                    NoteDamage(at, "it ends in an entry cut short at byte " + std::to_string(at));
                    content_.TornEnd = true;
                    return;
                }
                NoteDamage(at, "bytes " + std::to_string(at) + " to " + std::to_string(next) +
                                   " are damaged");
                at = next;
                continue;
            }
            at += entry.Size;
            content_.ValidBytes = at;
        }
        NoteMissingRecords();
    }

  private:
    void NoteDamage(std::size_t at, std::string what) {
        if (content_.DamagedAt == 0) {
            content_.DamagedAt = at;
        }
        content_.Problems.push_back(std::move(what));
    }

    // False when the entry does not hold together.
    bool Apply(const FoundEntry& entry) {
        PayloadReader in(entry.Payload);
        switch (entry.Type) {
            case kEntryTail:
                return AddRecord(ParseTail(entry.Payload));
            case kEntryRanges:
                return AddRecord(ParseRanges(entry.Payload));
            case kEntryCopy:
                return AddRecord(ParseCopy(entry.Payload));
            case kEntryBeside:
                return AddRecord(ParseBeside(entry.Payload));
            case kEntryCopyWritten:
                return ApplyCopyWritten(in);
            case kEntryPieceCopyWritten:
                return ApplyPieceCopyWritten(in);
            case kEntryDone:
            case kEntryFailed:
            case kEntryResolved:
                return ApplyMark(entry.Type, in);
            case kEntrySummary:
                return ApplySummary(in);
            default:
                return false;  // a second header
        }
    }

    bool AddRecord(std::optional<JournalRecord> record) {
        if (!record) {
            return false;
        }
        const std::uint64_t expected = content_.Records.empty() ? 0 : NextIndex();
        if (record->Index < expected) {
            return false;
        }
        if (record->Index > expected) {
            content_.Problems.push_back(MissingText(expected, record->Index));
        }
        content_.Records.push_back(std::move(*record));
        return true;
    }

    std::uint64_t NextIndex() const { return content_.Records.back().Index + 1; }

    static std::string MissingText(std::uint64_t from, std::uint64_t to) {
        return to == from + 1 ? "record " + std::to_string(from) + " could not be read"
                              : "records " + std::to_string(from) + " to " +
                                    std::to_string(to - 1) + " could not be read";
    }

    JournalRecord* Find(std::uint64_t index) {
        auto& records = content_.Records;
        const auto it = std::lower_bound(
            records.begin(), records.end(), index,
            [](const JournalRecord& record, std::uint64_t i) { return record.Index < i; });
        return it != records.end() && it->Index == index ? &*it : nullptr;
    }

    bool ApplyCopyWritten(PayloadReader& in) {
        const std::uint64_t index = in.Number();
        const std::optional<FileStamp> copy = in.Stamp();
        const bool kept = in.Number() != 0;
        std::optional<CopyUndo> undo = kept ? ReadCopyUndo(in) : std::nullopt;
        JournalRecord* record = Find(index);
        if ((kept && !undo) || (!kept && !in.Whole()) || !record ||
            record->Kind != RecordKind::Copy) {
            return record == nullptr && in.Whole();  // a record lost to damage
        }
        record->Before = copy;
        record->CopyWritten = true;
        record->Undo = std::move(undo);
        return true;
    }

    bool ApplyPieceCopyWritten(PayloadReader& in) {
        const std::uint64_t index = in.Number();
        const std::optional<FileStamp> copy = in.Stamp();
        std::optional<PieceUndo> undo = ReadPieceUndo(in);
        JournalRecord* record = Find(index);
        if (!undo) {
            return false;
        }
        if (!record || record->Kind != RecordKind::Copy) {
            return record == nullptr;  // a record lost to damage
        }
        record->Before = copy;
        record->CopyWritten = true;
        record->Pieces = std::move(undo);
        return true;
    }

    bool ApplyMark(char type, PayloadReader& in) {
        const std::uint64_t index = in.Number();
        const std::optional<FileStamp> after =
            type == kEntryDone ? in.Stamp() : std::optional<FileStamp>();
        if (!in.Whole()) {
            return false;
        }
        JournalRecord* record = Find(index);
        if (!record) {
            return true;  // a mark of a record lost to damage
        }
        if (type == kEntryDone && record->State == RecordState::Pending) {
            record->State = RecordState::Done;
            record->After = after;
        } else if (type == kEntryFailed) {
            record->State = RecordState::Failed;
        } else if (type == kEntryResolved) {
            record->State = RecordState::Resolved;
        }
        return true;
    }

    bool ApplySummary(PayloadReader& in) {
        JournalSummary summary;
        summary.Records = in.Number();
        summary.Interrupted = (in.Number() & kSummaryInterrupted) != 0;
        summary.DamagedAt = in.Number();
        in.Number();  // the length before it: checked where only the end is read
        if (!in.Whole()) {
            return false;
        }
        content_.Summary = summary;
        return true;
    }

    // Records the summary counts but no entry holds.
    void NoteMissingRecords() {
        const std::uint64_t read = content_.Records.empty() ? 0 : NextIndex();
        if (content_.Summary && content_.Summary->Records > read) {
            content_.Problems.push_back(MissingText(read, content_.Summary->Records));
        }
    }

    std::string_view bytes_;
    JournalContent& content_;
};

std::string JournalId(const std::string& file) {
    return Utf8FromPath(PathFromUtf8(file).stem());
}

// The summary an entry's bytes hold when they are one, else nullopt;
// `lengthBefore` is where it begins.
std::optional<JournalSummary> SummaryIn(std::string_view entryBytes, std::uint64_t& lengthBefore) {
    const FoundEntry entry = EntryAt(entryBytes, 0);
    if (entry.Kind != FoundEntry::Kind::Whole || entry.Type != kEntrySummary ||
        entry.Size != entryBytes.size()) {
        return std::nullopt;
    }
    PayloadReader in(entry.Payload);
    JournalSummary summary;
    summary.Records = in.Number();
    summary.Interrupted = (in.Number() & kSummaryInterrupted) != 0;
    summary.DamagedAt = in.Number();
    lengthBefore = in.Number();
    return in.Whole() ? std::optional<JournalSummary>(summary) : std::nullopt;
}

// The summary at the end of a journal of `length` bytes, else nullopt.
std::optional<JournalSummary> ReadSummary(const std::string& file, std::uint64_t length) {
    const auto end = ReadFileTail(file, kSummarySize);
    std::uint64_t lengthBefore = 0;
    const auto summary = end ? SummaryIn(*end, lengthBefore) : std::nullopt;
    if (!summary || lengthBefore + kSummarySize != length) {
        return std::nullopt;
    }
    return summary;
}

}  // namespace

RangesChange JournalRecord::Change() const {
    if (Kind == RecordKind::Tail) {
        return TailAsRanges(Offset, OldLength, OldTail, NewTail);
    }
    return RangesChange{Ranges, OldLength};
}

std::uint64_t TailChecksum(std::string_view bytes) {
    return Fnv(bytes);
}

std::uint64_t ContinueChecksum(std::uint64_t checksum, std::string_view bytes) {
    return Fnv(bytes, checksum);
}

std::string OtherFormatText(std::uint64_t version) {
    return version < kJournalVersion
               ? "written by an older version of versemark, whose journals this one cannot use"
               : "written by a newer version of versemark (journal format " +
                     std::to_string(version) + ")";
}

std::string SummaryProblemText(const JournalSummary& summary) {
    return "it was cut or damaged at byte " + std::to_string(summary.DamagedAt) +
           ", and what was there could not be used";
}

std::optional<JournalContent> ParseJournal(std::string_view bytes, const std::string& file) {
    const FoundEntry first = EntryAt(bytes, 0);
    JournalContent content;
    const auto header = ParseHeader(first, content.Version);
    if (!header) {
        return std::nullopt;
    }
    content.Id = JournalId(file);
    content.File = file;
    content.Header = *header;
    content.ValidBytes = first.Size;
    if (content.Version != kJournalVersion) {
        content.Problems.push_back(OtherFormatText(content.Version));
        return content;
    }
    JournalParser(bytes, content).ReadRecords(first.Size);
    if (content.Problems.empty() && content.Summary && content.Summary->DamagedAt != 0) {
        content.Problems.push_back(SummaryProblemText(*content.Summary));
        content.DamageToldBefore = true;
    }
    return content;
}

std::optional<JournalContent> ReadJournal(const std::string& file) {
    const auto bytes = ReadWholeFile(file);
    if (!bytes) {
        return std::nullopt;
    }
    return ParseJournal(*bytes, file);
}

std::optional<JournalHead> ReadJournalHead(const std::string& file) {
    const auto handle = OpenFile(file, FileAccess::Read);
    const auto length = handle ? handle->Length() : std::nullopt;
    std::string start;
    if (!length ||
        !handle->ReadAt(0, static_cast<std::size_t>(std::min<std::uint64_t>(*length, kEntryHead)),
                        start)) {
        return std::nullopt;
    }
    JournalHead head;
    head.Id = JournalId(file);
    head.File = file;
    if (start.size() < kEntryHead) {
        return std::nullopt;
    }
    const std::uint64_t size = NumberAt(std::string_view(start).substr(1));
    std::string entry;
    if (size > kHeaderLimit || size + kEntryOverhead > *length ||
        !handle->ReadAt(0, static_cast<std::size_t>(size + kEntryOverhead), entry)) {
        return std::nullopt;
    }
    handle->Close();
    const auto header = ParseHeader(EntryAt(entry, 0), head.Version);
    if (!header) {
        return std::nullopt;
    }
    head.Header = *header;
    head.Summary = ReadSummary(file, *length);
    return head;
}

bool IsSettled(const std::string& file) {
    std::error_code error;
    const std::uint64_t length = std::filesystem::file_size(SystemFilePath(file), error);
    if (error) {
        return false;
    }
    const auto oldEnd = ReadFileTail(file, kEntryOverhead);
    return ReadSummary(file, length).has_value() ||
           (oldEnd && *oldEnd == Entry(kEntryOldSettled, {}));
}

std::string HeaderEntry(const PassHeader& header) {
    std::string payload;
    PutNumber(payload, kJournalVersion);
    PutNumber(payload, static_cast<std::uint64_t>(header.Started));
    PutText(payload, header.Folder);
    PutText(payload, header.UndoOf);
    return Entry(kEntryHeader, payload);
}

std::string TailRecordEntry(std::uint64_t index, const std::string& path,
                            const std::optional<FileStamp>& before, const TailChange& change) {
    std::string payload;
    PutNumber(payload, index);
    PutText(payload, path);
    PutStamp(payload, before);
    PutNumber(payload, change.Offset);
    PutNumber(payload, change.OldLength);
    PutText(payload, change.OldTail);
    PutText(payload, change.NewTail);
    return Entry(kEntryTail, payload);
}

std::string RangesRecordEntry(std::uint64_t index, const std::string& path,
                              const std::optional<FileStamp>& before, const RangesChange& change) {
    std::string payload;
    PutNumber(payload, index);
    PutText(payload, path);
    PutStamp(payload, before);
    PutNumber(payload, change.OldLength);
    PutNumber(payload, change.Ranges.size());
    for (const ByteRange& range : change.Ranges) {
        PutNumber(payload, range.Offset);
        PutText(payload, range.Old);
        PutText(payload, range.New);
    }
    return Entry(kEntryRanges, payload);
}

std::string CopyRecordEntry(std::uint64_t index, const std::string& path,
                            const std::string& newFile) {
    std::string payload;
    PutNumber(payload, index);
    PutText(payload, path);
    PutText(payload, newFile);
    return Entry(kEntryCopy, payload);
}

std::string BesideRecordEntry(std::uint64_t index, const std::string& path,
                              const std::string& newFile, std::string_view written,
                              const std::optional<std::string>& replaced) {
    std::string payload;
    PutNumber(payload, index);
    PutText(payload, path);
    PutText(payload, newFile);
    PutText(payload, written);
    PutNumber(payload, replaced ? 1 : 0);
    PutText(payload, replaced.value_or(std::string()));
    return Entry(kEntryBeside, payload);
}

std::string CopyWrittenEntry(std::uint64_t index, const FileStamp& copy, const CopyUndo* undo) {
    std::string payload;
    PutNumber(payload, index);
    PutStamp(payload, copy);
    PutNumber(payload, undo ? 1 : 0);
    if (undo) {
        PutText(payload, undo->OldFront);
        PutNumber(payload, undo->OldTailOffset);
        PutText(payload, undo->OldTail);
        PutNumber(payload, undo->NewFrontLength);
        PutNumber(payload, undo->NewFrontChecksum);
        PutNumber(payload, undo->NewTailOffset);
        PutNumber(payload, undo->NewLength);
        PutNumber(payload, undo->NewTailChecksum);
    }
    return Entry(kEntryCopyWritten, payload);
}

std::string PieceCopyWrittenEntry(std::uint64_t index, const FileStamp& copy,
                                  const PieceUndo& undo) {
    std::string payload;
    PutNumber(payload, index);
    PutStamp(payload, copy);
    PutNumber(payload, undo.NewLength);
    PutNumber(payload, undo.NewChecksum);
    PutNumber(payload, undo.OldPieces.size());
    for (const Piece& piece : undo.OldPieces) {
        if (piece.FromSource) {
            PutNumber(payload, kPieceFromNew);
            PutNumber(payload, piece.SourceStart);
            PutNumber(payload, piece.Length);
        } else {
            PutNumber(payload, kPieceOldBytes);
            PutText(payload, piece.Bytes);
        }
    }
    return Entry(kEntryPieceCopyWritten, payload);
}

std::uint64_t PieceUndo::OldLength() const {
    std::uint64_t length = 0;
    for (const Piece& piece : OldPieces) {
        length += piece.Length;
    }
    return length;
}

std::uint64_t PieceUndo::LiteralBytes() const {
    std::uint64_t bytes = 0;
    for (const Piece& piece : OldPieces) {
        bytes += piece.FromSource ? 0 : piece.Length;
    }
    return bytes;
}

std::string DoneEntry(std::uint64_t index, const std::optional<FileStamp>& after) {
    std::string payload = IndexPayload(index);
    PutStamp(payload, after);
    return Entry(kEntryDone, payload);
}

std::string FailedEntry(std::uint64_t index) {
    return Entry(kEntryFailed, IndexPayload(index));
}

std::string ResolvedEntry(std::uint64_t index) {
    return Entry(kEntryResolved, IndexPayload(index));
}

std::string SummaryEntry(const JournalSummary& summary, std::uint64_t lengthBefore) {
    std::string payload;
    PutNumber(payload, summary.Records);
    PutNumber(payload, summary.Interrupted ? kSummaryInterrupted : 0);
    PutNumber(payload, summary.DamagedAt);
    PutNumber(payload, lengthBefore);
    return Entry(kEntrySummary, payload);
}

}  // namespace versemark
