// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTreeView>

// The report view of the result list: rows with check boxes, extended selection,
// and signals for what the user does to rows with the mouse or the keyboard.
namespace versemark {

class ResultListView : public QTreeView {
    Q_OBJECT

  public:
    explicit ResultListView(QWidget* parent = nullptr);

  signals:
    // A row clicked with the mouse, or made current with a key.
    void RowClicked(int row);
    // Space: the check mark of the current row (and of the rows selected with it)
    // is to change as a check-box click changes it.
    void CheckKeyPressed();
    // Enter or Return on the current row: its lyrics are to be shown.
    void RowOpened(int row);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace versemark
