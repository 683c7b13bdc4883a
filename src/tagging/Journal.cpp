#include "tagging/Journal.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/FileSystem.h"
#include "platform/LockedFile.h"

namespace versemark {
namespace {

// Entry layout: a type byte, the payload's length (8 bytes, little-endian), the
// payload, and a checksum of everything in front of it (8 bytes). A crash can
// only tear the last entry; reading stops at the first entry that does not check.
constexpr char kEntryHeader = 'H';
constexpr char kEntryRecord = 'R';
constexpr char kEntryDone = 'D';
constexpr char kEntryFailed = 'F';
constexpr char kEntryResolved = 'X';
constexpr char kEntrySettled = 'C';
constexpr char kEntryCopy = 'K';
constexpr char kEntryCopyWritten = 'W';
constexpr std::size_t kNumberWidth = 8;
constexpr std::size_t kEntryOverhead = 1 + 2 * kNumberWidth;
constexpr std::uint64_t kFnvOffset = 0xcbf29ce484222325ull;
constexpr std::uint64_t kFnvPrime = 0x100000001b3ull;
constexpr int kNameAttempts = 100;

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
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < kNumberWidth; ++i) {
            value |= static_cast<std::uint64_t>(static_cast<unsigned char>(rest_[i])) << (8 * i);
        }
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

    bool Ok() const { return ok_; }

  private:
    std::string_view rest_;
    bool ok_ = true;
};

void PutStamp(std::string& out, const FileStamp& stamp) {
    PutNumber(out, stamp.Device);
    PutNumber(out, stamp.Inode);
    PutNumber(out, stamp.Size);
    PutNumber(out, static_cast<std::uint64_t>(stamp.ModifiedNs));
}

FileStamp ReadStamp(PayloadReader& in) {
    FileStamp stamp;
    stamp.Device = in.Number();
    stamp.Inode = in.Number();
    stamp.Size = in.Number();
    stamp.ModifiedNs = static_cast<std::int64_t>(in.Number());
    return stamp;
}

std::string HeaderPayload(const PassHeader& header) {
    std::string payload;
    PutNumber(payload, static_cast<std::uint64_t>(header.Started));
    PutText(payload, header.Folder);
    PutText(payload, header.UndoOf);
    return payload;
}

std::string RecordPayload(const std::string& path, const std::optional<FileStamp>& before,
                          const TailChange& change) {
    std::string payload;
    PutText(payload, path);
    PutNumber(payload, before ? 1 : 0);
    PutStamp(payload, before.value_or(FileStamp{}));
    PutNumber(payload, change.Offset);
    PutNumber(payload, change.OldLength);
    PutText(payload, change.OldTail);
    PutNumber(payload, change.NewLength());
    PutNumber(payload, TailChecksum(change.NewTail));
    return payload;
}

std::optional<JournalRecord> ParseRecord(std::string_view payload) {
    PayloadReader in(payload);
    JournalRecord record;
    record.Path = in.Text();
    const bool stamped = in.Number() != 0;
    const FileStamp stamp = ReadStamp(in);
    if (stamped) {
        record.Before = stamp;
    }
    record.Offset = in.Number();
    record.OldLength = in.Number();
    record.OldTail = in.Text();
    record.NewLength = in.Number();
    record.NewChecksum = in.Number();
    if (!in.Ok() || record.Offset + record.OldTail.size() != record.OldLength) {
        return std::nullopt;
    }
    return record;
}

std::string CopyPayload(const std::string& path, const std::string& newFile) {
    std::string payload;
    PutText(payload, path);
    PutText(payload, newFile);
    return payload;
}

std::optional<JournalRecord> ParseCopy(std::string_view payload) {
    PayloadReader in(payload);
    JournalRecord record;
    record.Kind = RecordKind::Copy;
    record.Path = in.Text();
    record.NewFile = in.Text();
    if (!in.Ok()) {
        return std::nullopt;
    }
    return record;
}

std::string CopyWrittenPayload(std::size_t index, const FileStamp& copy, const CopyUndo* undo) {
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
    return payload;
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
    if (!in.Ok() || !holds) {
        return std::nullopt;
    }
    return undo;
}

// Applies the entry that a copy is written to its record; one for a record not
// read, or not a copy, is ignored.
void ApplyCopyWritten(JournalContent& content, std::string_view payload) {
    PayloadReader in(payload);
    const std::uint64_t index = in.Number();
    const FileStamp copy = ReadStamp(in);
    const bool kept = in.Number() != 0;
    if (!in.Ok() || index >= content.Records.size()) {
        return;
    }
    JournalRecord& record = content.Records[static_cast<std::size_t>(index)];
    if (record.Kind != RecordKind::Copy) {
        return;
    }
    record.Before = copy;
    record.CopyWritten = true;
    record.Undo = kept ? ReadCopyUndo(in) : std::nullopt;
}

std::string Entry(char type, std::string_view payload) {
    std::string entry(1, type);
    PutNumber(entry, payload.size());
    entry += payload;
    PutNumber(entry, Fnv(entry));
    return entry;
}

