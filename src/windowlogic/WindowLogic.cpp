// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowlogic/WindowLogic.h"

#include <utility>

#include "tags/Id3v2Lyrics.h"
#include "windowlogic/RowLook.h"
#include "windowlogic/UserPrompts.h"
#include "windowlogic/WindowSettings.h"
#include "windowlogic/WindowTexts.h"
#include "windowlogic/WindowView.h"

namespace versemark {

WindowLogic::WindowLogic(ProgramValues& values, WindowView& view, WindowServices services)
    : values_(values), view_(view), services_(std::move(services)), rows_(view) {}

WindowLogic::~WindowLogic() = default;

void WindowLogic::Load() {
    // The list takes its row and header pictures from the image list itself.
    view_.SetPicture(ControlId::Mp3Picture, kPictureOneMatch);
    view_.SetPicture(ControlId::Id3v1AlertPicture, kPictureAlert);
    view_.SetPicture(ControlId::SharedLyricsAlertPicture, kPictureAlert);
    view_.SetPicture(ControlId::NewerTagAlertPicture, kPictureNewerTag);
    view_.SetPicture(ControlId::SeveralMatchesExamplePicture, kPictureAlert);
    view_.SetPicture(ControlId::UnfilteredExamplePicture, kPictureUnfiltered);
    SetStepColours(true);
    // The remembered choice; off in a build that cannot write the frame.
    const bool alsoId3v2 =
        Id3v2LyricsAvailable() && services_.Settings != nullptr && services_.Settings->AlsoId3v2();
    view_.SetChecked(ControlId::AlsoId3v2Box, alsoId3v2);
    const bool remembered = services_.Settings != nullptr;
    view_.SetChecked(ControlId::AllFormatsBox, remembered && services_.Settings->AllFormats());
    view_.SetChecked(ControlId::BesideFileBox, remembered && services_.Settings->BesideFile());
}

bool WindowLogic::Close() {
    // A tagging pass finishes the file it writes first: it stops after it, and
    // the program ends then.
    if (state_.TaggingRunning) {
        state_.StopTagging = true;
        state_.CloseAfterTagging = true;
        return false;
    }
    // A running matching pass yields to events and would go on after the window
    // has gone: the program ends here instead, rows and all. (The rows are not
    // removed under the pass's feet first; the process ending removes them.)
    if (state_.PassRunning && services_.EndProgram) {
        services_.EndProgram(0);
        return true;
    }
    rows_.RemoveAllRows();
    return true;
}

void WindowLogic::Clicked(ControlId control) {
    switch (control) {
        case ControlId::FolderButton:
            FolderCommand();
            break;
        case ControlId::TagButton:
            TagOrReturn();
            break;
        case ControlId::AlsoId3v2Box:
        case ControlId::AllFormatsBox:
        case ControlId::BesideFileBox:
            RememberChoice(control, view_.IsChecked(control));
            break;
        case ControlId::SelectAllButton:
            SelectRows(RowSelection::All);
            break;
        case ControlId::InvertSelectionButton:
            SelectRows(RowSelection::Invert);
            break;
        case ControlId::WithLyrics3TagButton:
            SelectRows(RowSelection::WithLyrics3Tag);
            break;
        case ControlId::UnfilteredButton:
            SelectRows(RowSelection::Unfiltered);
            break;
        case ControlId::MoreThanOneMatchButton:
            SelectRows(RowSelection::MoreThanOneMatch);
            break;
        case ControlId::MatchedMoreThanOnceButton:
            SelectRows(RowSelection::MatchedMoreThanOnce);
            break;
        case ControlId::CheckSelectedButton:
            CheckSelectedRows(true);
            break;
        case ControlId::UncheckSelectedButton:
            CheckSelectedRows(false);
            break;
        case ControlId::DisplayLyricsButton:
            ShowPreparedLyrics();
            break;
        case ControlId::DisplaySavedLyricsButton:
            ShowSavedLyrics();
            break;
        default:
            break;  // labels, pictures and the subfolder box have no command
    }
}

void WindowLogic::RememberChoice(ControlId box, bool checked) {
    if (services_.Settings == nullptr) {
        return;
    }
    if (box == ControlId::AlsoId3v2Box) {
        services_.Settings->SetAlsoId3v2(checked);
    } else if (box == ControlId::AllFormatsBox) {
        services_.Settings->SetAllFormats(checked);
    } else if (box == ControlId::BesideFileBox) {
        services_.Settings->SetBesideFile(checked);
    }
}

bool WindowLogic::CanTakeDrop() const {
    return !state_.PassRunning && !state_.TaggingRunning;
}

void WindowLogic::FolderDropped(const std::string& folder) {
    // Another drop may have started a pass in the meantime.
    if (!CanTakeDrop()) {
        return;
    }
    MatchChosenFolder(folder);
}

void WindowLogic::FolderHandedOver(const std::string& folder, bool subfolders) {
    if (state_.PassRunning) {
        services_.Prompts->ShowMessage(texts::kHandedFolderWhilePass + folder);
        return;
    }
    if (!services_.Prompts->AskYesNo(texts::kHandedFolderQuestion + folder + "?",
                                     PromptIcon::Question)) {
        return;
    }
    SetSubfolders(subfolders);
    MatchChosenFolder(folder);
}

void WindowLogic::SetLyricsCountCaption(const std::string& caption) {
    view_.SetCaption(ControlId::LyricsCountLabel, caption);
}

void WindowLogic::SetSubfolders(bool checked) {
    view_.SetChecked(ControlId::SubfoldersBox, checked);
}

}  // namespace versemark
