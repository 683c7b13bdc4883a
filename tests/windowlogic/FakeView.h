// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "startup/ProgramValues.h"
#include "support/DesignNames.h"
#include "support/ScopedEnv.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "windowlogic/WindowDesign.h"
#include "windowlogic/WindowLogic.h"
#include "windowlogic/WindowSettings.h"
#include "windowlogic/WindowView.h"

// A view without a toolkit: every control is a record of what the logic last
// told it, starting from the design. The list keeps its selection and current
// row as a list view does, following the rows when they are sorted.
namespace versemark::testing {

struct FakeControl {
    ControlKind Kind = ControlKind::Label;
    std::string Caption;
    std::string ToolTip;
    bool Visible = true;
    bool Enabled = true;
    std::optional<Colour> TextColour;
    bool Bold = false;
    bool Checked = false;
    int Picture = 0;
    TwipRect Place;
};

class FakeView final : public WindowView {
  public:
    // `withAlsoId3v2` false: the view has no AlsoId3v2Box (a build without the frame).
    explicit FakeView(bool withAlsoId3v2 = true);

    // The control as shown; fails the test for a control the view does not have.
    FakeControl& operator[](ControlId control);
    bool Has(ControlId control) const { return controls_.contains(control); }

    const ListRows* Rows = nullptr;  // the rows the list shows
    std::optional<ControlId> Focus;
    TwipSize Client = kDesignClientSize;
    std::vector<std::string> ComboItems;
    int ComboCurrent = -1;
    std::string ViewerText;
    std::vector<bool> Selected;  // one flag a shown row
    int Current = -1;
    int Resets = 0;
    int Refreshes = 0;
    struct SortArrow {
        int Column = 0;
        SortOrder Order = SortOrder::Ascending;
        bool Shown = false;
    } Sort;

    // WindowView.
    void SetCaption(ControlId control, std::string_view caption) override;
    void SetToolTip(ControlId control, std::string_view tip) override;
    void SetVisible(ControlId control, bool visible) override;
    void SetEnabled(ControlId control, bool enabled) override;
    void SetTextColour(ControlId control, Colour colour) override;
    void SetBold(ControlId control, bool bold) override;
    void SetChecked(ControlId control, bool checked) override;
    bool IsChecked(ControlId control) const override;
    void SetPicture(ControlId control, int picture) override;
    void Refresh(ControlId control) override;
    std::optional<ControlId> FocusedControl() const override { return Focus; }
    void SetFocus(ControlId control) override;
    TwipSize ClientSize() const override { return Client; }
    TwipRect Geometry(ControlId control) const override;
    void SetGeometry(ControlId control, const TwipRect& twips) override;
    void SetLineEnd(ControlId line, int x2) override;
    void SetComboItems(ControlId combo, const std::vector<std::string>& items,
                       int current) override;
    void SetViewerText(ControlId textBox, std::string_view text) override;
    void ListRowsAboutToReset() override {}
    void ListRowsReset() override;
    void ListRowsAboutToMove() override {}
    void ListRowsMoved(const std::vector<std::size_t>& newPositions) override;
    void ListRowsChanged(int first, int last) override;
    void ShowSortIndicator(int column, SortOrder order, bool shown) override;
    std::vector<bool> SelectedRows() const override;
    void SelectRows(const std::vector<bool>& rows) override;
    int CurrentRow() const override { return Current; }

  private:
    FakeControl* Find(ControlId control);
    std::map<ControlId, FakeControl> controls_;
};

// Settings kept in memory.
struct MemorySettings final : WindowSettings {
    bool Value = false;
    int Writes = 0;
    bool AllFormatsValue = false;
    bool BesideFileValue = false;
    bool AlsoId3v2() const override { return Value; }
    void SetAlsoId3v2(bool alsoId3v2) override {
        Value = alsoId3v2;
        ++Writes;
    }
    bool AllFormats() const override { return AllFormatsValue; }
    void SetAllFormats(bool allFormats) override {
        AllFormatsValue = allFormats;
        ++Writes;
    }
    bool BesideFile() const override { return BesideFileValue; }
    void SetBesideFile(bool besideFile) override {
        BesideFileValue = besideFile;
        ++Writes;
    }
};

// The window logic over a fake view, scripted prompts and settings in memory,
// loaded as a view loads it.
class LogicWindow {
  public:
    explicit LogicWindow(bool withAlsoId3v2 = true);

    // A state folder of the window's own: its passes' lock is no other test's.
    TempDir StateHome;
    ScopedEnv StateFolder{kStateFolderVariable, StateHome.Path()};
    ProgramValues Values;
    FakeView View;
    ScriptedPrompts Prompts;
    MemorySettings Settings;
    int ProcessEventsCalls = 0;
    int EndProgramCalls = 0;
    int EndProgramStatus = -1;  // the exit status of the last call
    // Called on every yield of a pass with the number of yields so far.
    std::function<void(int call)> OnProcessEvents;
    WindowLogic Logic;

    FakeControl& operator[](ControlId control) { return View[control]; }
    // A click on a button or check box as a view reports it: a check box changes
    // its mark first.
    void Press(ControlId control);
    // Picks `folder` in the folder dialog and runs the folder command.
    void ChooseFolderAndMatch(const std::string& folder);
    // The row showing this MP3 file name; -1 when there is none.
    int RowOf(std::string_view mp3Name) const;
    const ResultRow& RowNamed(std::string_view mp3Name) const;
    // Makes the row current and clicks it, as a mouse click on it does.
    void Click(std::string_view mp3Name);
    // Selects exactly these rows (by MP3 file name).
    void Select(const std::vector<std::string_view>& mp3Names);
    // The MP3 file names of the selected rows, in list order.
    std::vector<std::string> SelectedNames() const;
    // The MP3 file names in list order.
    std::vector<std::string> Names() const;

  private:
    WindowServices Services();
};

}  // namespace versemark::testing
