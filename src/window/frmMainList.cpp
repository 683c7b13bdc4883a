// The result list: the user's check-box clicks, sorting by a header click,
// "Check selected" / "Uncheck selected", and the six selection filters.
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>

#include "window/Controls.h"
#include "window/ResultListModel.h"
#include "window/ResultListView.h"
#include "windowlogic/WindowTexts.h"
#include "window/frmMain.h"

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

void frmMain::list_ItemCheck(int /*row*/) {
    // The model has already set the check mark and the row text.
    CheckedRowsChanged();
}

void frmMain::list_ColumnClick(int column) {
    const int key = column - 1;
    if (listModel_->SortKey() == key) {
        const SortOrder flipped = listModel_->Order() == SortOrder::Ascending
                                      ? SortOrder::Descending
                                      : SortOrder::Ascending;
        listModel_->SetSortState(key, flipped, listModel_->Sorted());
    } else {
        listModel_->SetSortState(key, SortOrder::Ascending, true);
    }
    ShowSortIndicator();
}

void frmMain::cmdCheck_Click(int index) {
    if (listModel_->rowCount() == 0) {
        return;
    }
    listModel_->SetCheckMarks(SelectedRows(), index == kCheckTarget);
    CheckedRowsChanged();
}

void frmMain::cmdSel_Click(int index) {
    const int count = listModel_->rowCount();
    if (count == 0) {
        return;
    }
    std::vector<bool> rows;
    if (index == kSelectAllCommand) {
        rows.assign(static_cast<std::size_t>(count), true);
    } else if (index == kInvertCommand) {
        rows = SelectedRows();
        rows.flip();
    } else if (const RowRule rule = FilterRule(index)) {
        rows.reserve(static_cast<std::size_t>(count));
        for (const ResultRow& row : listModel_->Rows().Rows()) {
            rows.push_back(rule(row));
        }
    } else {
        return;
    }
    SelectExactly(rows);
}

std::vector<bool> frmMain::SelectedRows() const {
    std::vector<bool> rows(static_cast<std::size_t>(listModel_->rowCount()), false);
    // Ranges may overlap; each row is taken once.
    for (const QItemSelectionRange& range : list->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (row >= 0 && static_cast<std::size_t>(row) < rows.size()) {
                rows[static_cast<std::size_t>(row)] = true;
            }
        }
    }
    return rows;
}

void frmMain::SelectExactly(const std::vector<bool>& rows) {
    // One range per run of selected rows. The old selection is cleared first, so
    // that the selection model never compares two large selections range by range.
    QItemSelection selection;
    const int lastColumn = listModel_->columnCount() - 1;
    const int count = static_cast<int>(rows.size());
    for (int row = 0; row < count;) {
        if (!rows[static_cast<std::size_t>(row)]) {
            ++row;
            continue;
        }
        const int first = row;
        while (row < count && rows[static_cast<std::size_t>(row)]) {
            ++row;
        }
        selection.append(QItemSelectionRange(listModel_->index(first, 0),
                                             listModel_->index(row - 1, lastColumn)));
    }
    QItemSelectionModel* model = list->selectionModel();
    model->clearSelection();
    if (!selection.isEmpty()) {
        model->select(selection, QItemSelectionModel::Select);
    }
}

void frmMain::ShowSortIndicator() {
    QHeaderView* header = list->header();
    header->setSortIndicatorShown(listModel_->Sorted());
    header->setSortIndicator(listModel_->SortKey(), listModel_->Order() == SortOrder::Ascending
                                                        ? Qt::AscendingOrder
                                                        : Qt::DescendingOrder);
}

int frmMain::CurrentRow() const {
    const QModelIndex current = list->currentIndex();
    return current.isValid() ? current.row() : -1;
}

int frmMain::CheckedCount() const {
    return static_cast<int>(listModel_->Rows().CheckedCount());
}

void frmMain::CheckedRowsChanged() {
    const int count = CheckedCount();
    SetCaption(Label1[2], QString::fromLatin1(texts::kCheckedPrefix) + QString::number(count));
    cmdTagThem->setEnabled(count >= 1);
}

}  // namespace versemark
