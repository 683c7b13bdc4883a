// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeView.h"

#include <gtest/gtest.h>

#include "support/SampleRows.h"
#include "windowlogic/WindowDesign.h"

namespace versemark::testing {

FakeView::FakeView(bool withAlsoId3v2) {
    for (const ControlDesign& design : WindowDesign()) {
        if (design.Id == ControlId::AlsoId3v2Box && !withAlsoId3v2) {
            continue;
        }
        FakeControl& control = controls_[design.Id];
        control.Kind = design.Kind;
        control.Caption = design.Caption;
        control.ToolTip = design.ToolTip;
        control.Visible = design.Visible;
        control.Enabled = design.Enabled;
        control.TextColour = design.TextColour;
        control.Bold = design.Font == DesignFont::Bold;
        control.Checked = design.Checked;
        control.Place = design.Place;
    }
}

FakeControl* FakeView::Find(ControlId control) {
    const auto found = controls_.find(control);
    return found != controls_.end() ? &found->second : nullptr;
}

FakeControl& FakeView::operator[](ControlId control) {
    FakeControl* found = Find(control);
    if (found == nullptr) {
        ADD_FAILURE() << "no control " << DesignName(control);
        static FakeControl none;
        return none;
    }
    return *found;
}

void FakeView::SetCaption(ControlId control, std::string_view caption) {
    if (FakeControl* found = Find(control)) {
        found->Caption = caption;
    }
}

void FakeView::SetToolTip(ControlId control, std::string_view tip) {
    if (FakeControl* found = Find(control)) {
        found->ToolTip = tip;
    }
}

void FakeView::SetVisible(ControlId control, bool visible) {
    if (FakeControl* found = Find(control)) {
        found->Visible = visible;
        if (!visible && Focus == control) {
            Focus.reset();
        }
    }
}

void FakeView::SetEnabled(ControlId control, bool enabled) {
    if (FakeControl* found = Find(control)) {
        found->Enabled = enabled;
        if (!enabled && Focus == control) {
            Focus.reset();
        }
    }
}

void FakeView::SetTextColour(ControlId control, Colour colour) {
    if (FakeControl* found = Find(control)) {
        found->TextColour = colour;
    }
}

void FakeView::SetBold(ControlId control, bool bold) {
    if (FakeControl* found = Find(control)) {
        found->Bold = bold;
    }
}

void FakeView::SetChecked(ControlId control, bool checked) {
    if (FakeControl* found = Find(control)) {
        found->Checked = checked;
    }
}

bool FakeView::IsChecked(ControlId control) const {
    const auto found = controls_.find(control);
    return found != controls_.end() && found->second.Checked;
}

void FakeView::SetPicture(ControlId control, int picture) {
    if (FakeControl* found = Find(control)) {
        found->Picture = picture;
    }
}

void FakeView::Refresh(ControlId /*control*/) {
    ++Refreshes;
}

void FakeView::SetFocus(ControlId control) {
    const FakeControl* found = Find(control);
    if (found != nullptr && found->Visible && found->Enabled) {
        Focus = control;
    }
}

TwipRect FakeView::Geometry(ControlId control) const {
    const auto found = controls_.find(control);
    return found != controls_.end() ? found->second.Place : TwipRect{};
}

void FakeView::SetGeometry(ControlId control, const TwipRect& twips) {
    if (FakeControl* found = Find(control)) {
        found->Place = twips;
    }
}

void FakeView::SetLineEnd(ControlId line, int x2) {
    if (FakeControl* found = Find(line)) {
        found->Place.Width = x2 - found->Place.Left;
    }
}

void FakeView::SetComboItems(ControlId /*combo*/, const std::vector<std::string>& items,
                             int current) {
    ComboItems = items;
    ComboCurrent = current;
}

void FakeView::SetViewerText(ControlId /*textBox*/, std::string_view text) {
    ViewerText = text;
}

void FakeView::ListRowsReset() {
    ++Resets;
    Selected.assign(static_cast<std::size_t>(Rows->VisibleCount()), false);
    Current = -1;
}

void FakeView::ListRowsMoved(const std::vector<std::size_t>& newPositions) {
    std::vector<bool> moved(Selected.size(), false);
    for (std::size_t old = 0; old < Selected.size() && old < newPositions.size(); ++old) {
        moved[newPositions[old]] = Selected[old];
    }
    Selected = std::move(moved);
    if (Current >= 0) {
        Current = static_cast<int>(newPositions[static_cast<std::size_t>(Current)]);
    }
}

void FakeView::ListRowsChanged(int first, int last) {
    EXPECT_LE(0, first);
    EXPECT_LE(first, last);
    EXPECT_LT(last, Rows->VisibleCount());
}

void FakeView::ShowSortIndicator(int column, SortOrder order, bool shown) {
    Sort = {column, order, shown};
}

std::vector<bool> FakeView::SelectedRows() const {
    return Selected;
}

void FakeView::SelectRows(const std::vector<bool>& rows) {
    EXPECT_EQ(rows.size(), Selected.size());
    Selected = rows;
    Selected.resize(static_cast<std::size_t>(Rows->VisibleCount()), false);
}

LogicWindow::LogicWindow(bool withAlsoId3v2)
    : View(withAlsoId3v2), Logic(Values, View, Services()) {
    View.Rows = &Logic.Rows();
    Logic.Load();
}

WindowServices LogicWindow::Services() {
    WindowServices services;
    services.Prompts = &Prompts;
    services.Settings = &Settings;
    services.ProcessEvents = [this] {
        ++ProcessEventsCalls;
        if (OnProcessEvents) {
            OnProcessEvents(ProcessEventsCalls);
        }
    };
    services.EndProgram = [this](int exitStatus) {
        ++EndProgramCalls;
        EndProgramStatus = exitStatus;
    };
    return services;
}

void LogicWindow::ChooseFolderAndMatch(const std::string& folder) {
    Prompts.Folders.push_back(folder);
    Press(ControlId::FolderButton);
}

int LogicWindow::RowOf(std::string_view mp3Name) const {
    return RowOfMp3(Logic.Rows().Rows(), mp3Name);
}

const ResultRow& LogicWindow::RowNamed(std::string_view mp3Name) const {
    const int row = RowOf(mp3Name);
    if (row < 0) {
        ADD_FAILURE() << "no row for " << mp3Name;
        static const ResultRow none;
        return none;
    }
    return Logic.Rows().Row(row);
}

void LogicWindow::Press(ControlId control) {
    FakeControl& shown = View[control];
    if (shown.Kind == ControlKind::CheckBox) {
        shown.Checked = !shown.Checked;
    }
    Logic.Clicked(control);
}

void LogicWindow::Click(std::string_view mp3Name) {
    const int row = RowOf(mp3Name);
    View.Current = row;
    if (row >= 0) {
        View.Selected.assign(View.Selected.size(), false);
        View.Selected[static_cast<std::size_t>(row)] = true;
    }
    Logic.RowClicked(row);
}

void LogicWindow::Select(const std::vector<std::string_view>& mp3Names) {
    View.Selected.assign(static_cast<std::size_t>(Logic.Rows().VisibleCount()), false);
    for (const std::string_view name : mp3Names) {
        View.Selected[static_cast<std::size_t>(RowOf(name))] = true;
    }
}

std::vector<std::string> LogicWindow::SelectedNames() const {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < View.Selected.size(); ++i) {
        if (View.Selected[i]) {
            names.push_back(Logic.Rows().Rows().Row(i).Mp3Name);
        }
    }
    return names;
}

std::vector<std::string> LogicWindow::Names() const {
    std::vector<std::string> names;
    for (const ResultRow& row : Logic.Rows().Rows().Rows()) {
        names.push_back(row.Mp3Name);
    }
    return names;
}

}  // namespace versemark::testing
