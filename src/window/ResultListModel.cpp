#include "window/ResultListModel.h"

#include <QBrush>
#include <QPalette>
#include <algorithm>

#include "window/DisplayString.h"
#include "windowlogic/RowLook.h"
#include "window/WindowColours.h"

namespace versemark {
namespace {

constexpr const char* kColumnCaptions[kColumnCount] = {"", "Mp3 file", "Lyrics file"};

}  // namespace

ResultListModel::ResultListModel(const ImageList& pictures, QObject* parent)
    : QAbstractTableModel(parent), pictures_(pictures) {}

int ResultListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || passRunning_) {
        return 0;
    }
    return static_cast<int>(rows_.Count());
}

int ResultListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant ResultListModel::CellData(const std::string& text, const std::string& path, int picture,
                                   std::optional<Colour> colour, int role) const {
    switch (role) {
        case Qt::DisplayRole:
            return DisplayString(text);
        case Qt::ToolTipRole:
            return DisplayString(path);  // a file's cell shows its full path as the tip
        case Qt::DecorationRole: {
            const QPixmap& pixmap = pictures_.Picture(picture);
            return pixmap.isNull() ? QVariant() : QVariant(pixmap);
        }
        case Qt::ForegroundRole:
            if (colour) {
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
    const ResultRow& row = rows_.Row(static_cast<std::size_t>(index.row()));
    switch (index.column()) {
        case kColumnRowText:
            if (role == Qt::DisplayRole) {
                return DisplayString(RowText(row));
            }
            if (role == Qt::CheckStateRole) {
                return row.Checked ? Qt::Checked : Qt::Unchecked;
            }
            return QVariant();
        case kColumnMp3:
            return CellData(row.Mp3Name, row.Mp3Path, Mp3Picture(row), Mp3TextColour(row), role);
        case kColumnLyrics:
            return CellData(row.LyricsName, row.LyricsPath, LyricsPicture(row),
                            LyricsTextColour(row), role);
        default:
            return QVariant();
    }
}

QVariant ResultListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) {
        return QVariant();
    }
    if (role == Qt::DisplayRole) {
        return QString::fromLatin1(kColumnCaptions[section]);
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
    ResultRow& row = rows_.Row(static_cast<std::size_t>(index.row()));
    const bool checked = static_cast<Qt::CheckState>(value.toInt()) == Qt::Checked;
    if (checked == row.Checked) {
        return false;
    }
    row.Checked = checked;
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::CheckStateRole});
    emit CheckBoxClicked(index.row());
    return true;
}

void ResultListModel::BeginPass() {
    beginResetModel();
    passRunning_ = true;
    sorted_ = false;
    endResetModel();
}

void ResultListModel::EndPass() {
    beginResetModel();
    passRunning_ = false;
    sorted_ = true;
    rows_.Sort(sortKey_, sortOrder_);
    endResetModel();
}

void ResultListModel::SetSortState(int key, SortOrder order, bool sorted) {
    sortKey_ = key;
    sortOrder_ = order;
    sorted_ = sorted;
    // While a pass fills the rows they are sorted when it ends.
    if (sorted_ && !passRunning_) {
        SortRows();
    }
}

void ResultListModel::SortRows() {
    const std::vector<std::size_t> positions = rows_.SortedOrder(sortKey_, sortOrder_);
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);

    std::vector<ResultRow>& rows = rows_.Rows();
    std::vector<ResultRow> sorted;
    sorted.reserve(rows.size());
    std::vector<int> newRow(rows.size());
    for (std::size_t i = 0; i < positions.size(); ++i) {
        newRow[positions[i]] = static_cast<int>(i);
        sorted.push_back(std::move(rows[positions[i]]));
    }
    rows = std::move(sorted);

    // Selection and the current row follow their rows.
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& old : from) {
        to.append(index(newRow[static_cast<std::size_t>(old.row())], old.column()));
    }
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int ResultListModel::SetCheckMarks(const std::vector<bool>& rows, bool checked) {
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
        emit dataChanged(index(first, kColumnRowText), index(last, kColumnRowText),
                         {Qt::DisplayRole, Qt::CheckStateRole});
    }
    return changed;
}

void ResultListModel::SetLyrics(int row, const LyricsChoice& choice) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    ResultRow& changed = rows_.Row(static_cast<std::size_t>(row));
    changed.LyricsPath = choice.Path;
    changed.LyricsName = choice.Name;
    changed.LyricsPosition = choice.Position;
    changed.Filtered = choice.Filtered;
    changed.Shared = choice.Shared;
    changed.ChosenByUser = true;
    emit dataChanged(index(row, kColumnLyrics), index(row, kColumnLyrics));
}

void ResultListModel::RemoveAllRows() {
    beginResetModel();
    rows_.Clear();
    endResetModel();
}

}  // namespace versemark
