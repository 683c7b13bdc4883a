// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <unordered_map>

#include "windowlogic/Control.h"

// The window's controls on the Windows common controls: made at twip positions
// inside their container, turned into pixels by the system's dpi (15 twips a
// pixel at 96 dpi). Each control keeps the twip rectangle it was last given, so
// the layout rules read back exact twips instead of rounded pixels; labels keep
// their text colour (a platform colour value) and whether they size themselves.
namespace versemark::winapp {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kDesignDpi = 96;

// The platform colour value of the list's and labels' default text (black).
inline constexpr unsigned long kDefaultTextColour = 0;

enum class AutoSize { Off, On };

// The window class of the containers (frames and panels): plain dialog-coloured
// windows that pass their children's notifications on to the top window.
inline constexpr wchar_t kPanelClass[] = L"VersemarkPanel";
void RegisterPanelClass(HINSTANCE instance);

class ControlSet {
  public:
    // `font` is the window's default font, given to every control made here.
    ControlSet(int dpi, HFONT font) : dpi_(dpi), font_(font) {}

    int Dpi() const { return dpi_; }
    int ToPixels(int twips) const;
    int ToTwips(int pixels) const;

    // Containers: a frame (group box with its caption) and a plain panel.
    HWND MakeFrame(HWND parent, std::string_view caption, TwipRect at);
    HWND MakePanel(HWND parent, TwipRect at);
    // Puts every frame's group box behind the controls made in the frame since.
    void KeepFrameBoxesBehind();
    // The group box that draws a frame (nullptr for other controls).
    HWND FrameBox(HWND frame) const;
    // Plain-text label: fixed ones wrap within their width, sized ones follow
    // their caption.
    HWND MakeLabel(HWND parent, std::string_view caption, TwipRect at,
                   AutoSize autoSize = AutoSize::Off);
    HWND MakeButton(HWND parent, std::string_view caption, TwipRect at);
    HWND MakeCheckBox(HWND parent, std::string_view caption, TwipRect at);
    // An image control: one icon, centred in its place.
    HWND MakePicture(HWND parent, TwipRect at);
    // A horizontal or vertical rule from (x1, y1) to (x2, y2).
    HWND MakeRule(HWND parent, int x1, int y1, int x2, int y2);
    // A drop-down list whose list shows `visibleEntries` entries before it scrolls.
    // Its place's height is the closed box's; the height the box is given adds
    // the list's, which is how the version 5 controls size the open list (the
    // version 6 ones count entries instead).
    HWND MakeDropDownList(HWND parent, TwipRect at, int visibleEntries);
    // A control of another class placed like the ones above.
    HWND Make(HWND parent, const wchar_t* windowClass, DWORD style, DWORD extendedStyle,
              TwipRect at);

    TwipRect Geometry(HWND control) const;
    void SetGeometry(HWND control, TwipRect at);
    void SetLeft(HWND control, int left);
    void SetWidth(HWND control, int width);
    // Moves the right end of a horizontal rule.
    void SetRuleEnd(HWND rule, int x2);

    // Captions are bytes of the program, shown by the one display rule.
    void SetCaption(HWND control, std::string_view caption);
    std::string Caption(HWND control) const;

    // Label and check-box text colours as platform values (0x00BBGGRR, or a
    // system colour index with the top bit set).
    void SetTextColour(HWND control, unsigned long value);
    unsigned long TextColourValue(HWND control) const;
    // The colour a WM_CTLCOLORSTATIC answer uses: black when none was set.
    COLORREF TextColour(HWND control) const;

    void SetFont(HWND control, HFONT font);

  private:
    void Place(HWND control);
    // The pixels a drop-down list opens below its box; 0 for other controls.
    int OpenListHeight(HWND control) const;
    void FitToCaption(HWND control);
    void FitLongestWord(HWND control);

    int dpi_;
    HFONT font_;
    std::unordered_map<HWND, TwipRect> twips_;
    std::unordered_map<HWND, unsigned long> colours_;
    std::unordered_map<HWND, bool> autoSized_;
    std::unordered_map<HWND, std::string> captions_;  // the bytes behind each caption
    std::unordered_map<HWND, HWND> frameBoxes_;       // a frame's container -> its group box
    std::unordered_map<HWND, int> listEntries_;       // a drop-down list -> its visible entries
};

// A platform colour value as the system's colour.
COLORREF ToColorRef(unsigned long value);

// Bytes of the program as the text the wide functions take: UTF-8 when valid,
// else Windows-1252.
std::wstring DisplayWide(std::string_view bytes);

}  // namespace versemark::winapp
