// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <compare>
#include <string>
#include <string_view>

// The main window's controls by their design names. A control array (Label1,
// cmdSel, img, ...) is one name with an element number; a single control has
// element 0. The window logic names the controls it acts on this way, and each
// view keeps its own map from these names to its toolkit's controls.
namespace versemark {

enum class ControlName {
    // Frames and panels.
    fraFrames,  // 0 "Browse", 1 "Select songs", 2 "Insert tags", 3 "Selected song information"
    Picture1,   // the panels inside frames 0, 1 and 2 (elements 0, 1, 3)
    picInfo,    // the song information panel inside frame 3

    // Labels, pictures and rules.
    Label1,  // elements 0-10
    Label2,
    Label3,
    lblInfo,  // 0 the MP3 file's name, 1 the lyrics file's name
    img,      // elements 0-6, pictures of the image list
    Line1,
    Line2,
    Line3,
    Line4,

    // Commands.
    cmdBrowseForFolder,
    chkSubfolders,
    cmdSel,    // elements 0, 1, 2, 3, 5, 6 (no 4)
    cmdCheck,  // 0 "Check selected", 1 "Uncheck selected"
    cmdTagThem,
    chkAlsoId3v2,  // only in a build that can write the ID3v2 lyrics frame
    chkAllFormats,
    chkBesideFile,
    cmdDisplayLyrics,
    cmdDisplaySavedLyrics,
    cboLyrics,

    // The result list and the text box that takes its place.
    list,
    txtViewLyrics,
};

struct Control {
    ControlName Name;
    int Element = 0;

    friend constexpr bool operator==(Control, Control) = default;
    friend constexpr auto operator<=>(Control, Control) = default;
};

// The design name ("Label1", "cboLyrics"), and whether the name is a control array.
std::string_view NameOf(ControlName name);
bool IsControlArray(ControlName name);
// The control's name with its element: "Label1_2" for an element of an array,
// "cboLyrics" for a single control.
std::string ElementName(Control control);

// A rectangle in twips, in the coordinates of the control's container.
struct TwipRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    friend constexpr bool operator==(const TwipRect&, const TwipRect&) = default;
};

struct TwipSize {
    int Width = 0;
    int Height = 0;
};

}  // namespace versemark
