#pragma once

#include <QTreeView>

// The report view of the result list: rows with check boxes, extended selection,
// and a signal for the row the user clicked or moved to with the keyboard.
namespace versemark {

class ResultListView : public QTreeView {
    Q_OBJECT

  public:
    explicit ResultListView(QWidget* parent = nullptr);

  signals:
    // A row clicked with the mouse, or made current with a key.
    void RowClicked(int row);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace versemark
