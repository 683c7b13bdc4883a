// SPDX-License-Identifier: GPL-3.0-or-later
// The window logic's view on Qt: every control it names is a widget of this
// window, and every text it passes is shown through DisplayString.
#include <QAbstractButton>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "window/Controls.h"
#include "window/DisplayString.h"
#include "window/QtWindow.h"
#include "window/ResultListModel.h"
#include "window/ResultListView.h"
#include "window/Twips.h"
#include "window/WindowColours.h"

namespace versemark {

void QtWindow::SetCaption(ControlId control, std::string_view caption) {
    QWidget* widget = Widget(control);
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        versemark::SetCaption(label, DisplayString(caption));
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        SetButtonCaption(button, DisplayString(caption));
    } else if (auto* box = qobject_cast<QAbstractButton*>(widget)) {
        box->setText(DisplayString(caption));
    } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
        frame->setTitle(DisplayString(caption));
    }
}

void QtWindow::SetToolTip(ControlId control, std::string_view tip) {
    if (QWidget* widget = Widget(control)) {
        widget->setToolTip(DisplayString(tip));
    }
}

void QtWindow::SetVisible(ControlId control, bool visible) {
    if (QWidget* widget = Widget(control)) {
        widget->setVisible(visible);
    }
}

void QtWindow::SetEnabled(ControlId control, bool enabled) {
    if (QWidget* widget = Widget(control)) {
        widget->setEnabled(enabled);
    }
}

void QtWindow::SetTextColour(ControlId control, Colour colour) {
    if (QWidget* widget = Widget(control)) {
        versemark::SetTextColour(widget, colour);
    }
}

void QtWindow::SetBold(ControlId control, bool bold) {
    if (QWidget* widget = Widget(control)) {
        versemark::SetBold(widget, bold);
    }
}

void QtWindow::SetChecked(ControlId control, bool checked) {
    if (auto* box = Widget<QAbstractButton>(control)) {
        box->setChecked(checked);
    }
}

bool QtWindow::IsChecked(ControlId control) const {
    const auto* box = Widget<QAbstractButton>(control);
    return box != nullptr && box->isChecked();
}

void QtWindow::SetPicture(ControlId control, int picture) {
    if (auto* label = Widget<QLabel>(control)) {
        label->setPixmap(pictures_.Picture(picture));
    }
}

void QtWindow::Refresh(ControlId control) {
    if (QWidget* widget = Widget(control)) {
        widget->repaint();
    }
}

std::optional<ControlId> QtWindow::FocusedControl() const {
    const QWidget* focused = focusWidget();
    for (const auto& [control, widget] : controls_) {
        if (widget == focused) {
            return control;
        }
    }
    return std::nullopt;
}

void QtWindow::SetFocus(ControlId control) {
    QWidget* widget = Widget(control);
    if (widget != nullptr && widget->isVisibleTo(this) && widget->isEnabled()) {
        widget->setFocus();
    }
}

TwipSize QtWindow::ClientSize() const {
    const QSize client = ClientSizeInTwips(this);
    return {client.width(), client.height()};
}

TwipRect QtWindow::Geometry(ControlId control) const {
    const QWidget* widget = Widget(control);
    if (widget == nullptr) {
        return {};
    }
    const QRect twips = TwipGeometry(widget);
    return {twips.left(), twips.top(), twips.width(), twips.height()};
}

void QtWindow::SetGeometry(ControlId control, const TwipRect& twips) {
    if (QWidget* widget = Widget(control)) {
        SetTwipGeometry(widget, twips.Left, twips.Top, twips.Width, twips.Height);
    }
}

void QtWindow::SetLineEnd(ControlId line, int x2) {
    if (auto* rule = Widget<QFrame>(line)) {
        SetRuleEnd(rule, x2);
    }
}

void QtWindow::SetComboItems(ControlId combo, const std::vector<std::string>& items, int current) {
    auto* box = Widget<QComboBox>(combo);
    if (box == nullptr) {
        return;
    }
    box->clear();
    for (const std::string& item : items) {
        box->addItem(DisplayString(item));
    }
    box->setCurrentIndex(current);
}

void QtWindow::SetViewerText(ControlId textBox, std::string_view text) {
    auto* viewer = Widget<QPlainTextEdit>(textBox);
    if (viewer == nullptr) {
        return;
    }
    if (text.empty()) {
        viewer->clear();
    } else {
        viewer->setPlainText(ViewerText(text));
    }
}

void QtWindow::ListRowsAboutToReset() {
    listModel_->BeginReset();
}

void QtWindow::ListRowsReset() {
    listModel_->EndReset();
}

void QtWindow::ListRowsAboutToMove() {
    listModel_->BeginMove();
}

void QtWindow::ListRowsMoved(const std::vector<std::size_t>& newPositions) {
    listModel_->EndMove(newPositions);
}

void QtWindow::ListRowsChanged(int first, int last) {
    listModel_->RowsChanged(first, last);
}

void QtWindow::ListCheckMarksChanged(int first, int last) {
    listModel_->CheckMarksChanged(first, last);
}

void QtWindow::ShowSortIndicator(int column, SortOrder order, bool shown) {
    QHeaderView* header = list_->header();
    header->setSortIndicatorShown(shown);
    header->setSortIndicator(
        column, order == SortOrder::Ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

std::vector<bool> QtWindow::SelectedRows() const {
    std::vector<bool> rows(static_cast<std::size_t>(listModel_->rowCount()), false);
    // Ranges may overlap; each row is taken once.
    for (const QItemSelectionRange& range : list_->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (row >= 0 && static_cast<std::size_t>(row) < rows.size()) {
                rows[static_cast<std::size_t>(row)] = true;
            }
        }
    }
    return rows;
}

void QtWindow::SelectRows(const std::vector<bool>& rows) {
    // One range per run of selected rows. The old selection is cleared first, so
    // that the selection model never compares two large selections range by range.
    QItemSelection selection;
    const int lastColumn = listModel_->columnCount() - 1;
    const int count = std::min(static_cast<int>(rows.size()), listModel_->rowCount());
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
    QItemSelectionModel* model = list_->selectionModel();
    model->clearSelection();
    if (!selection.isEmpty()) {
        model->select(selection, QItemSelectionModel::Select);
    }
}

int QtWindow::CurrentRow() const {
    const QModelIndex current = list_->currentIndex();
    return current.isValid() ? current.row() : -1;
}

}  // namespace versemark
