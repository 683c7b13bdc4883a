// SPDX-License-Identifier: GPL-3.0-or-later
// How the layout follows the window's size. Every step stands by itself: a step
// whose computed width or height is below zero is skipped, and its control keeps
// its previous place and size.
#include "windowlogic/WindowLogic.h"
#include "windowlogic/WindowView.h"

namespace versemark {
namespace {

// The step frames form a column of this width on the right.
constexpr int kStepFrameWidth = 3015;
// Left of the list, gap between list and frames, and right of the frames.
constexpr int kListLeft = 100;
constexpr int kColumnMargins = 300;
constexpr int kFrameRightMargin = 100;
// The list starts below the information frame and keeps a margin at the bottom.
constexpr int kListTop = 1295;
constexpr int kListBottomMargin = 300;
constexpr int kInfoArea = 1095;
// picInfo is inset in its frame by this much in all.
constexpr int kPanelInset = 200;
// In picInfo: the alert pictures' column, and the gap before the panel's right edge.
constexpr int kAlertColumn = 240;
constexpr int kButtonGap = 100;
constexpr int kComboGap = 100;

constexpr Control kInfoFrame{ControlName::fraFrames, 3};
constexpr Control kPanel{ControlName::picInfo};
constexpr Control kChoice{ControlName::cboLyrics};

void SetWidth(WindowView& view, Control control, int width) {
    TwipRect rect = view.Geometry(control);
    rect.Width = width;
    view.SetGeometry(control, rect);
}

void SetLeft(WindowView& view, Control control, int left) {
    TwipRect rect = view.Geometry(control);
    rect.Left = left;
    view.SetGeometry(control, rect);
}

}  // namespace

void WindowLogic::Form_Resize() {
    const TwipSize client = view_.ClientSize();
    const int w = client.Width;
    const int h = client.Height;

    const int listWidth = w - kStepFrameWidth - kColumnMargins;
    const int listHeight = h - kListBottomMargin - kInfoArea;
    if (listWidth >= 0 && listHeight >= 0) {
        const TwipRect pane{kListLeft, kListTop, listWidth, listHeight};
        view_.SetGeometry({ControlName::list}, pane);
        view_.SetGeometry({ControlName::txtViewLyrics}, pane);
    }

    const int infoWidth = w - kStepFrameWidth - kColumnMargins;
    if (infoWidth >= 0) {
        SetWidth(view_, kInfoFrame, infoWidth);
    }

    const int panelWidth = view_.Geometry(kInfoFrame).Width - kPanelInset;
    if (panelWidth >= 0 && panelWidth != view_.Geometry(kPanel).Width) {
        SetWidth(view_, kPanel, panelWidth);
        picInfo_Resize();
    }

    for (const int frame : {0, 1, 2}) {
        SetLeft(view_, {ControlName::fraFrames, frame}, w - kStepFrameWidth - kFrameRightMargin);
    }
}

void WindowLogic::picInfo_Resize() {
    const int p = view_.Geometry(kPanel).Width;

    view_.SetLineEnd({ControlName::Line1}, p);
    for (const ControlName button :
         {ControlName::cmdDisplaySavedLyrics, ControlName::cmdDisplayLyrics}) {
        SetLeft(view_, {button}, p - view_.Geometry({button}).Width - kAlertColumn - kButtonGap);
    }
    for (const int alert : {2, 3, 4}) {
        SetLeft(view_, {ControlName::img, alert}, p - kAlertColumn);
    }
    const int comboWidth = view_.Geometry({ControlName::cmdDisplayLyrics}).Left -
                           view_.Geometry(kChoice).Left - kComboGap;
    if (comboWidth >= 0) {
        SetWidth(view_, kChoice, comboWidth);
    }
}

}  // namespace versemark
