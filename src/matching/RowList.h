// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "matching/ResultRow.h"

// The ordered rows of the result list. The window shows it through a model; the
// command-line companion and the tests use it directly. Positions are 0-based here.
namespace versemark {

enum class SortOrder { Ascending = 0, Descending = 1 };

// Columns: 0 the row text, 1 "Mp3 file", 2 "Lyrics file".
inline constexpr int kColumnRowText = 0;
inline constexpr int kColumnMp3 = 1;
inline constexpr int kColumnLyrics = 2;
inline constexpr int kColumnCount = 3;

class RowList {
  public:
    std::size_t Count() const { return rows_.size(); }
    bool Empty() const { return rows_.empty(); }
    ResultRow& Row(std::size_t index) { return rows_[index]; }
    const ResultRow& Row(std::size_t index) const { return rows_[index]; }
    std::vector<ResultRow>& Rows() { return rows_; }
    const std::vector<ResultRow>& Rows() const { return rows_; }

    void Add(ResultRow row) { rows_.push_back(std::move(row)); }
    // Room for `count` rows: a pass that knows how many it may add moves none.
    void Reserve(std::size_t count) { rows_.reserve(count); }
    void Clear() { rows_.clear(); }
    std::size_t CheckedCount() const;

    // Orders the rows by the text of `column` without regard to case (stable); the
    // row-text column orders unchecked rows before checked ones.
    void Sort(int column, SortOrder order);
    // The positions of the rows in the order Sort would give them.
    std::vector<std::size_t> SortedOrder(int column, SortOrder order) const;

  private:
    std::vector<ResultRow> rows_;
};

}  // namespace versemark
