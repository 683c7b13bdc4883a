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

// Five rows as a pass would leave them; two of them checked.
struct ListWindow : LogicWindow {
    ListWindow() {
        FillRows(Logic.Rows(), FiveRows());
        // What the folder command does after a pass: the count.
        Logic.RowChecked(RowOf("alpha.mp3"), true);
    }

    int Checked() const { return static_cast<int>(Logic.Rows().Rows().CheckedCount()); }
};

TEST(ResultListLogic, HeaderClicksSortFlipTheOrderAndShowTheArrow) {
    struct Step {
        int Column;
        Names Order;
        SortOrder Arrow;
    };
    const Step steps[] = {
        // "Mp3 file", ascending, without regard to case.
        {kColumnMp3,
         {"alpha.mp3", "Beta.mp3", "charlie.mp3", "Delta.mp3", "echo.mp3"},
         SortOrder::Ascending},
        {kColumnMp3,
         {"echo.mp3", "Delta.mp3", "charlie.mp3", "Beta.mp3", "alpha.mp3"},
         SortOrder::Descending},
        {kColumnMp3,
         {"alpha.mp3", "Beta.mp3", "charlie.mp3", "Delta.mp3", "echo.mp3"},
         SortOrder::Ascending},
        // "Lyrics file": another column starts ascending.
        {kColumnLyrics,
         {"echo.mp3", "Delta.mp3", "charlie.mp3", "Beta.mp3", "alpha.mp3"},
         SortOrder::Ascending},
        // The check column: equal texts keep their order, unchecked rows first.
        {kColumnRowText,
         {"Delta.mp3", "charlie.mp3", "Beta.mp3", "echo.mp3", "alpha.mp3"},
         SortOrder::Ascending},
        {kColumnRowText,
         {"echo.mp3", "alpha.mp3", "Delta.mp3", "charlie.mp3", "Beta.mp3"},
         SortOrder::Descending},
    };
    ListWindow window;
    // After the pass: the first column, unchecked rows before checked ones.
    EXPECT_EQ(window.Names(),
              (Names{"Beta.mp3", "charlie.mp3", "Delta.mp3", "alpha.mp3", "echo.mp3"}));
    for (const Step& step : steps) {
        window.Logic.SortByColumn(step.Column);
        EXPECT_EQ(window.Names(), step.Order) << "column " << step.Column;
        EXPECT_EQ(window.View.Sort.Column, step.Column);
        EXPECT_EQ(window.View.Sort.Order, step.Arrow);
        EXPECT_TRUE(window.View.Sort.Shown);
    }
}

TEST(ResultListLogic, SelectionAndCurrentRowFollowTheirRowsAndChecksStay) {
    ListWindow window;
    window.Select({"Beta.mp3", "echo.mp3"});
    window.View.Current = window.RowOf("Delta.mp3");
    window.Logic.SortByColumn(kColumnMp3);
    EXPECT_EQ(window.SelectedNames(), (Names{"Beta.mp3", "echo.mp3"}));
    EXPECT_EQ(window.View.Current, window.RowOf("Delta.mp3"));
    EXPECT_EQ(window[ControlId::CheckedLabel].Caption, "Checked: 2");
}

TEST(ResultListLogic, FiltersSelectExactlyTheirRows) {
    struct Case {
        ControlId Button;  // the button clicked
        Names Selected;
    };
    const Case cases[] = {
        {ControlId::WithLyrics3TagButton, {"charlie.mp3", "Delta.mp3"}},
        {ControlId::UnfilteredButton, {"Beta.mp3", "charlie.mp3"}},
        {ControlId::MoreThanOneMatchButton, {"Beta.mp3", "echo.mp3"}},  // never picture 4
        {ControlId::MatchedMoreThanOnceButton, {"charlie.mp3", "Delta.mp3"}},
        {ControlId::InvertSelectionButton, {"Beta.mp3", "alpha.mp3", "echo.mp3"}},
        {ControlId::SelectAllButton,
         {"Beta.mp3", "charlie.mp3", "Delta.mp3", "alpha.mp3", "echo.mp3"}},
        {ControlId::InvertSelectionButton, {}},  // inverting everything
        {ControlId::InvertSelectionButton,
         {"Beta.mp3", "charlie.mp3", "Delta.mp3", "alpha.mp3", "echo.mp3"}},
        // A click on a control without a command selects nothing new.
        {ControlId::CheckedLabel,
         {"Beta.mp3", "charlie.mp3", "Delta.mp3", "alpha.mp3", "echo.mp3"}},
        {ControlId::SubfoldersBox,
         {"Beta.mp3", "charlie.mp3", "Delta.mp3", "alpha.mp3", "echo.mp3"}},
    };
    ListWindow window;
    window.Select({"alpha.mp3"});
    for (const Case& test : cases) {
        window.Press(test.Button);
        EXPECT_EQ(window.SelectedNames(), test.Selected) << DesignName(test.Button);
    }
    // Filters touch neither check marks, the count nor the order.
    EXPECT_EQ(window.Checked(), 2);
    EXPECT_EQ(window[ControlId::CheckedLabel].Caption, "Checked: 2");
    EXPECT_EQ(window.Names().front(), "Beta.mp3");
}

