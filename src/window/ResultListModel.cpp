// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/ResultListModel.h"

#include <QBrush>
#include <QPalette>

#include "window/DisplayString.h"
#include "window/WindowColours.h"
#include "windowlogic/RowLook.h"
#include "windowlogic/WindowDesign.h"

namespace versemark {

ResultListModel::ResultListModel(const ImageList& pictures, const ListRows& rows, QObject* parent)
    : QAbstractTableModel(parent), pictures_(pictures), rows_(rows) {}

int ResultListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_.VisibleCount();
}

int ResultListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant ResultListModel::CellData(const ResultRow& row, int column, int role) const {
    switch (role) {
        case Qt::DisplayRole:
            return DisplayString(CellText(row, column));
        case Qt::ToolTipRole:
            return DisplayString(CellToolTip(row, column));  // a file's full path
        case Qt::DecorationRole: {
            const QPixmap& pixmap = pictures_.Picture(CellPicture(row, column));
            return pixmap.isNull() ? QVariant() : QVariant(pixmap);
        }
        case Qt::ForegroundRole:
            if (const std::optional<Colour> colour = CellColour(row, column)) {
                return QBrush(ToQColor(*colour, QPalette()));
            }
            return QVariant();
        default:
            return QVariant();
    }
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return QVariant();
    }
    const ResultRow& row = rows_.Row(index.row());
    if (index.column() == kColumnRowText) {
        if (role == Qt::DisplayRole) {
            return DisplayString(RowText(row));
        }
        if (role == Qt::CheckStateRole) {
            return row.Checked ? Qt::Checked : Qt::Unchecked;
        }
        return QVariant();
    }
    return CellData(row, index.column(), role);
}

QVariant ResultListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) {
        return QVariant();
    }
    if (role == Qt::DisplayRole) {
        return DisplayString(kColumnCaptions[section]);
    }
    if (role == Qt::DecorationRole && section == kColumnLyrics) {
        return pictures_.Picture(kLyricsHeaderPicture);
    }
    return QVariant();
}

Qt::ItemFlags ResultListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == kColumnRowText) {
        flags |= Qt::ItemIsUserCheckable;
    }
    return flags;
}

bool ResultListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != kColumnRowText ||
        index.row() >= rowCount()) {
        return false;
    }
    const bool checked = static_cast<Qt::CheckState>(value.toInt()) == Qt::Checked;
    if (checked == rows_.Row(index.row()).Checked) {
        return false;
    }
    emit CheckBoxClicked(index.row(), checked);
    return true;
}

void ResultListModel::BeginMove() {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ResultListModel::EndMove(const std::vector<std::size_t>& newPositions) {
    // Selection and the current row follow their rows.
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& old : from) {
        const auto oldRow = static_cast<std::size_t>(old.row());
        to.append(oldRow < newPositions.size()
                      ? index(static_cast<int>(newPositions[oldRow]), old.column())
                      : QModelIndex());
    }
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ResultListModel::RowsChanged(int first, int last) {
    emit dataChanged(index(first, 0), index(last, kColumnCount - 1));
}

void ResultListModel::CheckMarksChanged(int first, int last) {
    emit dataChanged(index(first, kColumnRowText), index(last, kColumnRowText),
                     {Qt::DisplayRole, Qt::CheckStateRole});
}

}  // namespace versemark
