// SPDX-License-Identifier: GPL-3.0-or-later
#include "winapp/WinControls.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "platform/CodePage.h"
#include "platform/win32/WideText.h"

namespace versemark::winapp {
namespace {

constexpr unsigned long kSystemColourFlag = 0x80000000UL;
constexpr unsigned long kSystemColourIndexMask = 0xFF;
constexpr int kRuleThickness = 15;  // one pixel at 96 dpi
constexpr int kListBorders = 2;     // an open drop-down list's border, in pixels

// Notifications and colour requests of a container's children go to the top
// window, which handles every control of the window in one place.
LRESULT CALLBACK PanelProcedure(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_DRAWITEM:
            return SendMessageW(GetAncestor(panel, GA_ROOT), message, wParam, lParam);
        default:
            return DefWindowProcW(panel, message, wParam, lParam);
    }
}

HINSTANCE InstanceOf(HWND window) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
}

}  // namespace

void RegisterPanelClass(HINSTANCE instance) {
    WNDCLASSEXW panelClass{};
    panelClass.cbSize = sizeof(panelClass);
    panelClass.lpfnWndProc = PanelProcedure;
    panelClass.hInstance = instance;
    panelClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    panelClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    panelClass.lpszClassName = kPanelClass;
    RegisterClassExW(&panelClass);
}

COLORREF ToColorRef(unsigned long value) {
    if ((value & kSystemColourFlag) != 0) {
        return GetSysColor(static_cast<int>(value & kSystemColourIndexMask));
    }
    return static_cast<COLORREF>(value);
}

std::wstring DisplayWide(std::string_view bytes) {
    return win32::Wide(DisplayUtf8(bytes));
}

int ControlSet::ToPixels(int twips) const {
    return static_cast<int>(std::lround(static_cast<double>(twips) * dpi_ / kTwipsPerInch));
}

int ControlSet::ToTwips(int pixels) const {
    return static_cast<int>(std::lround(static_cast<double>(pixels) * kTwipsPerInch / dpi_));
}

