// SPDX-License-Identifier: GPL-3.0-or-later
// The result list: a virtual report-view list that reads its rows from the
// logic's row store. The list keeps only the selection and the focus; the check
// marks, texts, pictures and colours are read from the rows whenever drawn.
#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "winapp/Win32Window.h"
#include "windowlogic/RowLook.h"
#include "windowlogic/WindowLogic.h"

namespace versemark::winapp {
namespace {

constexpr int kUncheckedStateImage = 1;
constexpr int kCheckedStateImage = 2;

}  // namespace

LRESULT CALLBACK Win32Window::ListProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR self) {
    auto* window = reinterpret_cast<Win32Window*>(self);
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (window->OnListMouse(message, lParam)) {
                return 0;
            }
            break;
        case WM_KEYDOWN:
            // Space checks or unchecks the current row and the rows selected with
            // it, as the logic says; the list does not toggle anything itself.
            if (wParam == VK_SPACE) {
                if (window->logic_ != nullptr) {
                    window->logic_->CheckKeyPressed();
                }
                return 0;
            }
            break;
        case WM_CHAR:
            if (wParam == L' ') {
                return 0;
            }
            break;
        default:
            break;
    }
    return DefSubclassProc(list, message, wParam, lParam);
}

bool Win32Window::OnListMouse(UINT, LPARAM lParam) {
    // A click on a row's check box is the user's check-box click; the list's
    // selection stays as it is.
    HWND list = Handle(ControlId::ResultList);
    LVHITTESTINFO hit{};
    hit.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const int row = ListView_HitTest(list, &hit);
    // A full-row list reports a point beside the first column as on every part
    // of the row at once; only the state picture alone is the check box.
    if (logic_ == nullptr || row < 0 || (hit.flags & LVHT_ONITEM) != LVHT_ONITEMSTATEICON ||
        row >= logic_->Rows().VisibleCount()) {
        return false;
    }
    ::SetFocus(list);
    logic_->RowChecked(row, !logic_->Rows().Row(row).Checked);
    return true;
}

LRESULT Win32Window::OnNotify(NMHDR* header) {
    if (header->hwndFrom == Handle(ControlId::ResultList)) {
        return OnListNotify(header);
    }
    return 0;
}

LRESULT Win32Window::OnListNotify(NMHDR* header) {
    if (logic_ == nullptr) {
        return 0;
    }
    switch (header->code) {
        case LVN_GETDISPINFOW:
            OnDisplayInfo(reinterpret_cast<NMLVDISPINFOW*>(header));
            return 0;
        case NM_CUSTOMDRAW:
            return OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(header));
        case LVN_COLUMNCLICK:
            logic_->SortByColumn(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
            return 0;
        case NM_CLICK:
            OnListClick(reinterpret_cast<NMITEMACTIVATE*>(header));
            return 0;
        case LVN_ITEMCHANGED:
            OnListStateChange(reinterpret_cast<NMLISTVIEW*>(header));
            return 0;
        case LVN_GETINFOTIPW: {
            // A cell's tip is its file's full path.
            auto* tip = reinterpret_cast<NMLVGETINFOTIPW*>(header);
            if (tip->iItem >= 0 && tip->iItem < logic_->Rows().VisibleCount()) {
                // The row-text column has no tip of its own: the MP3 file's.
                const int column = tip->iSubItem == kColumnRowText ? kColumnMp3 : tip->iSubItem;
                cellText_ = DisplayWide(CellToolTip(logic_->Rows().Row(tip->iItem), column));
                lstrcpynW(tip->pszText, cellText_.c_str(), tip->cchTextMax);
            }
            return 0;
        }
        default:
            return 0;
    }
}

void Win32Window::OnDisplayInfo(NMLVDISPINFOW* info) {
    LVITEMW& item = info->item;
    if (item.iItem < 0 || item.iItem >= logic_->Rows().VisibleCount()) {
        return;
    }
    const ResultRow& row = logic_->Rows().Row(item.iItem);
    if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
        cellText_ = DisplayWide(CellText(row, item.iSubItem));
        lstrcpynW(item.pszText, cellText_.c_str(), item.cchTextMax);
    }
    if ((item.mask & LVIF_IMAGE) != 0) {
        const int position = PictureList::Position(CellPicture(row, item.iSubItem));
        item.iImage = position < 0 ? I_IMAGENONE : position;
    }
    if ((item.mask & LVIF_STATE) != 0) {
        item.state = (item.state & ~LVIS_STATEIMAGEMASK) |
                     INDEXTOSTATEIMAGEMASK(row.Checked ? kCheckedStateImage : kUncheckedStateImage);
        item.stateMask |= LVIS_STATEIMAGEMASK;
    }
}

LRESULT Win32Window::OnCustomDraw(NMLVCUSTOMDRAW* draw) const {
    switch (draw->nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT:
            return CDRF_NOTIFYSUBITEMDRAW;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
            // The two text colours of a row: a tagged MP3 file, shared lyrics.
            const int position = static_cast<int>(draw->nmcd.dwItemSpec);
            if (position < 0 || position >= logic_->Rows().VisibleCount()) {
                return CDRF_DODEFAULT;
            }
            const std::optional<Colour> colour =
                CellColour(logic_->Rows().Row(position), draw->iSubItem);
            draw->clrText = colour ? ToColorRef(*colour) : GetSysColor(COLOR_WINDOWTEXT);
            return CDRF_NEWFONT;
        }
        default:
            return CDRF_DODEFAULT;
    }
}

