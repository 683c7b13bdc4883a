// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <string_view>
#include <vector>

#include "matching/RowList.h"
#include "window/ImageList.h"
#include "windowlogic/ListRows.h"

// The result list's model: the window logic's rows (ListRows), shown in three
// columns with check boxes, pictures, tooltips and colours. Selection is not kept
// here but in the view's selection model.
namespace versemark {

class ResultListModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    ResultListModel(const ImageList& pictures, const ListRows& rows, QObject* parent = nullptr);

    const RowList& Rows() const { return rows_.Rows(); }
    int SortKey() const { return rows_.SortKey(); }
    bool Sorted() const { return rows_.Sorted(); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Only the view calls this, for the user's check-box click; the logic sets
    // the mark (CheckBoxClicked).
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // What the logic changed in the rows (WindowView's list calls).
    void BeginReset() { beginResetModel(); }
    void EndReset() { endResetModel(); }
    void BeginMove();
    void EndMove(const std::vector<std::size_t>& newPositions);
    void RowsChanged(int first, int last);
    // Only the check column: the cheaper change for many rows at once.
    void CheckMarksChanged(int first, int last);

  signals:
    // The user's click on a row's check box: the mark it asks for.
    void CheckBoxClicked(int row, bool checked);

  private:
    QVariant CellData(const ResultRow& row, int column, int role) const;

    const ImageList pictures_;  // a copy: the pixmaps are shared, not duplicated
    const ListRows& rows_;
};

}  // namespace versemark
