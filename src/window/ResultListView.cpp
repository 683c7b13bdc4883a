#include "window/ResultListView.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace versemark {

ResultListView::ResultListView(QWidget* parent) : QTreeView(parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);  // keeps tens of thousands of rows cheap to lay out
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);  // the window sorts on its own header clicks
    header()->setSectionsClickable(true);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    connect(this, &QTreeView::clicked, this,
            [this](const QModelIndex& index) { emit RowClicked(index.row()); });
}

void ResultListView::keyPressEvent(QKeyEvent* event) {
    const QModelIndex before = currentIndex();
    QTreeView::keyPressEvent(event);
    const QModelIndex after = currentIndex();
    if (after.isValid() && after.row() != before.row()) {
        emit RowClicked(after.row());
    }
}

}  // namespace versemark
