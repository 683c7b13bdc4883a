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

ControlId ViewerButton(Pane viewer) {
    return {viewer == Pane::PreparedLyrics ? ControlId::DisplayLyricsButton
                                           : ControlId::DisplaySavedLyricsButton};
}

const char* ListCaption(Pane viewer) {
    return viewer == Pane::PreparedLyrics ? texts::kDisplayLyrics : texts::kDisplaySavedLyrics;
}

}  // namespace

void WindowLogic::ShowPreparedLyrics() {
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

void WindowLogic::ShowSavedLyrics() {
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

void WindowLogic::RowOpened(int row) {
    if (state_.TaggingRunning) {
        return;
    }
    // The panel describes the row first, so the viewer's "Return to list" is at hand.
    RowClicked(row);
    if (state_.Shown != Pane::PreparedLyrics) {
        ShowPreparedLyrics();
    }
}

void WindowLogic::EscapePressed() {
    // Only the lyrics viewers close this way; the tagging log asks a question first.
    if (!state_.TaggingRunning &&
        (state_.Shown == Pane::PreparedLyrics || state_.Shown == Pane::SavedLyrics)) {
        CloseViewer();
    }
}

void WindowLogic::OpenViewer(Pane viewer, const std::string& text) {
    view_.SetViewerText(ControlId::LyricsViewer, text);
    // The keyboard stays where the user was: the viewer takes the list's focus.
    const bool listHadFocus = view_.FocusedControl() == ControlId::ResultList;
    view_.SetVisible(ControlId::ResultList, false);
    view_.SetVisible(ControlId::LyricsViewer, true);
    if (listHadFocus) {
        view_.SetFocus(ControlId::LyricsViewer);
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
    const bool viewerHadFocus = view_.FocusedControl() == ControlId::LyricsViewer;
    view_.SetVisible(ControlId::ResultList, true);
    view_.SetVisible(ControlId::LyricsViewer, false);
    view_.SetViewerText(ControlId::LyricsViewer, {});
    if (viewerHadFocus) {
        view_.SetFocus(ControlId::ResultList);
    }
    view_.SetBold(ViewerButton(viewer), false);
    view_.SetCaption(ViewerButton(viewer), ListCaption(viewer));
    state_.Shown = Pane::List;
    SetListCommandsEnabled();
}

}  // namespace versemark
