// SPDX-License-Identifier: GPL-3.0-or-later
// The song information panel: what a row click shows, and the choice among a
// file's candidate lyrics files, which rewrites the row's lyrics cell.
#include <optional>
#include <string>

#include "matching/Scoring.h"
#include "platform/FileSystem.h"
#include "windowlogic/Colours.h"
#include "windowlogic/RowLook.h"
#include "windowlogic/WindowLogic.h"
#include "windowlogic/WindowTexts.h"
#include "windowlogic/WindowView.h"

namespace versemark {
namespace {

// The lyrics choice looks for the filter marker in a lyrics file's last 51 bytes,
// and only in a file longer than 50 bytes.
constexpr std::size_t kChoiceTailSize = 51;
constexpr int kSharedFrom = 2;  // a MatchCount from which a lyrics file is shared

constexpr Control kMp3Name{ControlName::lblInfo, 0};
constexpr Control kLyricsName{ControlName::lblInfo, 1};
constexpr Control kLyricsLabel{ControlName::Label1, 5};
constexpr Control kLyricsPicture{ControlName::img, 1};
constexpr Control kWithoutId3Alert{ControlName::img, 2};
constexpr Control kSharedAlert{ControlName::img, 3};
constexpr Control kNewerTagAlert{ControlName::img, 4};
constexpr Control kChoice{ControlName::cboLyrics};

bool LyricsFileIsFiltered(const std::string& path) {
    const std::optional<std::string> tail = ReadFileTail(path, kChoiceTailSize);
    if (!tail || tail->size() < kChoiceTailSize) {
        return false;
    }
    return IsFilteredTail(*tail);
}

}  // namespace

const LyricsEntry* WindowLogic::EntryAt(int position) const {
    if (position < 0 || position >= values_.Index.LyricsCount()) {
        return nullptr;
    }
    return &values_.Index.Entries[static_cast<std::size_t>(position)];
}

void WindowLogic::list_ItemClick(int row) {
    if (state_.TaggingRunning || row < 0 || row >= rows_.VisibleCount()) {
        return;
    }
    const ResultRow& clicked = rows_.Row(row);
    view_.SetVisible({ControlName::picInfo}, true);

    view_.SetCaption(kMp3Name, clicked.Mp3Name);
    view_.SetToolTip(kMp3Name, clicked.Mp3Path);
    panelMp3Path_ = clicked.Mp3Path;
    view_.SetPicture(kLyricsPicture, LyricsPicture(clicked));

    const std::vector<int>& candidates = clicked.Candidates;
    if (candidates.size() <= 1) {
        const LyricsEntry* entry = candidates.empty() ? nullptr : EntryAt(candidates.front());
        view_.SetCaption(kLyricsName, entry != nullptr ? entry->DisplayName : std::string());
        view_.SetVisible(kLyricsName, true);
        view_.SetCaption(kLyricsLabel, texts::kLyricsCaption);
        view_.SetTextColour(kLyricsLabel, kSystemButtonText);
        view_.SetVisible(kChoice, false);
    } else {
        view_.SetVisible(kLyricsName, false);
        view_.SetCaption(
            kLyricsLabel,
            texts::kLyricsCountStart + std::to_string(candidates.size()) + texts::kLyricsCountEnd);
        view_.SetTextColour(kLyricsLabel, kRed);
        ShowLyricsChoice(clicked, candidates);
    }

    view_.SetVisible({ControlName::cmdDisplaySavedLyrics}, clicked.Tagged);
    if (clicked.NewerTag) {
        view_.SetVisible(kNewerTagAlert, true);
        view_.SetVisible(kWithoutId3Alert, false);
    } else {
        view_.SetVisible(kNewerTagAlert, false);
        view_.SetVisible(kWithoutId3Alert, clicked.WithoutId3);
    }
    const LyricsEntry* chosen = EntryAt(clicked.LyricsPosition);
    view_.SetVisible(kSharedAlert, chosen != nullptr && chosen->MatchCount >= kSharedFrom);
}

void WindowLogic::ShowLyricsChoice(const ResultRow& row, const std::vector<int>& candidates) {
    // Filling the list makes entries current; that is not the user's choice.
    state_.FillingLyricsChoice = true;
    std::vector<std::string> names;
    names.reserve(candidates.size());
    int current = -1;
    for (const int position : candidates) {
        const LyricsEntry* entry = EntryAt(position);
        if (position == row.LyricsPosition) {
            current = static_cast<int>(names.size());
        }
        names.push_back(entry != nullptr ? entry->DisplayName : std::string());
    }
    choiceEntries_ = candidates;
    view_.SetComboItems(kChoice, names, current);
    view_.SetVisible(kChoice, true);
    state_.FillingLyricsChoice = false;
}

void WindowLogic::cboLyrics_Click(int choice) {
    if (state_.FillingLyricsChoice || state_.TaggingRunning) {
        return;
    }
    const int row = view_.CurrentRow();
    if (row < 0 || row >= rows_.VisibleCount() || choice < 0 ||
        choice >= static_cast<int>(choiceEntries_.size())) {
        return;
    }
    const int position = choiceEntries_[static_cast<std::size_t>(choice)];
    const LyricsEntry* entry = EntryAt(position);
    if (entry == nullptr) {
        return;
    }

    LyricsChoice chosen;
    chosen.Path = entry->FilePath;
    chosen.Name = entry->DisplayName;
    chosen.Position = position;
    chosen.Shared = entry->MatchCount >= kSharedFrom;
    // A lyrics file that cannot be read counts as not filtered.
    chosen.Filtered = LyricsFileIsFiltered(entry->FilePath);
    rows_.SetLyrics(row, chosen);

    view_.SetPicture(kLyricsPicture, LyricsPicture(rows_.Row(row)));
    view_.SetVisible(kSharedAlert, chosen.Shared);
}

}  // namespace versemark
