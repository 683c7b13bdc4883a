#include "matching/MatchFolder.h"

#include <algorithm>
#include <functional>

#include "matching/FileSearch.h"
#include "matching/Mp3Sample.h"
#include "matching/Scoring.h"
#include "matching/WordMatcher.h"
#include "platform/FileSystem.h"
#include "startup/RunConfig.h"

namespace versemark {
namespace {

// The extension cut from an MP3 path to give the text's base.
constexpr std::size_t kExtensionSize = 4;
// Only the end of a lyrics file is looked at for the filter marker.
constexpr std::size_t kLyricsTailSize = 80;
// Phase 2 lets the window process events after every this many rows.
constexpr std::size_t kRowsPerYield = 50;

void Call(const std::function<void()>& hook) {
    if (hook) {
        hook();
    }
}

int Mp3CellIcon(const TagKind& kind, std::size_t candidateCount) {
    if (kind == kKindVersionHigher) {
        return kPictureNewerTag;
    }
    return candidateCount > 1 ? kPictureAlert : kPictureOneMatch;
}

ResultRow MakeRow(const std::string& path, const Mp3Sample& sample,
                  const std::vector<int>& candidates) {
    ResultRow row;
    row.Tag = JoinPositions(candidates, kPositionSeparator);
    row.Mp3Cell.Text = GetFileName(path);
    row.Mp3Cell.ToolTip = path;  // the name as listed: the file is opened and tagged by it
    row.Mp3Cell.Icon = Mp3CellIcon(sample.Kind, candidates.size());
    row.Mp3Cell.Tag = sample.Id3Block.empty() ? std::string(kWithoutId3) : std::string();
    if (sample.Kind != kKindNoLyrics) {
        row.Mp3Cell.TextColour = TaggedFileColour;
    }
    return row;
}

// Phase 1: every file's text against the index; a row for each file with
// candidates. Returns the number of files processed.
int MatchFiles(const std::vector<std::string>& files, LyricsIndex& index, RowList& rows,
               const MatchHooks& hooks) {
    const WordMatcher matcher(index);
    const int total = static_cast<int>(files.size());
    int processed = 0;
    for (const std::string& path : files) {
        const std::string_view base =
            std::string_view(path).substr(0, path.size() - std::min(path.size(), kExtensionSize));
        const Mp3Sample sample = ReadMp3Sample(path);
        const std::vector<int> candidates = matcher.FindCandidates(
            NormaliseMp3Text(BuildMp3Text(base, sample.Head, sample.Id3Block)));
        for (int c : candidates) {
            ++index.Entries[static_cast<std::size_t>(c)].MatchCount;
        }
        if (!IsArrayEmpty(candidates)) {
            rows.Add(MakeRow(path, sample, candidates));
        }

        ++processed;
        if (hooks.SetLabel) {  // the text is built only for a window that shows it
            hooks.SetLabel("Matches: " + std::to_string(rows.Count()) + " / " +
                           std::to_string(processed));
        }
        if (hooks.Progress) {
            hooks.Progress(processed, total);
        }
        Call(hooks.ProcessEvents);
        if (hooks.StopRequested && hooks.StopRequested()) {
            break;
        }
    }
    return processed;
}

// The row's candidates as written in phase 1, positions outside the index left out.
std::vector<int> RowCandidates(const ResultRow& row, const LyricsIndex& index) {
    std::vector<int> candidates;
    for (int c : SplitPositions(row.Tag, kPositionSeparator)) {
        if (c >= 0 && c < index.LyricsCount()) {
            candidates.push_back(c);
        }
    }
    return candidates;
}

// Phase 2: chooses each row's lyrics file, marks it and checks the rows that are
// safe to tag. Returns the number of rows checked.
int ChooseForRows(LyricsIndex& index, RowList& rows, const MatchHooks& hooks) {
    int checked = 0;
    const std::size_t rowCount = rows.Count();
    for (std::size_t i = 0; i < rowCount; ++i) {
        ResultRow& row = rows.Row(i);
        const std::vector<int> candidates = RowCandidates(row, index);
        if (!candidates.empty()) {
            const int chosen = ChooseLyrics(candidates, row.Mp3Cell.Text, index);
            const LyricsEntry& entry = index.Entries[static_cast<std::size_t>(chosen)];
            const bool filtered =
                IsFilteredTail(ReadFileTail(entry.FilePath, kLyricsTailSize).value_or(""));

            row.LyricsCell.Text = entry.DisplayName;
            row.LyricsCell.ToolTip = entry.FilePath;
            row.LyricsCell.Tag = std::to_string(chosen);
            row.LyricsCell.Icon = filtered ? kPictureFiltered : kPictureUnfiltered;
            if (entry.MatchCount > 1) {
                row.LyricsCell.TextColour = SharedLyricsColour;
            }
            // Safe to tag: no Lyrics3 tail yet, lyrics filtered, and no other file
            // matched them.
            if (row.Mp3Cell.TextColour != TaggedFileColour &&
                row.Mp3Cell.Icon != kPictureNewerTag && filtered && entry.MatchCount == 1) {
                row.SetChecked(true);
                ++checked;
            }
        }

        if (hooks.SetLabel) {
            hooks.SetLabel("Parsing: " + std::to_string(i + 1) + "/" + std::to_string(rowCount));
        }
        if ((i + 1) % kRowsPerYield == 0) {
            Call(hooks.ProcessEvents);
        }
    }
    return checked;
}

}  // namespace

MatchResult MatchFolder(const std::string& folder, bool recurse, LyricsIndex& index, RowList& rows,
                        const MatchHooks& hooks) {
    rows.Clear();
    Call(hooks.ProcessEvents);
    for (LyricsEntry& entry : index.Entries) {
        entry.MatchCount = 0;
    }

    MatchResult result;
    std::vector<std::string> files;
    if (FindMp3Files(folder, recurse, files) > 0) {
        result.Processed = MatchFiles(files, index, rows, hooks);
    }
    // Also when nothing was found, so that a stop pressed meanwhile does not end
    // the next pass early.
    Call(hooks.PhaseOneEnded);
    result.CheckedCount = ChooseForRows(index, rows, hooks);

    result.Label = MatchesSummary(static_cast<int>(rows.Count()), result.Processed);
    result.LabelColour = result.Processed < 1 ? kRed : kBlack;
    return result;
}

}  // namespace versemark
