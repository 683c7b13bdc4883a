// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowlogic/ListRows.h"

#include <algorithm>
#include <utility>

#include "windowlogic/WindowView.h"

namespace versemark {

int ListRows::VisibleCount() const {
    return passRunning_ ? 0 : static_cast<int>(rows_.Count());
}

void ListRows::BeginPass() {
    view_.ListRowsAboutToReset();
    passRunning_ = true;
    sorted_ = false;
    view_.ListRowsReset();
}

void ListRows::EndPass() {
    view_.ListRowsAboutToReset();
    passRunning_ = false;
    sorted_ = true;
    rows_.Sort(sortKey_, sortOrder_);
    view_.ListRowsReset();
}

void ListRows::SetSortState(int key, SortOrder order, bool sorted) {
    sortKey_ = key;
    sortOrder_ = order;
    sorted_ = sorted;
    // While a pass fills the rows they are sorted when it ends.
    if (sorted_ && !passRunning_) {
        SortRows();
    }
}

void ListRows::SortRows() {
    const std::vector<std::size_t> positions = rows_.SortedOrder(sortKey_, sortOrder_);
    view_.ListRowsAboutToMove();

    std::vector<ResultRow>& rows = rows_.Rows();
    std::vector<ResultRow> sorted;
    sorted.reserve(rows.size());
    std::vector<std::size_t> newPositions(rows.size());
    for (std::size_t i = 0; i < positions.size(); ++i) {
        newPositions[positions[i]] = i;
        sorted.push_back(std::move(rows[positions[i]]));
    }
    rows = std::move(sorted);
    view_.ListRowsMoved(newPositions);
}

bool ListRows::SetCheckMark(int row, bool checked) {
    if (row < 0 || row >= VisibleCount()) {
        return false;
    }
    ResultRow& changed = rows_.Row(static_cast<std::size_t>(row));
    if (changed.Checked == checked) {
        return false;
    }
    changed.Checked = checked;
    view_.ListCheckMarksChanged(row, row);
    return true;
}

int ListRows::SetCheckMarks(const std::vector<bool>& rows, bool checked) {
    int changed = 0;
    int first = -1;
    int last = -1;
    const std::size_t count = std::min(rows.size(), rows_.Count());
    for (std::size_t i = 0; i < count; ++i) {
        ResultRow& row = rows_.Row(i);
        if (!rows[i] || row.Checked == checked) {
            continue;
        }
        row.Checked = checked;
        ++changed;
        if (first < 0) {
            first = static_cast<int>(i);
        }
        last = static_cast<int>(i);
    }
    if (changed > 0 && !passRunning_) {
        view_.ListCheckMarksChanged(first, last);
    }
    return changed;
}

void ListRows::SetLyrics(int row, const LyricsChoice& choice) {
    if (row < 0 || row >= VisibleCount()) {
        return;
    }
    ResultRow& changed = rows_.Row(static_cast<std::size_t>(row));
    changed.LyricsPath = choice.Path;
    changed.LyricsName = choice.Name;
    changed.LyricsPosition = choice.Position;
    changed.Filtered = choice.Filtered;
    changed.Shared = choice.Shared;
    changed.ChosenByUser = true;
    view_.ListRowsChanged(row, row);
}

void ListRows::RemoveAllRows() {
    view_.ListRowsAboutToReset();
    rows_.Clear();
    view_.ListRowsReset();
}

}  // namespace versemark