// Applies a state entry to its record; a mark for a record not read is ignored.
void ApplyMark(JournalContent& content, char type, std::string_view payload) {
    PayloadReader in(payload);
    const std::uint64_t index = in.Number();
    if (!in.Ok() || index >= content.Records.size()) {
        return;
    }
    RecordState& state = content.Records[static_cast<std::size_t>(index)].State;
    switch (type) {
        case kEntryDone:
            if (state == RecordState::Pending) {
                state = RecordState::Done;
            }
            break;
        case kEntryFailed:
            state = RecordState::Failed;
            break;
        case kEntryResolved:
            state = RecordState::Resolved;
            break;
        default:
            break;
    }
}

std::string JournalId(const std::string& file) {
    return Utf8FromPath(PathFromUtf8(file).stem());
}

// "20261208-071502.123456789-4242": the start time to the nanosecond and the
// process, so names sort by time and two passes never share one.
std::string NewJournalName() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto nanos = std::chrono::duration_cast<std::chrono::nanoseconds>(now.time_since_epoch() %
                                                                            std::chrono::seconds(1))
                           .count();
    const std::tm local = LocalTime(seconds);
    char text[64];
    std::snprintf(text, sizeof text, "%04d%02d%02d-%02d%02d%02d.%09lld-%d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<long long>(nanos), CurrentProcessId());
    return text;
}

// Removes a journal file; one already gone is no failure.
void RemoveJournalFile(const std::string& file) {
    std::error_code error;
    std::filesystem::remove(PathFromUtf8(file), error);
}

std::size_t UnsettledRecords(const JournalContent& content) {
    return static_cast<std::size_t>(
        std::count_if(content.Records.begin(), content.Records.end(), [](const JournalRecord& r) {
            return r.State == RecordState::Pending || r.State == RecordState::Failed;
        }));
}

}  // namespace

std::string DefaultJournalFolder() {
    return UserStateFolder();
}

std::uint64_t TailChecksum(std::string_view bytes) {
    return Fnv(bytes);
}

std::optional<JournalContent> ReadJournal(const std::string& file) {
    const auto bytes = ReadWholeFile(file);
    if (!bytes) {
        return std::nullopt;
    }
    JournalContent content;
    content.Id = JournalId(file);
    content.File = file;
    std::string_view rest(*bytes);
    bool headerSeen = false;
    while (rest.size() >= kEntryOverhead) {
        PayloadReader sizeReader(rest.substr(1, kNumberWidth));
        const std::uint64_t size = sizeReader.Number();
        if (size > rest.size() - kEntryOverhead) {
            break;
        }
        const std::size_t entrySize = kEntryOverhead + static_cast<std::size_t>(size);
        const std::string_view checked = rest.substr(0, entrySize - kNumberWidth);
        PayloadReader sumReader(rest.substr(entrySize - kNumberWidth, kNumberWidth));
        if (sumReader.Number() != Fnv(checked)) {
            break;
        }
        const char type = rest[0];
        const std::string_view payload = checked.substr(1 + kNumberWidth);
        if (!headerSeen) {
            PayloadReader in(payload);
            content.Header.Started = static_cast<std::int64_t>(in.Number());
            content.Header.Folder = in.Text();
            content.Header.UndoOf = in.Text();
            if (type != kEntryHeader || !in.Ok()) {
                return std::nullopt;
            }
            headerSeen = true;
        } else if (type == kEntryRecord || type == kEntryCopy) {
            auto record = type == kEntryRecord ? ParseRecord(payload) : ParseCopy(payload);
            if (!record) {
                break;
            }
            content.Records.push_back(std::move(*record));
        } else if (type == kEntryCopyWritten) {
            ApplyCopyWritten(content, payload);
        } else {
            ApplyMark(content, type, payload);
        }
        rest.remove_prefix(entrySize);
        content.ValidBytes += entrySize;
    }
    if (!headerSeen) {
        return std::nullopt;
    }
    return content;
}

bool IsSettled(const std::string& file) {
    const auto end = ReadFileTail(file, kEntryOverhead);
    return end && *end == Entry(kEntrySettled, {});
}

std::vector<std::string> ListJournals(const std::string& folder) {
    std::vector<std::string> files;
    for (const std::string& name : ListFilesWithExtension(folder, kJournalExtension, true)) {
        // Another user's file could name any file of this user's to be written.
        if (std::string file = folder + kPathSeparator + name; IsUsersOwnFile(file)) {
            files.push_back(std::move(file));
        }
    }
    // The names begin with the start time, so name order is time order.
    std::sort(files.begin(), files.end());
    return files;
}

PassJournal::PassJournal(std::unique_ptr<LockedFile> locked, std::string file, std::size_t records,
                         std::size_t unsettled, std::uint64_t bytes)
    : locked_(std::move(locked)),
      file_(std::move(file)),
      id_(JournalId(file_)),
      records_(records),
      unsettled_(unsettled),
      bytes_(bytes) {}

