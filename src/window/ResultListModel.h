#pragma once

#include <QAbstractTableModel>
#include <optional>
#include <string>
#include <vector>

#include "matching/MatchFolder.h"
#include "matching/RowList.h"
#include "window/ImageList.h"

// The result list's model: the window's one store of rows (a RowList), shown in
// three columns with check boxes, pictures, tooltips and colours. Selection is
// not kept here but in the view's selection model.
namespace versemark {

class ResultListModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    ResultListModel(const ImageList& pictures, QObject* parent = nullptr);

    const RowList& Rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Only the view calls this, for the user's check-box click.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // A matching pass fills the rows itself: between BeginPass and EndPass the
    // list shows no rows, and the pass may change PassRows() freely. EndPass
    // shows the new rows, sorted when sorting is on.
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

    // Sets the check mark of every row flagged in `rows` to `checked` (program
    // change, not a user click). Returns how many rows changed.
    int SetCheckMarks(const std::vector<bool>& rows, bool checked);

    // The lyrics file the user chose for a row in the panel.
    struct LyricsChoice {
        std::string Path;
        std::string Name;
        int Position = -1;
        bool Filtered = false;
        bool Shared = false;
    };
    // Replaces the lyrics file of a row with the user's choice.
    void SetLyrics(int row, const LyricsChoice& choice);

    void RemoveAllRows();

  signals:
    // The user's click on a row's check box, after its check mark has changed.
    void CheckBoxClicked(int row);

  private:
    QVariant CellData(const std::string& text, const std::string& path, int picture,
                      std::optional<Colour> colour, int role) const;
    void SortRows();

    const ImageList pictures_;  // a copy: the pixmaps are shared, not duplicated
    RowList rows_;
    bool passRunning_ = false;
    int sortKey_ = kColumnRowText;
    SortOrder sortOrder_ = SortOrder::Ascending;
    bool sorted_ = false;
};

}  // namespace versemark
