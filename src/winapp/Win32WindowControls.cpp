// SPDX-License-Identifier: GPL-3.0-or-later
// The window's controls as designed (the design table shared with the other
// view): containers, twip places, captions, fonts, colours, first states, the
// list's columns and the tab order.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <map>

#include "tags/Id3v2Lyrics.h"
#include "winapp/Win32Window.h"
#include "windowlogic/RowLook.h"
#include "windowlogic/WindowDesign.h"

namespace versemark::winapp {
namespace {

// The design's fonts: 8.25 points.
constexpr int kDesignPointSizeHundredths = 825;
constexpr int kHundredthPointsPerInch = 7200;
// How many entries the open drop-down list shows before it scrolls.
constexpr int kComboVisibleEntries = 12;
// Long tooltips (paths) wrap at this width.
constexpr int kToolTipWidth = 9000;

HFONT MakeFont(const wchar_t* face, int dpi, int weight, bool italic) {
    LOGFONTW font{};
    // Whole pixels, rounded down: a font rounded up (14 pixels for 13.75 at 120
    // dpi, 17 for 16.5 at 144) is wider than the controls sized for it at 96 dpi,
    // and captions that just fit there wrap and are cut off.
    font.lfHeight = -(kDesignPointSizeHundredths * dpi / kHundredthPointsPerInch);
    font.lfWeight = weight;
    font.lfItalic = italic ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

}  // namespace

Win32Window::Fonts Win32Window::MakeFonts(int dpi) {
    // The system's message font stands for the design's MS Sans Serif.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    Fonts fonts;
    fonts.Default = MakeFont(metrics.lfMessageFont.lfFaceName, dpi, FW_NORMAL, false);
    fonts.Bold = MakeFont(metrics.lfMessageFont.lfFaceName, dpi, FW_BOLD, false);
    fonts.LyricsCount = MakeFont(L"Verdana", dpi, FW_NORMAL, true);
    fonts.Viewer = MakeFont(L"Courier New", dpi, FW_NORMAL, false);
    return fonts;
}

HFONT Win32Window::FontOf(DesignFont font) const {
    switch (font) {
        case DesignFont::Bold:
            return fonts_.Bold;
        case DesignFont::LyricsCount:
            return fonts_.LyricsCount;
        case DesignFont::Viewer:
            return fonts_.Viewer;
        default:
            return fonts_.Default;
    }
}

void Win32Window::CreateControls() {
    toolTips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_,
                                nullptr, instance_, nullptr);
    SendMessageW(toolTips_, TTM_SETMAXTIPWIDTH, 0, controls_.ToPixels(kToolTipWidth));

    const bool id3v2 = Id3v2LyricsAvailable();
    for (const ControlDesign& design : WindowDesign()) {
        if (design.Id == ControlId::AlsoId3v2Box && !id3v2) {
            continue;  // only a build that can write the frame offers it
        }
        HWND parent = design.Container ? Handle(*design.Container) : window_;
        HWND control = MakeControl(design, parent);
        handles_[design.Id] = control;
        ids_[control] = design.Id;
        if (design.Font != DesignFont::Default) {
            controls_.SetFont(control, FontOf(design.Font));
        }
        if (design.TextColour) {
            controls_.SetTextColour(control, *design.TextColour);
        }
        if (!design.ToolTip.empty()) {
            SetToolTip(design.Id, design.ToolTip);
        }
        if (design.Checked) {
            SendMessageW(control, BM_SETCHECK, BST_CHECKED, 0);
        }
        if (!design.Enabled) {
            EnableWindow(control, FALSE);
        }
        if (!design.Visible) {
            ShowWindow(control, SW_HIDE);
        }
    }
    controls_.KeepFrameBoxesBehind();
}

HWND Win32Window::MakeControl(const ControlDesign& design, HWND parent) {
    const TwipRect& at = design.Place;
    switch (design.Kind) {
        case ControlKind::Frame:
            return controls_.MakeFrame(parent, design.Caption, at);
        case ControlKind::Panel:
            return controls_.MakePanel(parent, at);
        case ControlKind::Label:
            return controls_.MakeLabel(parent, design.Caption, at,
                                       design.AutoSize ? AutoSize::On : AutoSize::Off);
        case ControlKind::Picture:
            return controls_.MakePicture(parent, at);
        case ControlKind::Rule:
            return controls_.MakeRule(parent, at.Left, at.Top, at.Left + at.Width,
                                      at.Top + at.Height);
        case ControlKind::Button:
            return controls_.MakeButton(parent, design.Caption, at);
        case ControlKind::CheckBox:
            return controls_.MakeCheckBox(parent, design.Caption, at);
        case ControlKind::ComboBox:
            return controls_.MakeDropDownList(parent, at, kComboVisibleEntries);
        case ControlKind::ListView:
            return MakeList(parent, at);
        case ControlKind::TextBox:
            return controls_.Make(parent, WC_EDITW,
                                  ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL |
                                      WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | WS_CLIPSIBLINGS,
                                  WS_EX_CLIENTEDGE, at);
    }
    return nullptr;
}

HWND Win32Window::MakeList(HWND parent, const TwipRect& at) {
    // A virtual list: the rows are read from the logic's store when drawn.
    HWND list = controls_.Make(
        parent, WC_LISTVIEWW,
        LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | WS_TABSTOP | WS_CLIPSIBLINGS,
        WS_EX_CLIENTEDGE, at);
    ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT |
                                                LVS_EX_SUBITEMIMAGES | LVS_EX_INFOTIP |
                                                LVS_EX_DOUBLEBUFFER);
    ListView_SetImageList(list, pictures_.Handle(), LVSIL_SMALL);
    // The check marks are the rows': the list asks for them.
    ListView_SetCallbackMask(list, LVIS_STATEIMAGEMASK);
    for (int column = 0; column < kColumnCount; ++column) {
        std::wstring caption = DisplayWide(kColumnCaptions[column]);
        LVCOLUMNW header{};
        header.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
        header.fmt = LVCFMT_LEFT;
        header.pszText = caption.data();
        header.cx = controls_.ToPixels(kColumnWidths[column]);
        header.iSubItem = column;
        if (column == kColumnLyrics) {  // the lyrics column's header shows picture 1
            header.mask |= LVCF_IMAGE;
            header.fmt |= LVCFMT_IMAGE;
            header.iImage = PictureList::Position(kPictureFiltered);
        }
        ListView_InsertColumn(list, column, &header);
    }
    return list;
}

void Win32Window::SetTabOrder() {
    // Tab goes through siblings in their order and enters a container where it
    // lies among its siblings: each container's children are ordered by the
    // first control of the tab order they hold.
    std::map<HWND, std::vector<HWND>> children;
    for (const ControlId control : TabOrder()) {
        for (HWND child = Handle(control); child != nullptr && child != window_;
             child = GetParent(child)) {
            std::vector<HWND>& siblings = children[GetParent(child)];
            if (std::find(siblings.begin(), siblings.end(), child) == siblings.end()) {
                siblings.push_back(child);
            }
        }
    }
    for (const auto& [parent, siblings] : children) {
        for (std::size_t i = 1; i < siblings.size(); ++i) {
            SetWindowPos(siblings[i], siblings[i - 1], 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
    ::SetFocus(Handle(TabOrder().front()));
}

}  // namespace versemark::winapp
