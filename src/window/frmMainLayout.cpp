// How the layout follows the window's size. Every step stands by itself: a step
// whose computed width or height is below zero is skipped, and its control keeps
// its previous place and size.
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "window/Controls.h"
#include "window/ResultListView.h"
#include "window/Twips.h"
#include "window/frmMain.h"

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

}  // namespace

void frmMain::Form_Resize() {
    const QSize client = ClientSizeInTwips(this);
    const int w = client.width();
    const int h = client.height();

    const int listWidth = w - kStepFrameWidth - kColumnMargins;
    const int listHeight = h - kListBottomMargin - kInfoArea;
    if (listWidth >= 0 && listHeight >= 0) {
        SetTwipGeometry(list, kListLeft, kListTop, listWidth, listHeight);
        SetTwipGeometry(txtViewLyrics, kListLeft, kListTop, listWidth, listHeight);
    }

    const int infoWidth = w - kStepFrameWidth - kColumnMargins;
    if (infoWidth >= 0) {
        SetTwipWidth(fraFrames[3], infoWidth);
    }

    const int panelWidth = TwipGeometry(fraFrames[3]).width() - kPanelInset;
    if (panelWidth >= 0 && panelWidth != TwipGeometry(picInfo).width()) {
        SetTwipWidth(picInfo, panelWidth);
        picInfo_Resize();
    }

    for (const int frame : {0, 1, 2}) {
        SetTwipLeft(fraFrames[static_cast<std::size_t>(frame)],
                    w - kStepFrameWidth - kFrameRightMargin);
    }
}

void frmMain::picInfo_Resize() {
    const int p = TwipGeometry(picInfo).width();

    SetRuleEnd(Line1, p);
    SetTwipLeft(cmdDisplaySavedLyrics,
                p - TwipGeometry(cmdDisplaySavedLyrics).width() - kAlertColumn - kButtonGap);
    SetTwipLeft(cmdDisplayLyrics,
                p - TwipGeometry(cmdDisplayLyrics).width() - kAlertColumn - kButtonGap);
    for (const int alert : {2, 3, 4}) {
        SetTwipLeft(img[static_cast<std::size_t>(alert)], p - kAlertColumn);
    }
    const int comboWidth =
        TwipGeometry(cmdDisplayLyrics).left() - TwipGeometry(cboLyrics).left() - kComboGap;
    if (comboWidth >= 0) {
        SetTwipWidth(cboLyrics, comboWidth);
    }
}

}  // namespace versemark