TEST(ResultListLogic, CheckButtonsCountAndKeepTheTaggingButtonInStep) {
    struct Step {
        Names Selected;
        ControlId Button;  // "Check selected" or "Uncheck selected"
        int Checked;
    };
    const Step steps[] = {
        {{"alpha.mp3", "Beta.mp3", "charlie.mp3"}, ControlId::CheckSelectedButton, 4},
        {{"alpha.mp3", "Delta.mp3"}, ControlId::UncheckSelectedButton, 3},
        {{"Beta.mp3", "charlie.mp3", "Delta.mp3", "alpha.mp3", "echo.mp3"},
         ControlId::UncheckSelectedButton,
         0},
        {{"Delta.mp3"}, ControlId::CheckSelectedButton, 1},
    };
    ListWindow window;
    for (const Step& step : steps) {
        std::vector<std::string_view> names(step.Selected.begin(), step.Selected.end());
        window.Select(names);
        window.Press(step.Button);
        EXPECT_EQ(window.Checked(), step.Checked);
        EXPECT_EQ(window[ControlId::CheckedLabel].Caption,
                  "Checked: " + std::to_string(step.Checked));
        EXPECT_EQ(window[ControlId::TagButton].Enabled, step.Checked > 0);
        for (const std::string& name : step.Selected) {
            EXPECT_EQ(window.RowNamed(name).Checked, step.Button == ControlId::CheckSelectedButton)
                << name;
            EXPECT_EQ(RowText(window.RowNamed(name)),
                      step.Button == ControlId::CheckSelectedButton ? "\xA0" : "");
        }
    }
}

TEST(ResultListLogic, CheckBoxClicksCountAndEnableTagging) {
    ListWindow window;
    window.Logic.RowChecked(window.RowOf("Beta.mp3"), true);
    EXPECT_EQ(window[ControlId::CheckedLabel].Caption, "Checked: 3");
    for (const char* name : {"Beta.mp3", "alpha.mp3", "echo.mp3"}) {
        window.Logic.RowChecked(window.RowOf(name), false);
    }
    EXPECT_EQ(window[ControlId::CheckedLabel].Caption, "Checked: 0");
    EXPECT_FALSE(window[ControlId::TagButton].Enabled);
    window.Logic.RowChecked(window.RowOf("Delta.mp3"), true);
    EXPECT_EQ(window[ControlId::CheckedLabel].Caption, "Checked: 1");
    EXPECT_TRUE(window[ControlId::TagButton].Enabled);
}

TEST(ResultListLogic, SpaceFlipsTheCurrentRowAndTheRowsSelectedWithIt) {
    ListWindow window;
    // The current row alone when it is not selected.
    window.Select({"Beta.mp3"});
    window.View.Current = window.RowOf("charlie.mp3");
    window.Logic.CheckKeyPressed();
    EXPECT_TRUE(window.RowNamed("charlie.mp3").Checked);
    EXPECT_FALSE(window.RowNamed("Beta.mp3").Checked);
    // Selected with it: all follow the current row's new mark.
    window.Select({"charlie.mp3", "alpha.mp3", "Delta.mp3"});
    window.Logic.CheckKeyPressed();
    for (const char* name : {"charlie.mp3", "alpha.mp3", "Delta.mp3"}) {
        EXPECT_FALSE(window.RowNamed(name).Checked) << name;
    }
    EXPECT_EQ(window[ControlId::CheckedLabel].Caption, "Checked: 1");
    // Without a current row nothing changes.
    window.View.Current = -1;
    window.Logic.CheckKeyPressed();
    EXPECT_EQ(window[ControlId::CheckedLabel].Caption, "Checked: 1");
}

TEST(ResultListLogic, AnEmptyListIgnoresEveryButton) {
    LogicWindow window;
    for (const ControlId button :
         {ControlId::CheckSelectedButton, ControlId::UncheckSelectedButton,
          ControlId::SelectAllButton, ControlId::InvertSelectionButton,
          ControlId::WithLyrics3TagButton, ControlId::UnfilteredButton,
          ControlId::MoreThanOneMatchButton, ControlId::MatchedMoreThanOnceButton}) {
        window.Press(button);
    }
    window.Logic.CheckKeyPressed();
    EXPECT_EQ(window[ControlId::CheckedLabel].Caption, "Checked: 0");
    EXPECT_FALSE(window[ControlId::TagButton].Enabled);
    EXPECT_TRUE(window.View.Selected.empty());
}

}  // namespace
