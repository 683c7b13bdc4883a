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

void WindowLogic::Form_Load() {
    // The list takes its row and header pictures from the image list itself.
    view_.SetPicture({ControlName::img, 0}, kPictureOneMatch);
    view_.SetPicture({ControlName::img, 2}, kPictureAlert);
    view_.SetPicture({ControlName::img, 3}, kPictureAlert);
    view_.SetPicture({ControlName::img, 4}, kPictureNewerTag);
    view_.SetPicture({ControlName::img, 5}, kPictureAlert);
    view_.SetPicture({ControlName::img, 6}, kPictureUnfiltered);
    SetStepColours(true);
    // The remembered choice; off in a build that cannot write the frame.
    const bool alsoId3v2 =
        Id3v2LyricsAvailable() && services_.Settings != nullptr && services_.Settings->AlsoId3v2();
    view_.SetChecked({ControlName::chkAlsoId3v2}, alsoId3v2);
    const bool remembered = services_.Settings != nullptr;
    view_.SetChecked({ControlName::chkAllFormats}, remembered && services_.Settings->AllFormats());
    view_.SetChecked({ControlName::chkBesideFile}, remembered && services_.Settings->BesideFile());
}

bool WindowLogic::Form_Unload() {
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

void WindowLogic::chkAlsoId3v2_Click(bool checked) {
    if (services_.Settings != nullptr) {
        services_.Settings->SetAlsoId3v2(checked);
    }
}

void WindowLogic::chkAllFormats_Click(bool checked) {
    if (services_.Settings != nullptr) {
        services_.Settings->SetAllFormats(checked);
    }
}

void WindowLogic::chkBesideFile_Click(bool checked) {
    if (services_.Settings != nullptr) {
        services_.Settings->SetBesideFile(checked);
    }
}

bool WindowLogic::CanTakeDrop() const {
    return !state_.PassRunning && !state_.TaggingRunning;
}

void WindowLogic::Form_FolderDropped(const std::string& folder) {
    // Another drop may have started a pass in the meantime.
    if (!CanTakeDrop()) {
        return;
    }
    MatchChosenFolder(folder);
}

void WindowLogic::Form_FolderHandedOver(const std::string& folder, bool subfolders) {
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
    view_.SetCaption({ControlName::Label1, 0}, caption);
}

void WindowLogic::SetSubfolders(bool checked) {
    view_.SetChecked({ControlName::chkSubfolders}, checked);
}

}  // namespace versemark
