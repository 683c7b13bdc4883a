// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

// The window's push buttons are owner-drawn: the system's button face and frame
// (the visual style's where the button has one), the caption wrapped between
// words and centred both ways, and the focus rectangle. The system's own
// multi-line buttons wrap a caption more narrowly under some systems than they
// measure it, which cut the third line of a two-line caption off.
namespace versemark::winapp {

// Pixels at 96 dpi between a button's edges and its caption: left and right, and
// above and below (the frame's width).
inline constexpr int kButtonTextSideInset = 3;
inline constexpr int kButtonTextEndInset = 2;

// The area of a button's client rectangle `client` its caption wraps within.
RECT ButtonTextArea(RECT client, int dpi);

// Draws the push button of a WM_DRAWITEM request.
void DrawButtonFace(const DRAWITEMSTRUCT& item, int dpi);

}  // namespace versemark::winapp
