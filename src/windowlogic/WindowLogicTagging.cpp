// SPDX-License-Identifier: GPL-3.0-or-later
// The window while a tagging pass runs: it yields to events between files,
// shows how many files are done, takes the stop request and the window's
// closing, and keeps every other control still so that nothing re-enters the
// pass.
#include <string>

#include "platform/SignalHold.h"
#include "windowlogic/PassPace.h"
#include "windowlogic/WindowLogic.h"
#include "windowlogic/WindowTexts.h"
#include "windowlogic/WindowView.h"

namespace versemark {
namespace {

// What a person can act on between passes, besides the tagging button and the
// selection and check buttons.
constexpr ControlId kPassControls[] = {
    ControlId::FolderButton,
    ControlId::SubfoldersBox,
    ControlId::AllFormatsBox,
    ControlId::AlsoId3v2Box,
    ControlId::BesideFileBox,
    ControlId::DisplayLyricsButton,
    ControlId::DisplaySavedLyricsButton,
    ControlId::LyricsChoice,
    ControlId::ResultList,
    ControlId::LyricsViewer,
};

// The selection and check buttons: they act on the list as shown.
constexpr ControlId kListCommands[] = {
    ControlId::SelectAllButton,       ControlId::MatchedMoreThanOnceButton,
    ControlId::InvertSelectionButton, ControlId::UnfilteredButton,
    ControlId::WithLyrics3TagButton,  ControlId::MoreThanOneMatchButton,
    ControlId::CheckSelectedButton,   ControlId::UncheckSelectedButton,
};

constexpr char kProgressOf[] = " / ";

}  // namespace

void WindowLogic::BeginTaggingPass() {
    state_.TaggingRunning = true;
    state_.StopTagging = false;
    SetPassControlsEnabled(false);
    SetListCommandsEnabled();
    SetTagButtonCaption(texts::kStopTagging);
}

bool WindowLogic::TaggingFileDue(ProgressPace& progress, std::size_t done, std::size_t total) {
    // After a stop request the window is left alone: it may be closing.
    if (state_.StopTagging) {
        return false;
    }
    progress.Show(texts::kTaggingProgress + std::to_string(done) + kProgressOf +
                  std::to_string(total));
    if (services_.ProcessEvents) {
        services_.ProcessEvents();
    }
    return !state_.StopTagging;
}

bool WindowLogic::EndTaggingPass(int stopSignal) {
    state_.TaggingRunning = false;
    // The window closed during the pass, or a signal that ends a program came:
    // the last file is whole now, and the program ends as versemark-cli does.
    if ((state_.CloseAfterTagging || stopSignal != 0) && services_.EndProgram) {
        services_.EndProgram(stopSignal != 0 ? kExitSignalBase + stopSignal : 0);
        return false;
    }
    state_.StopTagging = false;
    state_.CloseAfterTagging = false;
    SetPassControlsEnabled(true);
    SetListCommandsEnabled();
    SetTagButtonCaption(texts::kTagCheckedFiles);
    CheckedRowsChanged();
    return true;
}

void WindowLogic::SetPassControlsEnabled(bool enabled) {
    for (const ControlId control : kPassControls) {
        view_.SetEnabled(control, enabled);
    }
}

void WindowLogic::SetListCommandsEnabled() {
    const bool enabled = state_.Shown == Pane::List && !state_.TaggingRunning;
    for (const ControlId control : kListCommands) {
        view_.SetEnabled(control, enabled);
    }
}

}  // namespace versemark
