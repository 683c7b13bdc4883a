// SPDX-License-Identifier: GPL-3.0-or-later
#include "winapp/WinButtonFace.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <string>

#include "winapp/WinControls.h"

namespace versemark::winapp {
namespace {

constexpr int kFocusInset = 3;  // pixels at 96 dpi between the edge and the focus rectangle
// How a caption is laid out: wrapped between words, centred, "&&" shown as "&"
// (captions are given with their "&" doubled).
constexpr UINT kCaptionFormat = DT_WORDBREAK | DT_CENTER | DT_HIDEPREFIX | DT_NOCLIP;

std::wstring CaptionOf(HWND button) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(button)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(button, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Hot: under the mouse, as the drawing state says, or as the styled button
// control keeps it (it does not always say so to an owner-drawn button).
int ThemeState(HWND button, UINT state) {
    if ((state & ODS_DISABLED) != 0) {
        return PBS_DISABLED;
    }
    if ((state & ODS_SELECTED) != 0) {
        return PBS_PRESSED;
    }
    if ((state & ODS_HOTLIGHT) != 0 || (SendMessageW(button, BM_GETSTATE, 0, 0) & BST_HOT) != 0) {
        return PBS_HOT;
    }
    return PBS_NORMAL;
}

// The face and frame: the button's visual style where it has one, else the
// classic raised (or, pressed, sunken) button.
void DrawFace(HWND button, HDC dc, RECT client, UINT state) {
    if (HTHEME theme = GetWindowTheme(button)) {
        DrawThemeParentBackground(button, dc, &client);
        DrawThemeBackground(theme, dc, BP_PUSHBUTTON, ThemeState(button, state), &client, nullptr);
        return;
    }
    DrawFrameControl(dc, &client, DFC_BUTTON,
                     DFCS_BUTTONPUSH | ((state & ODS_SELECTED) != 0 ? DFCS_PUSHED : 0));
}

// The caption within `area`, centred from top to bottom; a caption taller than
// the area reaches beyond it equally above and below.
void DrawCaption(HWND button, HDC dc, RECT area, UINT state) {
    const std::wstring caption = CaptionOf(button);
    RECT measured = area;
    DrawTextW(dc, caption.c_str(), -1, &measured, kCaptionFormat | DT_CALCRECT);
    const LONG height = measured.bottom - measured.top;
    area.top += (area.bottom - area.top - height) / 2;
    area.bottom = area.top + height;
    if ((state & ODS_SELECTED) != 0) {
        OffsetRect(&area, 1, 1);  // a pressed button's caption moves with its face
    }
    if (HTHEME theme = GetWindowTheme(button)) {
        DrawThemeText(theme, dc, BP_PUSHBUTTON, ThemeState(button, state), caption.c_str(), -1,
                      kCaptionFormat, 0, &area);
        return;
    }
    SetTextColor(dc, GetSysColor((state & ODS_DISABLED) != 0 ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    DrawTextW(dc, caption.c_str(), -1, &area, kCaptionFormat);
}

}  // namespace

RECT ButtonTextArea(RECT client, int dpi) {
    InflateRect(&client, -kButtonTextSideInset * dpi / kDesignDpi,
                -kButtonTextEndInset * dpi / kDesignDpi);
    return client;
}

void DrawButtonFace(const DRAWITEMSTRUCT& item, int dpi) {
    if (item.CtlType != ODT_BUTTON) {
        return;
    }
    HWND button = item.hwndItem;
    HDC dc = item.hDC;
    const RECT client = item.rcItem;
    DrawFace(button, dc, client, item.itemState);
    HGDIOBJ oldFont =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    DrawCaption(button, dc, ButtonTextArea(client, dpi), item.itemState);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
    if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
        RECT focus = client;
        const int inset = MulDiv(kFocusInset, dpi, kDesignDpi);
        InflateRect(&focus, -inset, -inset);
        DrawFocusRect(dc, &focus);
    }
}

}  // namespace versemark::winapp
