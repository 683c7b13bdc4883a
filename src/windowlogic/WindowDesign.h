// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "matching/RowList.h"
#include "windowlogic/Colours.h"
#include "windowlogic/Control.h"

// The main window as designed: every control with its container, place and size
// in twips, caption, tooltip, font, colour and first state. Both views create
// their controls from this table, in its order (a later control lies above an
// earlier one at the same place).
namespace versemark {

enum class ControlKind {
    Frame,     // a captioned group box
    Panel,     // a borderless container
    Label,     // plain text; a fixed label wraps within its width
    Picture,   // one picture of the image list, within the control's room
    Rule,      // a one-pixel line (see ControlDesign::Place)
    Button,    // a push button whose caption wraps within its width
    CheckBox,  // a check box whose caption wraps within its width
    ComboBox,  // a drop-down list
    ListView,  // the report-style result list with check boxes
    TextBox,   // the read-only multi-line viewer
};

enum class DesignFont {
    Default,      // MS Sans Serif 8.25 pt
    Bold,         // the default, bold
    LyricsCount,  // Verdana 8.25 pt italic
    Viewer,       // Courier New 8.25 pt
};

struct ControlDesign {
    ControlId Id;
    // The form designer's name: Qt object names, the Windows tests and the
    // screenshots find the control by it ("Label1_1", "cmdSel_5", "cboLyrics").
    std::string_view Name;
    ControlKind Kind;
    std::optional<ControlId> Container{};  // none: the window itself
    std::string_view Caption{};
    // Place and size in the container. A rule runs from (Left, Top) to
    // (Left + Width, Top + Height): one of Width and Height is 0.
    TwipRect Place{};
    bool AutoSize = false;  // a label that takes the size of its caption
    std::string_view ToolTip{};
    DesignFont Font = DesignFont::Default;
    std::optional<Colour> TextColour{};  // none: the system's text colour
    bool Visible = true;
    bool Enabled = true;
    bool Checked = false;  // a check box's first mark
};

// The controls in creation order, each once. AlsoId3v2Box is in the table; a view
// creates it only when the build can write the ID3v2 lyrics frame
// (Id3v2LyricsAvailable).
std::span<const ControlDesign> WindowDesign();

// The window's own design name (the controls' names are in the table).
inline constexpr std::string_view kWindowDesignName = "frmMain";

// The window's inner size at design time.
inline constexpr TwipSize kDesignClientSize{12585, 9795};

// The result list's columns: header captions and widths in twips; the lyrics
// column's header shows a picture of the image list.
inline constexpr std::string_view kColumnCaptions[kColumnCount] = {"", "Mp3 file", "Lyrics file"};
inline constexpr int kColumnWidths[kColumnCount] = {300, 4000, 4000};

// The order of the Tab key through the controls, from step one to step three
// (AlsoId3v2Box, where it exists, just before the last, BesideFileBox).
std::span<const ControlId> TabOrder();

}  // namespace versemark
