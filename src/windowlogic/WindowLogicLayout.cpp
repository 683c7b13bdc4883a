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
// The panel is inset in its frame by this much in all.
constexpr int kPanelInset = 200;
// In the panel: the alert pictures' column, and the gap before the panel's right edge.
constexpr int kAlertColumn = 240;
constexpr int kButtonGap = 100;
constexpr int kComboGap = 100;

void SetWidth(WindowView& view, ControlId control, int width) {
    TwipRect rect = view.Geometry(control);
    rect.Width = width;
    view.SetGeometry(control, rect);
}

void SetLeft(WindowView& view, ControlId control, int left) {
    TwipRect rect = view.Geometry(control);
    rect.Left = left;
    view.SetGeometry(control, rect);
}

}  // namespace

void WindowLogic::Resize() {
    const TwipSize client = view_.ClientSize();
    const int w = client.Width;
    const int h = client.Height;

    const int listWidth = w - kStepFrameWidth - kColumnMargins;
    const int listHeight = h - kListBottomMargin - kInfoArea;
    if (listWidth >= 0 && listHeight >= 0) {
        const TwipRect pane{kListLeft, kListTop, listWidth, listHeight};
        view_.SetGeometry(ControlId::ResultList, pane);
        view_.SetGeometry(ControlId::LyricsViewer, pane);
    }

    const int infoWidth = w - kStepFrameWidth - kColumnMargins;
    if (infoWidth >= 0) {
        SetWidth(view_, ControlId::InfoFrame, infoWidth);
    }

    const int panelWidth = view_.Geometry(ControlId::InfoFrame).Width - kPanelInset;
    if (panelWidth >= 0 && panelWidth != view_.Geometry(ControlId::InfoPanel).Width) {
        SetWidth(view_, ControlId::InfoPanel, panelWidth);
        ResizeInfoPanel();
    }

    for (const ControlId frame :
         {ControlId::BrowseFrame, ControlId::SelectFrame, ControlId::TagFrame}) {
        SetLeft(view_, frame, w - kStepFrameWidth - kFrameRightMargin);
    }
}

void WindowLogic::ResizeInfoPanel() {
    const int p = view_.Geometry(ControlId::InfoPanel).Width;

    view_.SetLineEnd(ControlId::InfoRule, p);
    for (const ControlId button :
         {ControlId::DisplaySavedLyricsButton, ControlId::DisplayLyricsButton}) {
        SetLeft(view_, button, p - view_.Geometry(button).Width - kAlertColumn - kButtonGap);
    }
    for (const ControlId alert : {ControlId::Id3v1AlertPicture, ControlId::SharedLyricsAlertPicture,
                                  ControlId::NewerTagAlertPicture}) {
        SetLeft(view_, alert, p - kAlertColumn);
    }
    const int comboWidth = view_.Geometry(ControlId::DisplayLyricsButton).Left -
                           view_.Geometry(ControlId::LyricsChoice).Left - kComboGap;
    if (comboWidth >= 0) {
        SetWidth(view_, ControlId::LyricsChoice, comboWidth);
    }
}

}  // namespace versemark
