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

constexpr int kCheckTarget = 0;  // cmdCheck element 0 checks, element 1 unchecks

// The elements of cmdSel: two selection commands and four filters.
enum SelectCommand : int {
    kSelectAllCommand = 0,
    kSharedLyricsFilter = 1,
    kInvertCommand = 2,
    kUnfilteredFilter = 3,
    kTaggedFilter = 5,
    kSeveralMatchesFilter = 6,
};

// The rule of a filter: which rows end up selected. Empty for an element that is
// no filter.
using RowRule = bool (*)(const ResultRow&);

RowRule FilterRule(int index) {
    switch (index) {
        case kTaggedFilter:
            return [](const ResultRow& row) { return row.Tagged; };
        case kUnfilteredFilter:
            return [](const ResultRow& row) { return row.LyricsChosen() && !row.Filtered; };
        case kSeveralMatchesFilter:
            return [](const ResultRow& row) {
                return row.Standing() == MatchStanding::SeveralMatches;
            };
        case kSharedLyricsFilter:
            return [](const ResultRow& row) { return row.Shared; };
        default:
            return nullptr;
    }
}

}  // namespace

void WindowLogic::list_ItemCheck(int row, bool checked) {
    if (state_.TaggingRunning) {
        return;
    }
    rows_.SetCheckMark(row, checked);
    CheckedRowsChanged();
}

void WindowLogic::list_ColumnClick(int column) {
    if (state_.TaggingRunning) {
        return;  // the pass walks the rows in their order
    }
    const int key = column - 1;
    if (rows_.SortKey() == key) {
        const SortOrder flipped =
            rows_.Order() == SortOrder::Ascending ? SortOrder::Descending : SortOrder::Ascending;
        rows_.SetSortState(key, flipped, rows_.Sorted());
    } else {
        rows_.SetSortState(key, SortOrder::Ascending, true);
    }
    ShowSortIndicator();
}

void WindowLogic::ShowSortIndicator() {
    view_.ShowSortIndicator(rows_.SortKey(), rows_.Order(), rows_.Sorted());
}

void WindowLogic::cmdCheck_Click(int index) {
    if (state_.Shown != Pane::List || state_.TaggingRunning || rows_.VisibleCount() == 0) {
        return;
    }
    rows_.SetCheckMarks(view_.SelectedRows(), index == kCheckTarget);
    CheckedRowsChanged();
}

void WindowLogic::cmdSel_Click(int index) {
    const int count = rows_.VisibleCount();
    if (state_.Shown != Pane::List || state_.TaggingRunning || count == 0) {
        return;
    }
    std::vector<bool> rows;
    if (index == kSelectAllCommand) {
        rows.assign(static_cast<std::size_t>(count), true);
    } else if (index == kInvertCommand) {
        rows = view_.SelectedRows();
        rows.resize(static_cast<std::size_t>(count), false);
        rows.flip();
    } else if (const RowRule rule = FilterRule(index)) {
        rows.reserve(static_cast<std::size_t>(count));
        for (const ResultRow& row : rows_.Rows().Rows()) {
            rows.push_back(rule(row));
        }
    } else {
        return;
    }
    view_.SelectRows(rows);
}

void WindowLogic::list_KeySpace() {
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
    view_.SetCaption({ControlName::Label1, 2}, texts::kCheckedPrefix + std::to_string(count));
    // "Return to list" under the log is always at hand.
    if (state_.Shown == Pane::Log) {
        view_.SetEnabled({ControlName::cmdTagThem}, true);
        return;
    }
    const bool otherPass = OtherPassRuns();
    view_.SetEnabled({ControlName::cmdTagThem}, count >= 1 && !otherPass);
}

}  // namespace versemark