HWND ControlSet::Make(HWND parent, const wchar_t* windowClass, DWORD style, DWORD extendedStyle,
                      TwipRect at) {
    HWND control = CreateWindowExW(extendedStyle, windowClass, L"", style | WS_CHILD | WS_VISIBLE,
                                   0, 0, 0, 0, parent, nullptr, InstanceOf(parent), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    twips_[control] = at;
    Place(control);
    return control;
}

HWND ControlSet::MakeFrame(HWND parent, std::string_view caption, TwipRect at) {
    // The frame is a container; its group box is drawn over the container's
    // whole area, behind the panel that holds the controls (KeepFrameBoxesBehind).
    HWND frame = Make(parent, kPanelClass, 0, WS_EX_CONTROLPARENT, at);
    HWND box =
        Make(frame, L"BUTTON", BS_GROUPBOX | WS_CLIPSIBLINGS, 0, {0, 0, at.Width, at.Height});
    SetCaption(box, caption);
    frameBoxes_[frame] = box;
    return frame;
}

HWND ControlSet::MakePanel(HWND parent, TwipRect at) {
    return Make(parent, kPanelClass, WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, at);
}

HWND ControlSet::MakeLabel(HWND parent, std::string_view caption, TwipRect at, AutoSize autoSize) {
    // SS_NOTIFY lets the tooltip control see the mouse over the label.
    const DWORD style =
        SS_LEFT | SS_NOPREFIX | SS_NOTIFY | (autoSize == AutoSize::On ? SS_LEFTNOWORDWRAP : 0);
    HWND label = Make(parent, L"STATIC", style, 0, at);
    autoSized_[label] = autoSize == AutoSize::On;
    SetCaption(label, caption);
    return label;
}

HWND ControlSet::MakeButton(HWND parent, std::string_view caption, TwipRect at) {
    // Drawn by the window (WinButtonFace.h), so that a caption of several lines
    // is wrapped and centred as measured.
    HWND button = Make(parent, L"BUTTON", BS_OWNERDRAW | WS_TABSTOP, 0, at);
    SetCaption(button, caption);
    return button;
}

HWND ControlSet::MakeCheckBox(HWND parent, std::string_view caption, TwipRect at) {
    HWND box = Make(parent, L"BUTTON", BS_AUTOCHECKBOX | BS_MULTILINE | WS_TABSTOP, 0, at);
    SetCaption(box, caption);
    return box;
}

HWND ControlSet::MakePicture(HWND parent, TwipRect at) {
    // Centred, the icon is drawn at its own size and the control keeps its place:
    // otherwise the system sizes the control to the icon, or stretches the icon.
    return Make(parent, L"STATIC", SS_ICON | SS_REALSIZEIMAGE | SS_CENTERIMAGE | SS_NOTIFY, 0, at);
}

HWND ControlSet::MakeRule(HWND parent, int x1, int y1, int x2, int y2) {
    const bool horizontal = y1 == y2;
    const TwipRect at = horizontal ? TwipRect{x1, y1, x2 - x1, kRuleThickness}
                                   : TwipRect{x1, y1, kRuleThickness, y2 - y1};
    return Make(parent, L"STATIC", SS_BLACKRECT, 0, at);
}

TwipRect ControlSet::Geometry(HWND control) const {
    const auto found = twips_.find(control);
    return found == twips_.end() ? TwipRect{} : found->second;
}

void ControlSet::SetGeometry(HWND control, TwipRect at) {
    twips_[control] = at;
    Place(control);
}

void ControlSet::SetLeft(HWND control, int left) {
    TwipRect at = Geometry(control);
    at.Left = left;
    SetGeometry(control, at);
}

void ControlSet::SetWidth(HWND control, int width) {
    TwipRect at = Geometry(control);
    at.Width = width;
    SetGeometry(control, at);
}

void ControlSet::SetRuleEnd(HWND rule, int x2) {
    TwipRect at = Geometry(rule);
    at.Width = x2 - at.Left;
    if (at.Width >= 0) {
        SetGeometry(rule, at);
    }
}

void ControlSet::Place(HWND control) {
    // Both edges are rounded, so controls that meet in twips meet in pixels.
    const TwipRect at = twips_[control];
    const int left = ToPixels(at.Left);
    const int top = ToPixels(at.Top);
    MoveWindow(control, left, top, ToPixels(at.Left + at.Width) - left,
               ToPixels(at.Top + at.Height) - top + OpenListHeight(control), TRUE);
}

HWND ControlSet::MakeDropDownList(HWND parent, TwipRect at, int visibleEntries) {
    HWND list = Make(parent, WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, at);
    SendMessageW(list, CB_SETMINVISIBLE, static_cast<WPARAM>(visibleEntries), 0);
    listEntries_[list] = visibleEntries;
    Place(list);  // again, now with the list's height
    return list;
}

int ControlSet::OpenListHeight(HWND control) const {
    const auto found = listEntries_.find(control);
    if (found == listEntries_.end()) {
        return 0;
    }
    // The entries' height (the font's) and the list's border above and below.
    const auto entryHeight = static_cast<int>(SendMessageW(control, CB_GETITEMHEIGHT, 0, 0));
    return found->second * std::max(entryHeight, 1) + kListBorders;
}

void ControlSet::KeepFrameBoxesBehind() {
    // A control made later lies below the earlier ones; the group boxes go to
    // the bottom, so that they clip nothing of the panels they frame.
    for (const auto& [frame, box] : frameBoxes_) {
        SetWindowPos(box, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

HWND ControlSet::FrameBox(HWND frame) const {
    const auto found = frameBoxes_.find(frame);
    return found == frameBoxes_.end() ? nullptr : found->second;
}

void ControlSet::SetCaption(HWND control, std::string_view caption) {
    // A frame's caption is its group box's.
    if (HWND box = FrameBox(control)) {
        control = box;
    }
    captions_[control] = std::string(caption);
    std::wstring text = DisplayWide(caption);
    // Buttons, check boxes and frames would take "&" for a mnemonic mark.
    wchar_t windowClass[16] = {};
    GetClassNameW(control, windowClass, 16);
    if (lstrcmpiW(windowClass, L"Button") == 0) {
        std::wstring escaped;
        for (const wchar_t c : text) {
            escaped += c;
            if (c == L'&') {
                escaped += L'&';
            }
        }
        text = std::move(escaped);
    }
    SetWindowTextW(control, text.c_str());
    if (autoSized_[control]) {
        FitToCaption(control);
    } else {
        FitLongestWord(control);
    }
}

std::string ControlSet::Caption(HWND control) const {
    if (HWND box = FrameBox(control)) {
        control = box;
    }
    const auto found = captions_.find(control);
    return found == captions_.end() ? std::string() : found->second;
}

void ControlSet::FitToCaption(HWND control) {
    // A label that sizes itself takes the width and height of its one line.
    HDC dc = GetDC(control);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    const std::wstring text = DisplayWide(captions_[control]);
    RECT area{0, 0, 0, 0};
    DrawTextW(dc, text.empty() ? L" " : text.c_str(), -1, &area,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    TwipRect at = Geometry(control);
    at.Width = ToTwips(area.right - area.left);
    at.Height = std::max(at.Height, ToTwips(area.bottom - area.top));
    SetGeometry(control, at);
}

void ControlSet::FitLongestWord(HWND control) {
    // A fixed label wraps between words; a word wider than the label would be
    // cut ("Lyrics(2" for "Lyrics(2):" in a font wider than the design's), so
    // the label widens to it.
    wchar_t windowClass[16] = {};
    GetClassNameW(control, windowClass, 16);
    if (lstrcmpiW(windowClass, L"Static") != 0) {
        return;
    }
    HDC dc = GetDC(control);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    const std::wstring text = DisplayWide(captions_[control]);
    int widest = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find(L' ', start), text.size());
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str() + start, static_cast<int>(end - start), &extent);
        widest = std::max(widest, static_cast<int>(extent.cx));
        start = end + 1;
    }
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    TwipRect at = Geometry(control);
    if (ToPixels(at.Width) < widest) {
        at.Width = (widest * kTwipsPerInch + dpi_ - 1) / dpi_;  // rounded up
        SetGeometry(control, at);
    }
}

void ControlSet::SetTextColour(HWND control, unsigned long value) {
    colours_[control] = value;
    InvalidateRect(control, nullptr, TRUE);
}

unsigned long ControlSet::TextColourValue(HWND control) const {
    const auto found = colours_.find(control);
    return found == colours_.end() ? kDefaultTextColour : found->second;
}

COLORREF ControlSet::TextColour(HWND control) const {
    return ToColorRef(TextColourValue(control));
}

void ControlSet::SetFont(HWND control, HFONT font) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (autoSized_[control]) {
        FitToCaption(control);
    } else if (captions_.contains(control)) {
        FitLongestWord(control);  // a fixed label's
    }
}

}  // namespace versemark::winapp
