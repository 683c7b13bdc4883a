// SPDX-License-Identifier: GPL-3.0-or-later
#include "matching/MatchFolder.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>

#include "base/FileNames.h"
#include "matching/BatchCandidates.h"
#include "matching/FilteredReads.h"
#include "matching/FolderReadAhead.h"
#include "matching/Mp3Sample.h"
#include "matching/Scoring.h"
#include "matching/WordMatcher.h"
#include "platform/FileSystem.h"

namespace versemark {
namespace {

// Phase 2 lets the window process events after every this many rows.
constexpr std::size_t kRowsPerYield = 50;

void Call(const std::function<void()>& hook) {
    if (hook) {
        hook();
    }
}

ResultRow MakeRow(std::string path, const Mp3Sample& sample, std::vector<int> candidates) {
    ResultRow row;
    row.Mp3Name = GetFileName(path);
    row.Mp3Path = std::move(path);  // the name as listed: the file is opened and tagged by it
    row.Candidates = std::move(candidates);
    row.NewerTag = sample.Kind == kKindVersionHigher;
    row.Tagged = sample.Kind != kKindNoLyrics;
    row.WithoutId3 = sample.Id3Block.empty();
    if (sample.Format != ContentKind::MpegAudio) {
        // A file with a tag of its own: lyrics in its lyrics field count as a tag,
        // and no ID3v1 block is ever added to it.
        row.Tagged = sample.OwnLyrics;
        row.WithoutId3 = false;
    }
    row.Scanned = sample.Stamp;
    row.NoAudio = sample.NoAudio;
    return row;
}

// Takes one file's candidates and adds its row, which takes the path; reports the
// file done and lets the window process its events. False when the user asked
// to stop.
bool MatchOneFile(std::string&& path, const Mp3Sample& sample, std::vector<int> candidates,
                  LyricsIndex& index, RowList& rows, const MatchHooks& hooks, int processed,
                  int total) {
    for (int c : candidates) {
        ++index.Entries[static_cast<std::size_t>(c)].MatchCount;
    }
    if (!candidates.empty()) {
        rows.Add(MakeRow(std::move(path), sample, std::move(candidates)));
    }

    if (hooks.Progress) {
        hooks.Progress({.Phase = MatchPhase::MatchingFiles,
                        .Done = processed,
                        .Total = total,
                        .Rows = static_cast<int>(rows.Count())});
    }
    Call(hooks.ProcessEvents);
    return !(hooks.StopRequested && hooks.StopRequested());
}

// A fingerprint of every entry's words in order, which tells whether a kept
// matcher still fits the index. Far cheaper than building the matcher.
std::uint64_t WordsFingerprint(const LyricsIndex& index) {
    constexpr std::uint64_t kMix = 0x9E3779B97F4A7C15ull;
    std::uint64_t fingerprint = index.Entries.size();
    for (const LyricsEntry& entry : index.Entries) {
        fingerprint = (fingerprint ^ entry.Words.size()) * kMix;
        for (const std::string& word : entry.Words) {
            fingerprint = (fingerprint ^ std::hash<std::string_view>{}(word)) * kMix;
        }
    }
    return fingerprint;
}

// The index's word matcher, built when the index has none for its present words.
const WordMatcher& MatcherOf(LyricsIndex& index) {
    const std::uint64_t words = WordsFingerprint(index);
    if (!index.Matcher || index.MatcherWords != words) {
        index.Matcher = std::make_shared<const WordMatcher>(index);
        index.MatcherWords = words;
    }
    return *index.Matcher;
}

// Phase 1: every file's text against the index; a row for each file with
// candidates. The files are read on the reader's thread ahead of their matching,
// and a batch's texts are matched together, on a helper thread and this one side
// by side; the rows are added here, in the order of the files. A file's path moves
// into its row. While this thread waits for the helper, it reads the ends of the
// lyrics files already chosen (the single candidates) for phase 2. Counts the
// files found and processed into `result`; a stop leaves the rest of a batch
// unprocessed.
void MatchFiles(FolderReadAhead& reader, const WordMatcher& matcher, LyricsIndex& index,
                RowList& rows, const MatchHooks& hooks, EarlyFilterReads& early,
                MatchResult& result) {
    const std::size_t fileCount = reader.FileCount();
    const int total = static_cast<int>(fileCount);
    result.FilesFound = total;
    int& processed = result.Processed;
    rows.Reserve(fileCount);  // at most a row per file
    BatchCandidates found(reader, matcher);
    const std::function<bool()> readEarly = [&early] { return early.ReadNext(); };
    for (std::size_t first = 0; first < fileCount; first += FolderReadAhead::kBatchFiles) {
        const BatchCandidates::Found batch = found.Batch(first, readEarly);
        for (std::size_t i = 0; i < batch.Files.size(); ++i) {
            ++processed;
            if (batch.Candidates[i].size() == 1) {
                const auto c = static_cast<std::size_t>(batch.Candidates[i].front());
                early.Want(c, index.Entries[c].FilePath);
            }
            if (!MatchOneFile(std::move(batch.Files[i].Path), batch.Files[i].Sample,
                              std::move(batch.Candidates[i]), index, rows, hooks, processed,
                              total)) {
                result.Stopped = true;
                return;
            }
        }
        reader.Release(first);
    }
}

// The row's candidates as found in phase 1, positions outside the index left
// out, into `candidates`.
void ReadRowCandidates(const ResultRow& row, const LyricsIndex& index,
                       std::vector<int>& candidates) {
    candidates.clear();
    for (int c : row.Candidates) {
        if (c >= 0 && c < index.LyricsCount()) {
            candidates.push_back(c);
        }
    }
}

// Sets the row's lyrics file to the chosen entry and checks the row when it is
// safe to tag: no Lyrics3 tail yet, lyrics filtered, and no other file matched
// them, and the file can hold audio. True when it checked the row.
bool MarkRow(ResultRow& row, int chosen, const LyricsEntry& entry, bool filtered) {
    row.LyricsPath = entry.FilePath;
    row.LyricsName = entry.DisplayName;
    row.LyricsPosition = chosen;
    row.Filtered = filtered;
    row.Shared = entry.MatchCount > 1;
    if (!row.Tagged && !row.NewerTag && row.Filtered && !row.Shared && !row.NoAudio) {
        row.Checked = true;
        return true;
    }
    return false;
}

// Phase 2: chooses each row's lyrics file, marks it and checks the rows that are
// safe to tag. Nothing changes the candidates or the match counts in this phase,
// so every row's choice is made first; the chosen files' ends not read early are
// then read on two threads while the rows are marked in order, fifty at a time
// (the window's yield comes after every 50th row). Returns the number of rows
// checked.
int ChooseForRows(LyricsIndex& index, RowList& rows, const MatchHooks& hooks,
                  const EarlyFilterReads& early) {
    const std::size_t rowCount = rows.Count();
    std::vector<int> chosen(rowCount);
    std::vector<const std::string*> lyricsPaths(rowCount);
    std::vector<int> candidates;
    const int total = static_cast<int>(rowCount);
    for (std::size_t i = 0; i < rowCount; ++i) {
        ReadRowCandidates(rows.Row(i), index, candidates);
        chosen[i] = candidates.empty() ? -1 : ChooseLyrics(candidates, rows.Row(i).Mp3Name, index);
        if (chosen[i] >= 0 && !early.Filtered(static_cast<std::size_t>(chosen[i]))) {
            lyricsPaths[i] = &index.Entries[static_cast<std::size_t>(chosen[i])].FilePath;
        }
    }
    FilteredReads filtered(std::move(lyricsPaths));
    int checked = 0;
    for (std::size_t first = 0; first < rowCount; first += kRowsPerYield) {
        const std::size_t last = std::min(rowCount, first + kRowsPerYield);
        for (std::size_t i = first; i < last; ++i) {
            const int c = chosen[i];
            if (c >= 0) {
                const auto entry = static_cast<std::size_t>(c);
                const std::optional<bool> readEarly = early.Filtered(entry);
                if (MarkRow(rows.Row(i), c, index.Entries[entry],
                            readEarly ? *readEarly : filtered.Filtered(i))) {
                    ++checked;
                }
            }
            if (hooks.Progress) {
                hooks.Progress({.Phase = MatchPhase::ChoosingLyrics,
                                .Done = static_cast<int>(i + 1),
                                .Total = total,
                                .Rows = total});
            }
        }
        if (last % kRowsPerYield == 0) {
            Call(hooks.ProcessEvents);
        }
    }
    return checked;
}

}  // namespace

void PrepareMatcher(LyricsIndex& index) {
    MatcherOf(index);
}

MatchResult MatchFolder(const std::string& folder, bool recurse, LyricsIndex& index, RowList& rows,
                        const MatchHooks& hooks, bool allFormats) {
    FolderReadAhead reader(folder, recurse, FolderReadAhead::kNearReadAhead, allFormats);
    return MatchFolder(reader, index, rows, hooks);
}

MatchResult MatchFolder(FolderReadAhead& reader, LyricsIndex& index, RowList& rows,
                        const MatchHooks& hooks) {
    rows.Clear();
    Call(hooks.ProcessEvents);
    for (LyricsEntry& entry : index.Entries) {
        entry.MatchCount = 0;
    }

    MatchResult result;
    // Built (or found kept) while the reader lists and reads the folder.
    const WordMatcher& matcher = MatcherOf(index);
    EarlyFilterReads early(index.Entries.size());
    MatchFiles(reader, matcher, index, rows, hooks, early, result);
    // Also when nothing was found, so that a stop pressed meanwhile does not end
    // the next pass early.
    Call(hooks.PhaseOneEnded);
    result.Rows = static_cast<int>(rows.Count());
    result.CheckedCount = ChooseForRows(index, rows, hooks, early);
    return result;
}

}  // namespace versemark
