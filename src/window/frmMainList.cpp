// The result list: the user's check-box clicks, sorting by a header click,
// "Check selected" / "Uncheck selected", and the six selection filters.
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>

#include "window/Controls.h"
#include "window/ResultListModel.h"
#include "window/ResultListView.h"
#include "window/WindowTexts.h"
#include "window/frmMain.h"

namespace versemark {
namespace {

constexpr int kCheckTarget = 0;  // cmdCheck element 0 checks, element 1 unchecks

bool HasColour(const Cell& cell, Colour colour) {
    return cell.TextColour && *cell.TextColour == colour;
}

// The rule of a filter caption: which rows end up selected. Empty for a caption
// that names no filter.
using RowRule = bool (*)(const ResultRow&);

RowRule FilterRule(const QString& caption) {
    if (caption == QLatin1String(texts::kWithLyrics3Tag)) {
        return [](const ResultRow& row) { return HasColour(row.Mp3Cell, TaggedFileColour); };
    }
    if (caption == QLatin1String(texts::kUnfiltered)) {
        return [](const ResultRow& row) { return row.LyricsCell.Icon == kPictureUnfiltered; };
    }
    if (caption == QLatin1String(texts::kMoreThanOneMatch)) {
        return [](const ResultRow& row) { return row.Mp3Cell.Icon == kPictureAlert; };
    }
    if (caption == QLatin1String(texts::kMatchedMoreThanOnce)) {
        return [](const ResultRow& row) { return HasColour(row.LyricsCell, SharedLyricsColour); };
    }
    return nullptr;
}

}  // namespace

void frmMain::list_ItemCheck(int row) {
    // The model has already set the check mark and the row text.
    const bool checked = listModel_->Rows().Row(static_cast<std::size_t>(row)).Checked;
    state_.CheckedCount += checked ? 1 : -1;
    cmdTagThem->setEnabled(state_.CheckedCount != 0);
    ShowCheckedCount();
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
    const bool target = index == kCheckTarget;
    const int changed = listModel_->SetCheckMarks(SelectedRows(), target);
    state_.CheckedCount += target ? changed : -changed;
    ShowCheckedCount();
    // As after a check-box click, so that "Tag checked files" follows the count.
    cmdTagThem->setEnabled(state_.CheckedCount != 0);
}

void frmMain::cmdSel_Click(int index) {
    const int count = listModel_->rowCount();
    if (count == 0) {
        return;
    }
    const QString caption = ButtonCaption(cmdSel[static_cast<std::size_t>(index)]);
    std::vector<bool> rows;
    if (caption == QLatin1String(texts::kSelectAll)) {
        rows.assign(static_cast<std::size_t>(count), true);
    } else if (caption == QLatin1String(texts::kInvertSelection)) {
        rows = SelectedRows();
        rows.flip();
    } else if (const RowRule rule = FilterRule(caption)) {
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

void frmMain::ShowCheckedCount() {
    SetCaption(Label1[2],
               QString::fromLatin1(texts::kCheckedPrefix) + QString::number(state_.CheckedCount));
}

}  // namespace versemark
