// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/ResultListView.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace versemark {
namespace {

// The keys keep their meaning with the keypad's modifier only; with Ctrl, Shift
// or Alt they do what the view does with them (Ctrl+Space selects, for one).
bool Unmodified(const QKeyEvent* event) {
    return (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

bool IsCheckKey(const QKeyEvent* event) {
    return event->key() == Qt::Key_Space && Unmodified(event);
}

bool IsOpenKey(const QKeyEvent* event) {
    return (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && Unmodified(event);
}

}  // namespace

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
    if (IsCheckKey(event)) {
        event->accept();
        if (before.isValid()) {
            emit CheckKeyPressed();
        }
        return;
    }
    if (IsOpenKey(event)) {
        event->accept();
        if (before.isValid()) {
            emit RowOpened(before.row());
        }
        return;
    }
    QTreeView::keyPressEvent(event);
    const QModelIndex after = currentIndex();
    if (after.isValid() && after.row() != before.row()) {
        emit RowClicked(after.row());
    }
}

}  // namespace versemark