PassJournal::~PassJournal() = default;  // closing the file releases the lock

std::unique_ptr<PassJournal> PassJournal::Create(const std::string& folder,
                                                 const PassHeader& header, std::string& reason) {
    if (folder.empty()) {
        reason = "no folder for the journal (" + std::string(NoUserStateFolderText()) + ")";
        return nullptr;
    }
    if (std::string why; !MakePrivateFolder(folder, why)) {
        reason = "journal folder " + folder + ": " + why;
        return nullptr;
    }
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string name = NewJournalName();
        const std::string file = folder + kPathSeparator + name + std::string(kJournalExtension);
        LockedCreate result = LockedCreate::Failed;
        std::string why;
        auto locked = CreateLockedFile(file, result, why);
        if (result == LockedCreate::NameTaken) {
            continue;
        }
        if (!locked) {
            reason = "journal " + file + ": " + why;
            return nullptr;
        }
        std::unique_ptr<PassJournal> journal(new PassJournal(std::move(locked), file, 0, 0, 0));
        if (!journal->Append(kEntryHeader, HeaderPayload(header), true)) {
            reason = "journal " + file + ": " + journal->locked_->ErrorText();
            journal.reset();
            RemoveJournalFile(file);
            return nullptr;
        }
        return journal;
    }
    reason = "journal folder " + folder + ": no free name";
    return nullptr;
}

std::unique_ptr<PassJournal> PassJournal::Reopen(const std::string& file) {
    auto locked = OpenLockedFile(file);
    if (!locked) {
        return nullptr;
    }
    const auto content = ReadJournal(file);
    if (!content || !locked->Truncate(content->ValidBytes)) {
        return nullptr;
    }
    return std::unique_ptr<PassJournal>(
        new PassJournal(std::move(locked), file, content->Records.size(),
                        UnsettledRecords(*content), content->ValidBytes));
}

bool PassJournal::Append(char type, std::string_view payload, bool flush) {
    const std::string entry = Entry(type, payload);
    if (!locked_->Append(entry)) {
        return false;
    }
    bytes_ += entry.size();
    return !flush || locked_->Sync();
}

std::optional<std::size_t> PassJournal::Begin(const std::string& path,
                                              const std::optional<FileStamp>& before,
                                              const TailChange& change, std::string& reason) {
    return BeginRecord(kEntryRecord, RecordPayload(path, before, change), reason);
}

std::optional<std::size_t> PassJournal::BeginCopy(const std::string& path,
                                                  const std::string& newFile, std::string& reason) {
    return BeginRecord(kEntryCopy, CopyPayload(path, newFile), reason);
}

std::optional<std::size_t> PassJournal::BeginRecord(char type, std::string_view payload,
                                                    std::string& reason) {
    if (!Append(type, payload, true)) {
        reason = "journal: " + locked_->ErrorText();
        return std::nullopt;
    }
    ++unsettled_;
    return records_++;
}

bool PassJournal::Mark(char type, std::size_t index, bool flush) {
    std::string payload;
    PutNumber(payload, index);
    return Append(type, payload, flush);
}

bool PassJournal::MarkCopyWritten(std::size_t index, const FileStamp& copy, const CopyUndo* undo) {
    return Append(kEntryCopyWritten, CopyWrittenPayload(index, copy, undo), true);
}

bool PassJournal::MarkDone(std::size_t index) {
    --unsettled_;
    return Mark(kEntryDone, index, false);
}

bool PassJournal::MarkFailed(std::size_t index) {
    return Mark(kEntryFailed, index, true);
}

bool PassJournal::MarkResolved(std::size_t index) {
    --unsettled_;
    return Mark(kEntryResolved, index, true);
}

void PassJournal::Settle() {
    if (unsettled_ == 0) {
        Append(kEntrySettled, {}, false);
    }
}

void FinishJournal(std::unique_ptr<PassJournal> journal, const std::string& folder) {
    const bool empty = journal->RecordCount() == 0;
    const std::string file = journal->File();
    journal->Settle();
    journal.reset();  // closed and unlocked first
    if (empty) {
        RemoveJournalFile(file);  // a pass that changed nothing has nothing to undo
    }
    PruneJournals(folder);
}

void PruneJournals(const std::string& folder) {
    std::vector<std::string> files = ListJournals(folder);
    std::reverse(files.begin(), files.end());  // newest first
    std::uint64_t bytes = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::error_code error;
        const std::uint64_t size = std::filesystem::file_size(PathFromUtf8(files[i]), error);
        bytes += error ? 0 : size;
        if (i == 0 || (i < kJournalsKept && bytes <= kJournalBytesKept)) {
            continue;
        }
        const auto journal = PassJournal::Reopen(files[i]);  // nullptr: in use
        if (!journal) {
            continue;
        }
        const auto content = ReadJournal(files[i]);
        if (content && UnsettledRecords(*content) == 0) {
            RemoveJournalFile(files[i]);
        }
    }
}

}  // namespace versemark
