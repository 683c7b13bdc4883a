// SPDX-License-Identifier: GPL-3.0-or-later
// The result list's commands: sorting by header clicks, the selection filters,
// "Check selected" / "Uncheck selected", check-box clicks and Space.
#include <gtest/gtest.h>

#include "FakeView.h"
#include "support/SampleRows.h"
#include "windowlogic/RowLook.h"

using namespace versemark;
using namespace versemark::testing;

namespace {

using Names = std::vector<std::string>;

constexpr Control kCheckedLabel{ControlName::Label1, 2};
constexpr Control kTagButton{ControlName::cmdTagThem};

// Five rows as a pass would leave them; two of them checked.
struct ListWindow : LogicWindow {
    ListWindow() {
        FillRows(Logic.Rows(), FiveRows());
        // What the folder command does after a pass: the count.
        Logic.list_ItemCheck(RowOf("alpha.mp3"), true);
    }

    int Checked() const { return static_cast<int>(Logic.Rows().Rows().CheckedCount()); }
};

TEST(ResultListLogic, HeaderClicksSortFlipTheOrderAndShowTheArrow) {
    struct Step {
        int Column;  // 1-based header position
        Names Order;
        SortOrder Arrow;
    };
    const Step steps[] = {
        // "Mp3 file", ascending, without regard to case.
        {2,
         {"alpha.mp3", "Beta.mp3", "charlie.mp3", "Delta.mp3", "echo.mp3"},
         SortOrder::Ascending},
        {2,
         {"echo.mp3", "Delta.mp3", "charlie.mp3", "Beta.mp3", "alpha.mp3"},
         SortOrder::Descending},
        {2,
         {"alpha.mp3", "Beta.mp3", "charlie.mp3", "Delta.mp3", "echo.mp3"},
         SortOrder::Ascending},
        // "Lyrics file": another column starts ascending.
        {3,
         {"echo.mp3", "Delta.mp3", "charlie.mp3", "Beta.mp3", "alpha.mp3"},
         SortOrder::Ascending},
        // The check column: equal texts keep their order, unchecked rows first.
        {1,
         {"Delta.mp3", "charlie.mp3", "Beta.mp3", "echo.mp3", "alpha.mp3"},
         SortOrder::Ascending},
        {1,
         {"echo.mp3", "alpha.mp3", "Delta.mp3", "charlie.mp3", "Beta.mp3"},
         SortOrder::Descending},
    };
    ListWindow window;
    // After the pass: the first column, unchecked rows before checked ones.
    EXPECT_EQ(window.Names(),
              (Names{"Beta.mp3", "charlie.mp3", "Delta.mp3", "alpha.mp3", "echo.mp3"}));
    for (const Step& step : steps) {
        window.Logic.list_ColumnClick(step.Column);
        EXPECT_EQ(window.Names(), step.Order) << "column " << step.Column;
        EXPECT_EQ(window.View.Sort.Column, step.Column - 1);
        EXPECT_EQ(window.View.Sort.Order, step.Arrow);
        EXPECT_TRUE(window.View.Sort.Shown);
    }
}

TEST(ResultListLogic, SelectionAndCurrentRowFollowTheirRowsAndChecksStay) {
    ListWindow window;
    window.Select({"Beta.mp3", "echo.mp3"});
    window.View.Current = window.RowOf("Delta.mp3");
    window.Logic.list_ColumnClick(2);
    EXPECT_EQ(window.SelectedNames(), (Names{"Beta.mp3", "echo.mp3"}));
    EXPECT_EQ(window.View.Current, window.RowOf("Delta.mp3"));
    EXPECT_EQ(window[kCheckedLabel].Caption, "Checked: 2");
}

TEST(ResultListLogic, FiltersSelectExactlyTheirRows) {
    struct Case {
        int Index;  // cmdSel element
        Names Selected;
    };
    const Case cases[] = {
        {5, {"charlie.mp3", "Delta.mp3"}},           // with a Lyrics3 tag
        {3, {"Beta.mp3", "charlie.mp3"}},            // unfiltered lyrics
        {6, {"Beta.mp3", "echo.mp3"}},               // several matches, never picture 4
        {1, {"charlie.mp3", "Delta.mp3"}},           // shared lyrics
        {2, {"Beta.mp3", "alpha.mp3", "echo.mp3"}},  // inverted
        {0, {"Beta.mp3", "charlie.mp3", "Delta.mp3", "alpha.mp3", "echo.mp3"}},
        {2, {}},  // inverting everything
        {2, {"Beta.mp3", "charlie.mp3", "Delta.mp3", "alpha.mp3", "echo.mp3"}},
        {4, {"Beta.mp3", "charlie.mp3", "Delta.mp3", "alpha.mp3", "echo.mp3"}},  // no element 4
    };
    ListWindow window;
    window.Select({"alpha.mp3"});
    for (const Case& test : cases) {
        window.Logic.cmdSel_Click(test.Index);
        EXPECT_EQ(window.SelectedNames(), test.Selected) << "cmdSel_" << test.Index;
    }
    // Filters touch neither check marks, the count nor the order.
    EXPECT_EQ(window.Checked(), 2);
    EXPECT_EQ(window[kCheckedLabel].Caption, "Checked: 2");
    EXPECT_EQ(window.Names().front(), "Beta.mp3");
}

TEST(ResultListLogic, CheckButtonsCountAndKeepTheTaggingButtonInStep) {
    struct Step {
        Names Selected;
        int Index;  // cmdCheck element: 0 checks, 1 unchecks
        int Checked;
    };
    const Step steps[] = {
        {{"alpha.mp3", "Beta.mp3", "charlie.mp3"}, 0, 4},
        {{"alpha.mp3", "Delta.mp3"}, 1, 3},
        {{"Beta.mp3", "charlie.mp3", "Delta.mp3", "alpha.mp3", "echo.mp3"}, 1, 0},
        {{"Delta.mp3"}, 0, 1},
    };
    ListWindow window;
    for (const Step& step : steps) {
        std::vector<std::string_view> names(step.Selected.begin(), step.Selected.end());
        window.Select(names);
        window.Logic.cmdCheck_Click(step.Index);
        EXPECT_EQ(window.Checked(), step.Checked);
        EXPECT_EQ(window[kCheckedLabel].Caption, "Checked: " + std::to_string(step.Checked));
        EXPECT_EQ(window[kTagButton].Enabled, step.Checked > 0);
        for (const std::string& name : step.Selected) {
            EXPECT_EQ(window.RowNamed(name).Checked, step.Index == 0) << name;
            EXPECT_EQ(RowText(window.RowNamed(name)), step.Index == 0 ? "\xA0" : "");
        }
    }
}

TEST(ResultListLogic, CheckBoxClicksCountAndEnableTagging) {
    ListWindow window;
    window.Logic.list_ItemCheck(window.RowOf("Beta.mp3"), true);
    EXPECT_EQ(window[kCheckedLabel].Caption, "Checked: 3");
    for (const char* name : {"Beta.mp3", "alpha.mp3", "echo.mp3"}) {
        window.Logic.list_ItemCheck(window.RowOf(name), false);
    }
    EXPECT_EQ(window[kCheckedLabel].Caption, "Checked: 0");
    EXPECT_FALSE(window[kTagButton].Enabled);
    window.Logic.list_ItemCheck(window.RowOf("Delta.mp3"), true);
    EXPECT_EQ(window[kCheckedLabel].Caption, "Checked: 1");
    EXPECT_TRUE(window[kTagButton].Enabled);
}

TEST(ResultListLogic, SpaceFlipsTheCurrentRowAndTheRowsSelectedWithIt) {
    ListWindow window;
    // The current row alone when it is not selected.
    window.Select({"Beta.mp3"});
    window.View.Current = window.RowOf("charlie.mp3");
    window.Logic.list_KeySpace();
    EXPECT_TRUE(window.RowNamed("charlie.mp3").Checked);
    EXPECT_FALSE(window.RowNamed("Beta.mp3").Checked);
    // Selected with it: all follow the current row's new mark.
    window.Select({"charlie.mp3", "alpha.mp3", "Delta.mp3"});
    window.Logic.list_KeySpace();
    for (const char* name : {"charlie.mp3", "alpha.mp3", "Delta.mp3"}) {
        EXPECT_FALSE(window.RowNamed(name).Checked) << name;
    }
    EXPECT_EQ(window[kCheckedLabel].Caption, "Checked: 1");
    // Without a current row nothing changes.
    window.View.Current = -1;
    window.Logic.list_KeySpace();
    EXPECT_EQ(window[kCheckedLabel].Caption, "Checked: 1");
}

TEST(ResultListLogic, AnEmptyListIgnoresEveryButton) {
    LogicWindow window;
    for (const int index : {0, 1}) {
        window.Logic.cmdCheck_Click(index);
    }
    for (const int index : {0, 1, 2, 3, 5, 6}) {
        window.Logic.cmdSel_Click(index);
    }
    window.Logic.list_KeySpace();
    EXPECT_EQ(window[kCheckedLabel].Caption, "Checked: 0");
    EXPECT_FALSE(window[kTagButton].Enabled);
    EXPECT_TRUE(window.View.Selected.empty());
}

}  // namespace
