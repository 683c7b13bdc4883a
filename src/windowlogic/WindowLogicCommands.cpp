// SPDX-License-Identifier: GPL-3.0-or-later
// The folder command (choose a folder, match it, stop the pass) and the tagging
// command (confirm, tag, show the log, return to the list and refresh it).
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "tagging/PassLock.h"
#include "tagging/Recovery.h"
#include "tagging/TaggingPass.h"
#include "windowlogic/Colours.h"
#include "windowlogic/MatchTexts.h"
#include "windowlogic/PassPace.h"
#include "windowlogic/UserPrompts.h"
#include "windowlogic/WindowLogic.h"
#include "windowlogic/WindowTexts.h"
#include "windowlogic/WindowView.h"

namespace versemark {

void WindowLogic::FolderCommand() {
    if (state_.TaggingRunning) {
        return;
    }
    // A press during the pass is the stop request. The button stays disabled
    // until the pass ends, so that no second pass can start inside this one.
    if (state_.PassRunning) {
        state_.StopMatching = true;
        SetFolderButtonCaption(lastFolder_);
        view_.SetEnabled(ControlId::FolderButton, false);
        return;
    }

    std::string folder = CompanionFolder(values_.Config);
    if (folder.empty() && services_.Prompts != nullptr) {
        folder = services_.Prompts->ChooseFolder(texts::kSelectFolder);
    }
    MatchChosenFolder(folder);
}

void WindowLogic::MatchChosenFolder(const std::string& folder) {
    if (folder.empty()) {
        return;
    }
    CloseAnyViewer();
    view_.SetTextColour(ControlId::MatchesLabel, kBlack);
    RunMatchingPass(folder);

    SetFolderButton(folder);
    CheckedRowsChanged();
    SetStepColours(false);
}

void WindowLogic::TagOrReturn() {
    // A press during the pass is its stop request: the pass ends after the file
    // being written. The button stays disabled until then.
    if (state_.TaggingRunning) {
        state_.StopTagging = true;
        view_.SetEnabled(ControlId::TagButton, false);
        return;
    }
    if (state_.Shown == Pane::Log) {
        ReturnToList();
        return;
    }

    const int count = CheckedCount();
    if (count <= 0) {
        return;
    }
    // The window never waits for another pass: it says why nothing happens.
    if (OtherPassRuns()) {
        RefuseForOtherPass();
        return;
    }
    const std::string question = texts::kConfirmTagStart + std::to_string(count) +
                                 (count == 1 ? texts::kConfirmTagOne : texts::kConfirmTagMany);
    if (services_.Prompts != nullptr &&
        services_.Prompts->AskYesNo(question, PromptIcon::Question)) {
        RunTaggingPass();
    }
}

void WindowLogic::ReturnToList() {
    // "Return to list" under the log: the log goes, and the list comes back as it
    // was or refreshed from the same folder.
    view_.SetVisible(ControlId::LyricsViewer, false);
    view_.SetViewerText(ControlId::LyricsViewer, {});
    state_.Shown = Pane::List;
    SetListCommandsEnabled();
    const bool refresh = services_.Prompts != nullptr &&
                         services_.Prompts->AskYesNo(texts::kAskRefresh, PromptIcon::None);
    if (refresh) {
        view_.SetEnabled(ControlId::TagButton, false);
        RunMatchingPass(lastFolder_);
        SetFolderButtonCaption(lastFolder_);
        CheckedRowsChanged();
    } else {
        SetStepColours(true);
        view_.SetVisible(ControlId::ResultList, true);
    }
    SetTagButtonCaption(texts::kTagCheckedFiles);
}

void WindowLogic::RunMatchingPass(const std::string& folder) {
    SetMatchesCaption(std::string(kMatchesPending));
    view_.SetVisible(ControlId::InfoPanel, false);
    SetFolderButtonCaption(texts::kStopMatching);
    // The pass hides the list and disables the folder button and the subfolder
    // box, which sends the keyboard focus on to step two; it comes back after.
    const std::optional<ControlId> focused = view_.FocusedControl();
    state_.PassRunning = true;
    view_.SetVisible(ControlId::ResultList, false);
    rows_.BeginPass();
    view_.SetEnabled(ControlId::SubfoldersBox, false);
    view_.SetEnabled(ControlId::AllFormatsBox, false);

    // The labels follow the pass at a steady pace, not at every file.
    ProgressPace progress([this](const std::string& text) { ShowMatchProgress(text); });
    const MatchResult result = MatchPassFolder(folder, MakeMatchHooks(progress));
    progress.Finish();

    SetMatchesCaption(MatchesSummaryText(result));
    if (MatchesLabelColour(result) == kRed) {
        view_.SetTextColour(ControlId::MatchesLabel, kRed);
    }
    rows_.EndPass();
    ShowSortIndicator();
    view_.SetVisible(ControlId::ResultList, true);
    view_.SetEnabled(ControlId::FolderButton, true);
    view_.SetEnabled(ControlId::SubfoldersBox, true);
    view_.SetEnabled(ControlId::AllFormatsBox, true);
    state_.StopMatching = false;
    state_.PassRunning = false;
    if (focused && view_.FocusedControl() != focused) {
        view_.SetFocus(*focused);
    }
}

void WindowLogic::SetFirstPassReader(FirstPassReader reader) {
    firstPassReader_ = std::move(reader);
}

MatchResult WindowLogic::MatchPassFolder(const std::string& folder, const MatchHooks& hooks) {
    const bool recurse = view_.IsChecked(ControlId::SubfoldersBox);
    const bool allFormats = view_.IsChecked(ControlId::AllFormatsBox);
    // Taken by every pass: it serves only the first, and only over its own folder.
    std::unique_ptr<FolderReadAhead> reader = std::move(firstPassReader_.Reader);
    if (reader && firstPassReader_.Folder == folder && firstPassReader_.Recurse == recurse &&
        firstPassReader_.AllFormats == allFormats) {
        return MatchFolder(*reader, values_.Index, rows_.PassRows(), hooks);
    }
    reader.reset();  // stopped before the pass's own reader starts
    return MatchFolder(folder, recurse, values_.Index, rows_.PassRows(), hooks, allFormats);
}

MatchHooks WindowLogic::MakeMatchHooks(ProgressPace& progress) {
    MatchHooks hooks;
    hooks.Progress = [&progress](const MatchProgress& now) {
        progress.Show(MatchProgressText(now));
    };
    hooks.ProcessEvents = [this] {
        if (services_.ProcessEvents) {
            services_.ProcessEvents();
        }
    };
    hooks.StopRequested = [this] { return state_.StopMatching; };
    hooks.PhaseOneEnded = [this, &progress] {
        progress.Finish();  // the count of the last file
        state_.StopMatching = false;
        view_.SetEnabled(ControlId::FolderButton, false);
    };
    return hooks;
}

void WindowLogic::ShowMatchProgress(const std::string& text) {
    SetMatchesCaption(text);
    // Phase 2 yields only every 50 rows; its progress is drawn when shown.
    if (text.starts_with(kPhaseTwoProgress)) {
        view_.Refresh(ControlId::MatchesLabel);
    }
}

void WindowLogic::SetMatchesCaption(const std::string& caption) {
    matchesCaption_ = caption;
    view_.SetCaption(ControlId::MatchesLabel, caption);
}

void WindowLogic::RunTaggingPass() {
    TaggingOptions options;
    options.Folder = lastFolder_;
    options.Tag.AlsoId3v2 = view_.IsChecked(ControlId::AlsoId3v2Box);
    options.Tag.AllFormats = view_.IsChecked(ControlId::AllFormatsBox);
    options.Tag.BesideFile = view_.IsChecked(ControlId::BesideFileBox);
    options.WhenBusy = [] { return false; };
    // The checked-count label follows the pass at a steady pace.
    ProgressPace progress(
        [this](const std::string& text) { view_.SetCaption(ControlId::CheckedLabel, text); });
    options.OnFile = [this, &progress](std::size_t done, std::size_t total) {
        return TaggingFileDue(progress, done, total);
    };
    BeginTaggingPass();
    const std::optional<TaggingOutcome> outcome = TagCheckedRows(rows_.Rows(), options);
    if (!EndTaggingPass(outcome ? outcome->StopSignal : 0) || !outcome) {
        return;
    }
    if (outcome->OtherPassRunning) {  // began after the look before the question
        SetOtherPassRunning(true);
        RefuseForOtherPass();
        return;
    }
    if (!outcome->Recovered.empty() && services_.Prompts != nullptr) {
        services_.Prompts->ShowMessage(RecoveryText(outcome->Recovered));
    }
    // A signal that stopped the pass early leaves the log of what was done.
    const std::string log = TaggingLog(outcome->Results);
    // The log takes the viewer: neither lyrics viewer is open any more.
    CloseAnyViewer();
    view_.SetViewerText(ControlId::LyricsViewer, log);
    view_.SetVisible(ControlId::ResultList, false);
    view_.SetVisible(ControlId::LyricsViewer, true);
    view_.SetVisible(ControlId::InfoPanel, false);
    SetTagButtonCaption(texts::kReturnToList);
    state_.Shown = Pane::Log;
    SetListCommandsEnabled();
    CheckedRowsChanged();
}

bool WindowLogic::OtherPassRuns() {
    SetOtherPassRunning(PassRunsElsewhere(DefaultJournalFolder()));
    return state_.OtherPassRunning;
}

void WindowLogic::SetOtherPassRunning(bool running) {
    if (running) {
        view_.SetEnabled(ControlId::TagButton, false);
    }
    if (running != state_.OtherPassRunning) {
        view_.SetToolTip(ControlId::TagButton, running ? texts::kOtherPassRunning : "");
        state_.OtherPassRunning = running;
    }
}

void WindowLogic::RefuseForOtherPass() {
    if (services_.Prompts != nullptr) {
        services_.Prompts->ShowMessage(texts::kOtherPassRunning);
    }
}

void WindowLogic::CloseAnyViewer() {
    if (state_.Shown == Pane::PreparedLyrics || state_.Shown == Pane::SavedLyrics) {
        CloseViewer();
    } else if (state_.Shown == Pane::Log) {
        view_.SetVisible(ControlId::LyricsViewer, false);
        view_.SetViewerText(ControlId::LyricsViewer, {});
        SetTagButtonCaption(texts::kTagCheckedFiles);
        state_.Shown = Pane::List;
        SetListCommandsEnabled();
    }
}

void WindowLogic::SetFolderButton(const std::string& folder) {
    lastFolder_ = folder;
    SetFolderButtonCaption(folder);
    view_.SetToolTip(ControlId::FolderButton, folder);
}

void WindowLogic::SetFolderButtonCaption(const std::string& caption) {
    view_.SetCaption(ControlId::FolderButton, caption);
}

void WindowLogic::SetTagButtonCaption(const char* caption) {
    view_.SetCaption(ControlId::TagButton, caption);
}

void WindowLogic::SetStepColours(bool stepOneCurrent) {
    view_.SetTextColour(ControlId::StepOneLabel,
                        stepOneCurrent ? kCurrentStepColour : kOtherStepColour);
    view_.SetTextColour(ControlId::StepTwoLabel,
                        stepOneCurrent ? kOtherStepColour : kCurrentStepColour);
    view_.SetTextColour(ControlId::StepThreeLabel,
                        stepOneCurrent ? kOtherStepColour : kCurrentStepColour);
}

}  // namespace versemark