void Win32Window::OnListStateChange(const NMLISTVIEW* change) {
    // A row made current by the user (mouse or keyboard) is a row click.
    const bool focused =
        (change->uNewState & LVIS_FOCUSED) != 0 && (change->uOldState & LVIS_FOCUSED) == 0;
    if (settingList_ || !focused || change->iItem < 0 ||
        change->iItem >= logic_->Rows().VisibleCount()) {
        return;
    }
    focusReported_ = change->iItem;
    logic_->RowClicked(change->iItem);
}

void Win32Window::OnListClick(const NMITEMACTIVATE* click) {
    // A click on the row that is current already: the focus did not change.
    const int row = click->iItem;
    if (row < 0 || row >= logic_->Rows().VisibleCount()) {
        return;
    }
    if (row == focusReported_) {
        focusReported_ = -1;
        return;
    }
    logic_->RowClicked(row);
}

// --- WindowView: list -----------------------------------------------------------

void Win32Window::ListRowsAboutToReset() {}

void Win32Window::ListRowsReset() {
    HWND list = Handle(ControlId::ResultList);
    settingList_ = true;
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemCountEx(list, logic_ != nullptr ? logic_->Rows().VisibleCount() : 0, 0);
    settingList_ = false;
    focusReported_ = -1;
    InvalidateRect(list, nullptr, TRUE);
}

void Win32Window::ListRowsAboutToMove() {
    selectionBeforeMove_ = SelectedRows();
    currentBeforeMove_ = CurrentRow();
}

void Win32Window::ListRowsMoved(const std::vector<std::size_t>& newPositions) {
    std::vector<bool> selection(newPositions.size(), false);
    for (std::size_t old = 0; old < newPositions.size() && old < selectionBeforeMove_.size();
         ++old) {
        selection[newPositions[old]] = selectionBeforeMove_[old];
    }
    SelectRows(selection);
    HWND list = Handle(ControlId::ResultList);
    if (currentBeforeMove_ >= 0 &&
        static_cast<std::size_t>(currentBeforeMove_) < newPositions.size()) {
        settingList_ = true;
        const int current =
            static_cast<int>(newPositions[static_cast<std::size_t>(currentBeforeMove_)]);
        ListView_SetItemState(list, current, LVIS_FOCUSED, LVIS_FOCUSED);
        settingList_ = false;
        focusReported_ = -1;
    }
    InvalidateRect(list, nullptr, TRUE);
}

void Win32Window::ListRowsChanged(int first, int last) {
    ListView_RedrawItems(Handle(ControlId::ResultList), first, last);
}

void Win32Window::ShowSortIndicator(int column, SortOrder order, bool shown) {
    HWND header = ListView_GetHeader(Handle(ControlId::ResultList));
    for (int each = 0; each < kColumnCount; ++each) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        Header_GetItem(header, each, &item);
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (shown && each == column) {
            item.fmt |= order == SortOrder::Ascending ? HDF_SORTUP : HDF_SORTDOWN;
        }
        Header_SetItem(header, each, &item);
    }
}

std::vector<bool> Win32Window::SelectedRows() const {
    const int count = logic_ != nullptr ? logic_->Rows().VisibleCount() : 0;
    HWND list = Handle(ControlId::ResultList);
    // None and all are answered at once; the list is asked row by row otherwise.
    const int selected = ListView_GetSelectedCount(list);
    std::vector<bool> rows(static_cast<std::size_t>(count), selected >= count && count > 0);
    if (selected == 0 || selected >= count) {
        return rows;
    }
    for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED); row >= 0 && row < count;
         row = ListView_GetNextItem(list, row, LVNI_SELECTED)) {
        rows[static_cast<std::size_t>(row)] = true;
    }
    return rows;
}

void Win32Window::SelectRows(const std::vector<bool>& rows) {
    HWND list = Handle(ControlId::ResultList);
    settingList_ = true;
    // While the selection is set the list need not ask for the check marks of
    // every row it touches: that request is most of the time it takes.
    const UINT callbackMask = ListView_GetCallbackMask(list);
    ListView_SetCallbackMask(list, 0);
    const bool all = !rows.empty() && std::find(rows.begin(), rows.end(), false) == rows.end();
    ListView_SetItemState(list, -1, all ? LVIS_SELECTED : 0, LVIS_SELECTED);
    if (!all) {
        for (std::size_t row = 0; row < rows.size(); ++row) {
            if (rows[row]) {
                ListView_SetItemState(list, static_cast<int>(row), LVIS_SELECTED, LVIS_SELECTED);
            }
        }
    }
    ListView_SetCallbackMask(list, callbackMask);
    settingList_ = false;
    InvalidateRect(list, nullptr, FALSE);
}

int Win32Window::CurrentRow() const {
    return ListView_GetNextItem(Handle(ControlId::ResultList), -1, LVNI_FOCUSED);
}

}  // namespace versemark::winapp
