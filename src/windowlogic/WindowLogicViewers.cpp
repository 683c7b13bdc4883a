// SPDX-License-Identifier: GPL-3.0-or-later
// The two lyrics viewers: the lyrics as they will be stored, and the lyrics the
// MP3 file already carries. Each button toggles between its viewer and the list;
// its caption tells which way it works. The keyboard opens and closes them too.
#include <string>

#include "platform/FileSystem.h"
#include "tags/LyricsText.h"
#include "tags/SavedLyrics.h"
#include "windowlogic/WindowLogic.h"
#include "windowlogic/WindowTexts.h"
#include "windowlogic/WindowView.h"

namespace versemark {
namespace {

constexpr Control kList{ControlName::list};
constexpr Control kViewer{ControlName::txtViewLyrics};

Control ViewerButton(Pane viewer) {
    return {viewer == Pane::PreparedLyrics ? ControlName::cmdDisplayLyrics
                                           : ControlName::cmdDisplaySavedLyrics};
}

const char* ListCaption(Pane viewer) {
    return viewer == Pane::PreparedLyrics ? texts::kDisplayLyrics : texts::kDisplaySavedLyrics;
}

}  // namespace

void WindowLogic::cmdDisplayLyrics_Click() {
    if (state_.TaggingRunning) {
        return;
    }
    if (state_.Shown == Pane::PreparedLyrics) {
        CloseViewer();
        return;
    }
    // Errors are not reported: an unreadable lyrics file shows the prepared empty text.
    std::string text;
    const int row = view_.CurrentRow();
    if (row >= 0 && row < rows_.VisibleCount()) {
        text = ReadWholeFile(rows_.Row(row).LyricsPath).value_or(std::string());
    }
    PrepareStoredLyrics(text);
    OpenViewer(Pane::PreparedLyrics, text);
}

void WindowLogic::cmdDisplaySavedLyrics_Click() {
    if (state_.TaggingRunning) {
        return;
    }
    if (state_.Shown == Pane::SavedLyrics) {
        CloseViewer();
        return;
    }
    const int row = view_.CurrentRow();
    if (row < 0 || row >= rows_.VisibleCount() || !rows_.Row(row).Tagged) {
        return;
    }
    // The file of the row clicked last, as the panel names it.
    OpenViewer(Pane::SavedLyrics, ReadSavedLyrics(panelMp3Path_));
}

void WindowLogic::list_KeyEnter(int row) {
    if (state_.TaggingRunning) {
        return;
    }
    // The panel describes the row first, so the viewer's "Return to list" is at hand.
    list_ItemClick(row);
    if (state_.Shown != Pane::PreparedLyrics) {
        cmdDisplayLyrics_Click();
    }
}

void WindowLogic::txtViewLyrics_KeyEscape() {
    // Only the lyrics viewers close this way; the tagging log asks a question first.
    if (!state_.TaggingRunning &&
        (state_.Shown == Pane::PreparedLyrics || state_.Shown == Pane::SavedLyrics)) {
        CloseViewer();
    }
}

void WindowLogic::OpenViewer(Pane viewer, const std::string& text) {
    view_.SetViewerText(kViewer, text);
    // The keyboard stays where the user was: the viewer takes the list's focus.
    const bool listHadFocus = view_.FocusedControl() == kList;
    view_.SetVisible(kList, false);
    view_.SetVisible(kViewer, true);
    if (listHadFocus) {
        view_.SetFocus(kViewer);
    }
    const Pane other = viewer == Pane::PreparedLyrics ? Pane::SavedLyrics : Pane::PreparedLyrics;
    view_.SetCaption(ViewerButton(viewer), texts::kReturnToList);
    view_.SetBold(ViewerButton(viewer), true);
    view_.SetBold(ViewerButton(other), false);
    view_.SetCaption(ViewerButton(other), ListCaption(other));
    state_.Shown = viewer;
    SetListCommandsEnabled();
}

void WindowLogic::CloseViewer() {
    const Pane viewer = state_.Shown;
    const bool viewerHadFocus = view_.FocusedControl() == kViewer;
    view_.SetVisible(kList, true);
    view_.SetVisible(kViewer, false);
    view_.SetViewerText(kViewer, {});
    if (viewerHadFocus) {
        view_.SetFocus(kList);
    }
    view_.SetBold(ViewerButton(viewer), false);
    view_.SetCaption(ViewerButton(viewer), ListCaption(viewer));
    state_.Shown = Pane::List;
    SetListCommandsEnabled();
}

}  // namespace versemark
