// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagging/BesideFile.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "base/Utf8.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/ReplacementFile.h"
#include "tagging/Journal.h"
#include "tagging/JournaledWrite.h"

namespace versemark {
namespace {

// Makes the file new, through no link, and writes it whole.
std::string MakeNew(const std::string& path, std::string_view text, PassJournal* journal,
                    const NewFileWrap& wrap) {
    std::optional<std::size_t> index;
    std::string reason;
    if (journal) {
        index = journal->BeginBeside(path, {}, text, std::nullopt, reason);
        if (!index) {
            return reason;
        }
    }
    NewFileStatus status = NewFileStatus::Failed;
    std::unique_ptr<RandomAccessFile> file = CreateNewFile(path, status, reason);
    if (!file) {
        if (index) {
            journal->MarkResolved(*index);  // nothing was made
        }
        return status == NewFileStatus::NameTaken ? std::string(kBesideAppeared)
                                                  : std::string(kBesideNotMade) + reason;
    }
    if (wrap) {
        file = wrap(std::move(file));
    }
    if (file->WriteAt(0, text) && file->Flush() && file->Close()) {
        if (index) {
            journal->MarkDone(*index);
        }
        return {};
    }
    reason = std::string(kBesideWriteFailed) + file->ErrorText();
    file->Close();
    // The part written goes again; where that fails, the record stays for
    // recovery, which removes a file cut short.
    std::error_code error;
    if (std::filesystem::remove(SystemFilePath(path), error) && index) {
        journal->MarkResolved(*index);
    }
    return reason;
}

// Writes the file anew beside the one holding `replaced` and renames it over it.
std::string ReplaceOld(const std::string& path, std::string_view text, const std::string& replaced,
                       PassJournal* journal) {
    std::optional<std::size_t> index;
    std::string newFile;
    const BeforeReplacementCreate record = [&](const std::string& name, std::string& reason) {
        newFile = name;
        if (!journal) {
            return true;
        }
        index = journal->BeginBeside(path, name, text, replaced, reason);
        return index.has_value();
    };
    std::string reason;
    auto replacement = CreateReplacementFile(path, reason, record, ReplacementLinks::Refuse);
    bool written = replacement != nullptr;
    if (written && !replacement->File().WriteAt(0, text)) {
        reason = std::string(kBesideWriteFailed) + replacement->File().ErrorText();
        written = false;
    }
    written = written && replacement->Commit(reason);
    replacement.reset();  // a new file not renamed is removed
    if (index) {
        if (written) {
            journal->MarkDone(*index);
        } else if (!PathExists(newFile)) {
            journal->MarkResolved(*index);  // a new file still there is left to recovery
        }
    }
    return written ? std::string() : reason;
}

}  // namespace

std::string BesideFilePath(const std::string& mp3Path) {
    const std::filesystem::path song = PathFromUtf8(mp3Path);
    const std::string folder = Utf8FromPath(song.parent_path());
    const std::string real = ResolvedPath(folder.empty() ? "." : folder).value_or(folder);
    return Utf8FromPath(PathFromUtf8(real) / song.stem()) + std::string(kBesideFileExtension);
}

std::string BesideFileText(std::string_view preparedLyrics) {
    std::string text = DisplayUtf8(preparedLyrics);
    if (std::string_view(text).starts_with(utf8::kByteOrderMark)) {
        text.erase(0, utf8::kByteOrderMark.size());
    }
    return text;
}

BesideFileHistory::BesideFileHistory(std::optional<std::string> journalFolder,
                                     std::string ownJournal)
    : journalFolder_(std::move(journalFolder)), ownJournal_(std::move(ownJournal)) {}

bool BesideFileHistory::Wrote(const std::string& path, RandomAccessFile& file, std::string& bytes) {
    Load();
    const auto found = written_.find(path);
    const auto length = file.Length();
    if (found == written_.end() || !length) {
        return false;
    }
    const std::vector<Written>& writes = found->second;
    const auto sameSize = [&](const Written& w) { return w.Size == *length; };
    // Only a file of a size once written is read.
    if (std::none_of(writes.begin(), writes.end(), sameSize) ||
        !file.ReadAt(0, static_cast<std::size_t>(*length), bytes)) {
        return false;
    }
    const std::uint64_t checksum = TailChecksum(bytes);
    return std::any_of(writes.begin(), writes.end(),
                       [&](const Written& w) { return sameSize(w) && w.Checksum == checksum; });
}

void BesideFileHistory::Add(const std::string& path, std::string_view bytes) {
    written_[path].push_back({bytes.size(), TailChecksum(bytes)});
}

void BesideFileHistory::Load() {
    if (loaded_ || !journalFolder_) {
        return;
    }
    loaded_ = true;
    for (const std::string& file : ListJournals(*journalFolder_)) {
        const auto content = file == ownJournal_ ? std::nullopt : ReadJournal(file);
        if (!content || content->Version != kJournalVersion) {
            continue;
        }
        for (const JournalRecord& record : content->Records) {
            if (record.Kind == RecordKind::Beside) {
                Add(record.Path, record.Written);
            }
        }
    }
}

std::string WriteBesideFile(const std::string& path, std::string_view text,
                            const std::optional<std::string>& replaced, PassJournal* journal,
                            const NewFileWrap& wrap) {
    return replaced ? ReplaceOld(path, text, *replaced, journal)
                    : MakeNew(path, text, journal, wrap);
}

BesideOutcome WriteLyricsBeside(const std::string& mp3Path, std::string_view preparedLyrics,
                                PassJournal* journal, BesideFileHistory& history,
                                const NewFileWrap& wrap) {
    BesideOutcome outcome{BesideFilePath(mp3Path), {}};
    const std::string& path = outcome.Path;
    const std::string text = BesideFileText(preparedLyrics);
    std::error_code error;
    const auto status = std::filesystem::symlink_status(SystemFilePath(path), error);
    if (status.type() == std::filesystem::file_type::not_found) {
        outcome.Note = WriteBesideFile(path, text, std::nullopt, journal, wrap);
    } else if (error || status.type() != std::filesystem::file_type::regular) {
        outcome.Note = kBesideNotRegular;
    } else {
        errno = 0;
        const auto old = OpenFile(path, FileAccess::ReadWriteNoLinks);
        std::string bytes;
        if (!old) {
            outcome.Note = OpenFailureReason(path, errno);
        } else if (!history.Wrote(path, *old, bytes)) {
            outcome.Note = kBesideForeign;
        } else {
            old->Close();
            outcome.Note = WriteBesideFile(path, text, bytes, journal, wrap);
        }
    }
    if (outcome.Note.empty()) {
        history.Add(path, text);
    }
    return outcome;
}

}  // namespace versemark
