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

void WindowLogic::RowClicked(int row) {
    if (state_.TaggingRunning || row < 0 || row >= rows_.VisibleCount()) {
        return;
    }
    const ResultRow& clicked = rows_.Row(row);
    view_.SetVisible(ControlId::InfoPanel, true);

    view_.SetCaption(ControlId::Mp3FileName, clicked.Mp3Name);
    view_.SetToolTip(ControlId::Mp3FileName, clicked.Mp3Path);
    panelMp3Path_ = clicked.Mp3Path;
    view_.SetPicture(ControlId::LyricsPicture, LyricsPicture(clicked));

    const std::vector<int>& candidates = clicked.Candidates;
    if (candidates.size() <= 1) {
        const LyricsEntry* entry = candidates.empty() ? nullptr : EntryAt(candidates.front());
        view_.SetCaption(ControlId::LyricsFileName,
                         entry != nullptr ? entry->DisplayName : std::string());
        view_.SetVisible(ControlId::LyricsFileName, true);
        view_.SetCaption(ControlId::LyricsLabel, texts::kLyricsCaption);
        view_.SetTextColour(ControlId::LyricsLabel, kSystemButtonText);
        view_.SetVisible(ControlId::LyricsChoice, false);
    } else {
        view_.SetVisible(ControlId::LyricsFileName, false);
        view_.SetCaption(
            ControlId::LyricsLabel,
            texts::kLyricsCountStart + std::to_string(candidates.size()) + texts::kLyricsCountEnd);
        view_.SetTextColour(ControlId::LyricsLabel, kRed);
        ShowLyricsChoice(clicked, candidates);
    }

    view_.SetVisible(ControlId::DisplaySavedLyricsButton, clicked.Tagged);
    if (clicked.NewerTag) {
        view_.SetVisible(ControlId::NewerTagAlertPicture, true);
        view_.SetVisible(ControlId::Id3v1AlertPicture, false);
    } else {
        view_.SetVisible(ControlId::NewerTagAlertPicture, false);
        view_.SetVisible(ControlId::Id3v1AlertPicture, clicked.WithoutId3);
    }
    const LyricsEntry* chosen = EntryAt(clicked.LyricsPosition);
    view_.SetVisible(ControlId::SharedLyricsAlertPicture,
                     chosen != nullptr && chosen->MatchCount >= kSharedFrom);
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
    view_.SetComboItems(ControlId::LyricsChoice, names, current);
    view_.SetVisible(ControlId::LyricsChoice, true);
    state_.FillingLyricsChoice = false;
}

void WindowLogic::ChooseLyrics(int choice) {
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

    view_.SetPicture(ControlId::LyricsPicture, LyricsPicture(rows_.Row(row)));
    view_.SetVisible(ControlId::SharedLyricsAlertPicture, chosen.Shared);
}

}  // namespace versemark
