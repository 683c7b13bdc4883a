// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "matching/ResultRow.h"
#include "matching/RowList.h"

// The result list's rows as the window shows them: the window's one store of
// rows (a RowList) with its sort state. Every change is told to the view, which
// only draws the rows. Selection is not kept here but in the view.
namespace versemark {

class WindowView;

// The lyrics file the user chose for a row in the panel.
struct LyricsChoice {
    std::string Path;
    std::string Name;
    int Position = -1;
    bool Filtered = false;
    bool Shared = false;
};

class ListRows {
  public:
    explicit ListRows(WindowView& view) : view_(view) {}

    const RowList& Rows() const { return rows_; }
    // The rows the list shows: none while a pass fills them.
    int VisibleCount() const;
    // The row at a 0-based position below VisibleCount().
    const ResultRow& Row(int position) const {
        return rows_.Row(static_cast<std::size_t>(position));
    }

    // A matching pass fills the rows itself: between BeginPass and EndPass the
    // list shows no rows, and the pass may change PassRows() freely. EndPass
    // shows the new rows, sorted by the current key and order.
    void BeginPass();
    RowList& PassRows() { return rows_; }
    void EndPass();
    bool PassRunning() const { return passRunning_; }

    // Sort state: key (0-based column), order, and whether sorting is on.
    int SortKey() const { return sortKey_; }
    SortOrder Order() const { return sortOrder_; }
    bool Sorted() const { return sorted_; }
    // Sets the state; when sorting is on the rows are ordered at once, and
    // selection and current row follow their rows.
    void SetSortState(int key, SortOrder order, bool sorted);

    // The user's click on a row's check box. False when the mark was already so.
    bool SetCheckMark(int row, bool checked);
    // Sets the check mark of every row flagged in `rows` to `checked` (program
    // change, not a user click). Returns how many rows changed.
    int SetCheckMarks(const std::vector<bool>& rows, bool checked);
    // Replaces the lyrics file of a row with the user's choice.
    void SetLyrics(int row, const LyricsChoice& choice);

    void RemoveAllRows();

  private:
    void SortRows();

    WindowView& view_;
    RowList rows_;
    bool passRunning_ = false;
    int sortKey_ = kColumnRowText;
    SortOrder sortOrder_ = SortOrder::Ascending;
    bool sorted_ = false;
};

}  // namespace versemark
