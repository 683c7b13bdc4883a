// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "matching/RowList.h"
#include "windowlogic/Colours.h"
#include "windowlogic/Control.h"

// What the window logic asks of a view: the Qt window on Linux and the window of
// the Windows common controls are two implementations. A view only places
// controls, shows what it is told and passes the user's events on to the logic.
//
// Text passes as bytes (names and paths as the file system has them, lyrics as
// stored); the view converts them to its own text with the one display rule
// (valid UTF-8 as UTF-8, anything else as Windows-1252, a character a byte).
// A call on a control the view does not have (AlsoId3v2Box in a build without
// the ID3v2 lyrics frame) does nothing.
namespace versemark {

class WindowView {
  public:
    virtual ~WindowView() = default;

    // --- Any control --------------------------------------------------------

    // The caption of a label, button, check box or frame. A label that sizes
    // itself takes the size of its new text.
    virtual void SetCaption(ControlId control, std::string_view caption) = 0;
    virtual void SetToolTip(ControlId control, std::string_view tip) = 0;
    virtual void SetVisible(ControlId control, bool visible) = 0;
    virtual void SetEnabled(ControlId control, bool enabled) = 0;
    // The text colour of a label, button or check box (a value of Colours.h).
    virtual void SetTextColour(ControlId control, Colour colour) = 0;
    virtual void SetBold(ControlId control, bool bold) = 0;
    // The check mark of a check box (set by the program: the
    // view does not report it back as a click).
    virtual void SetChecked(ControlId control, bool checked) = 0;
    // The check mark as it stands (false for a control the view does not have).
    virtual bool IsChecked(ControlId control) const = 0;
    // The picture a picture control shows: a number of the image list (RowLook.h),
    // kPictureNone for none.
    virtual void SetPicture(ControlId control, int picture) = 0;
    // Draws the control now, while a pass keeps the event loop waiting.
    virtual void Refresh(ControlId control) = 0;

    // --- Keyboard focus -----------------------------------------------------

    virtual std::optional<ControlId> FocusedControl() const = 0;
    // Moves the focus to the control; a hidden or disabled control does not take it.
    virtual void SetFocus(ControlId control) = 0;

    // --- Geometry, in twips -------------------------------------------------

    // The window's inner size.
    virtual TwipSize ClientSize() const = 0;
    // The rectangle the control was last given (in its container's coordinates).
    virtual TwipRect Geometry(ControlId control) const = 0;
    virtual void SetGeometry(ControlId control, const TwipRect& twips) = 0;
    // Moves the right end (X2) of a horizontal rule (InfoRule).
    virtual void SetLineEnd(ControlId line, int x2) = 0;

    // --- The lyrics choice --------------------------------------------------

    // Replaces the entries of the combo box and makes `current` the chosen one
    // (-1: none). The view may report the change as ChooseLyrics; the logic
    // ignores what it reports while it fills the box.
    virtual void SetComboItems(ControlId combo, const std::vector<std::string>& items,
                               int current) = 0;

    // --- The lyrics viewer --------------------------------------------------

    // The text of the read-only multi-line text box; stored text has CR LF line
    // ends, which the view shows as line breaks. Empty clears it.
    virtual void SetViewerText(ControlId textBox, std::string_view text) = 0;

    // --- The result list ----------------------------------------------------
    //
    // The rows live in the logic (WindowLogic::Rows()); the view shows
    // Rows().VisibleCount() rows and reads each cell through RowLook.h. These
    // calls tell the view what changed. Row numbers are 0-based positions.

    // Every row may have changed, and their number: before and after the change.
    virtual void ListRowsAboutToReset() = 0;
    virtual void ListRowsReset() = 0;
    // The rows are reordered (a sort): before and after. `newPositions[old]` is
    // the new position of the row that was at `old`; the selection and the
    // current row follow their rows.
    virtual void ListRowsAboutToMove() = 0;
    virtual void ListRowsMoved(const std::vector<std::size_t>& newPositions) = 0;
    // Check marks, texts, pictures or colours of rows first..last have changed.
    virtual void ListRowsChanged(int first, int last) = 0;
    // Only the check marks (and with them the row texts) of rows first..last have
    // changed. A view that can redraw just the check column does so here.
    virtual void ListCheckMarksChanged(int first, int last) { ListRowsChanged(first, last); }
    // The header's sort arrow on a 0-based column; `shown` false hides it.
    virtual void ShowSortIndicator(int column, SortOrder order, bool shown) = 0;
    // The selected rows, one flag a row (VisibleCount() flags).
    virtual std::vector<bool> SelectedRows() const = 0;
    // Selects exactly the flagged rows; the current row stays.
    virtual void SelectRows(const std::vector<bool>& rows) = 0;
    // The current (focused) row; -1 when there is none.
    virtual int CurrentRow() const = 0;
};

}  // namespace versemark
