// SPDX-License-Identifier: GPL-3.0-or-later
#include "matching/RowList.h"

#include <algorithm>

#include "matching/TextFold.h"

namespace versemark {

std::size_t RowList::CheckedCount() const {
    return static_cast<std::size_t>(
        std::count_if(rows_.begin(), rows_.end(), [](const ResultRow& r) { return r.Checked; }));
}

namespace {

// The key a column sorts by: a file column its name; the row-text column the check
// state, as an empty key for an unchecked row and a non-empty one for a checked row.
std::string_view SortText(const ResultRow& row, int column) {
    switch (column) {
        case kColumnMp3:
            return row.Mp3Name;
        case kColumnLyrics:
            return row.LyricsName;
        default:
            return row.Checked ? std::string_view("x") : std::string_view();
    }
}

}  // namespace

std::vector<std::size_t> RowList::SortedOrder(int column, SortOrder order) const {
    // Fold every key once, then order by the folds; equal keys keep their order.
    std::vector<std::pair<std::string, std::size_t>> keys;
    keys.reserve(rows_.size());
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        keys.emplace_back(FoldCase(SortText(rows_[i], column)), i);
    }
    const bool descending = order == SortOrder::Descending;
    std::stable_sort(keys.begin(), keys.end(), [descending](const auto& a, const auto& b) {
        return descending ? b.first < a.first : a.first < b.first;
    });
    std::vector<std::size_t> positions;
    positions.reserve(keys.size());
    for (const auto& key : keys) {
        positions.push_back(key.second);
    }
    return positions;
}

void RowList::Sort(int column, SortOrder order) {
    std::vector<ResultRow> sorted;
    sorted.reserve(rows_.size());
    for (const std::size_t position : SortedOrder(column, order)) {
        sorted.push_back(std::move(rows_[position]));
    }
    rows_ = std::move(sorted);
}

}  // namespace versemark
