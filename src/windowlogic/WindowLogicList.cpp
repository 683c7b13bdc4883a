// SPDX-License-Identifier: GPL-3.0-or-later
// The result list: the user's check-box clicks, sorting by a header click,
// "Check selected" / "Uncheck selected", and the six selection filters.
#include <string>
#include <vector>

#include "windowlogic/WindowLogic.h"
#include "windowlogic/WindowTexts.h"
#include "windowlogic/WindowView.h"

namespace versemark {
namespace {

// The rule of a filter: which rows end up selected. Empty for a selection that
// is no filter.
using RowRule = bool (*)(const ResultRow&);

RowRule FilterRule(RowSelection selection) {
    switch (selection) {
        case RowSelection::WithLyrics3Tag:
            return [](const ResultRow& row) { return row.Tagged; };
        case RowSelection::Unfiltered:
            return [](const ResultRow& row) { return row.LyricsChosen() && !row.Filtered; };
        case RowSelection::MoreThanOneMatch:
            return [](const ResultRow& row) {
                return row.Standing() == MatchStanding::SeveralMatches;
            };
        case RowSelection::MatchedMoreThanOnce:
            return [](const ResultRow& row) { return row.Shared; };
        default:
            return nullptr;
    }
}

}  // namespace

void WindowLogic::RowChecked(int row, bool checked) {
    if (state_.TaggingRunning) {
        return;
    }
    rows_.SetCheckMark(row, checked);
    CheckedRowsChanged();
}

void WindowLogic::SortByColumn(int column) {
    if (state_.TaggingRunning) {
        return;  // the pass walks the rows in their order
    }
    if (rows_.SortKey() == column) {
        const SortOrder flipped =
            rows_.Order() == SortOrder::Ascending ? SortOrder::Descending : SortOrder::Ascending;
        rows_.SetSortState(column, flipped, rows_.Sorted());
    } else {
        rows_.SetSortState(column, SortOrder::Ascending, true);
    }
    ShowSortIndicator();
}

void WindowLogic::ShowSortIndicator() {
    view_.ShowSortIndicator(rows_.SortKey(), rows_.Order(), rows_.Sorted());
}

void WindowLogic::CheckSelectedRows(bool checked) {
    if (state_.Shown != Pane::List || state_.TaggingRunning || rows_.VisibleCount() == 0) {
        return;
    }
    rows_.SetCheckMarks(view_.SelectedRows(), checked);
    CheckedRowsChanged();
}

void WindowLogic::SelectRows(RowSelection selection) {
    const int count = rows_.VisibleCount();
    if (state_.Shown != Pane::List || state_.TaggingRunning || count == 0) {
        return;
    }
    std::vector<bool> rows;
    if (selection == RowSelection::All) {
        rows.assign(static_cast<std::size_t>(count), true);
    } else if (selection == RowSelection::Invert) {
        rows = view_.SelectedRows();
        rows.resize(static_cast<std::size_t>(count), false);
        rows.flip();
    } else if (const RowRule rule = FilterRule(selection)) {
        rows.reserve(static_cast<std::size_t>(count));
        for (const ResultRow& row : rows_.Rows().Rows()) {
            rows.push_back(rule(row));
        }
    } else {
        return;
    }
    view_.SelectRows(rows);
}

void WindowLogic::CheckKeyPressed() {
    const int current = view_.CurrentRow();
    if (state_.TaggingRunning || current < 0 || current >= rows_.VisibleCount()) {
        return;
    }
    // The current row flips; rows selected together with it follow it.
    const bool target = !rows_.Row(current).Checked;
    std::vector<bool> rows = view_.SelectedRows();
    rows.resize(static_cast<std::size_t>(rows_.VisibleCount()), false);
    if (!rows[static_cast<std::size_t>(current)]) {
        rows.assign(rows.size(), false);
        rows[static_cast<std::size_t>(current)] = true;
    }
    rows_.SetCheckMarks(rows, target);
    CheckedRowsChanged();
}

int WindowLogic::CheckedCount() const {
    return static_cast<int>(rows_.Rows().CheckedCount());
}

void WindowLogic::CheckedRowsChanged() {
    const int count = CheckedCount();
    view_.SetCaption(ControlId::CheckedLabel, texts::kCheckedPrefix + std::to_string(count));
    // "Return to list" under the log is always at hand.
    if (state_.Shown == Pane::Log) {
        view_.SetEnabled(ControlId::TagButton, true);
        return;
    }
    const bool otherPass = OtherPassRuns();
    view_.SetEnabled(ControlId::TagButton, count >= 1 && !otherPass);
}

}  // namespace versemark
