// SPDX-License-Identifier: GPL-3.0-or-later
#include "winapp/WinSession.h"

#include <objbase.h>

#include <cstdio>
#include <utility>

#include "platform/UserChoices.h"
#include "windowlogic/PassPace.h"

namespace versemark::winapp {
namespace {

// Closing the window during a pass (or a console's stop request during a
// tagging pass) ends the program here and now.
void EndProgramAtOnce(int exitStatus) {
    std::fflush(nullptr);
    ExitProcess(static_cast<UINT>(exitStatus));
}

}  // namespace

bool RegistrySettings::AlsoId3v2() const {
    return RememberedChoice(UserChoice::AlsoId3v2);
}

void RegistrySettings::SetAlsoId3v2(bool alsoId3v2) {
    RememberChoice(UserChoice::AlsoId3v2, alsoId3v2);
}

bool RegistrySettings::AllFormats() const {
    return RememberedChoice(UserChoice::AllFormats);
}

void RegistrySettings::SetAllFormats(bool allFormats) {
    RememberChoice(UserChoice::AllFormats, allFormats);
}

bool RegistrySettings::BesideFile() const {
    return RememberedChoice(UserChoice::BesideFile);
}

void RegistrySettings::SetBesideFile(bool besideFile) {
    RememberChoice(UserChoice::BesideFile, besideFile);
}

WindowSession::WindowSession(HINSTANCE instance, ProgramValues& values, UserPrompts* prompts)
    : values_(values),
      startup_(values, DefaultJournalFolder(), RememberedChoice(UserChoice::AllFormats)),
      view_(instance),
      prompts_(prompts) {
    if (prompts_ == nullptr) {
        dialogs_ = std::make_unique<Win32Prompts>(view_.Handle());
        prompts_ = dialogs_.get();
    }
    WindowServices services;
    services.Prompts = prompts_;
    services.Settings = &settings_;
    services.ProcessEvents = PacedEventProcessing([this] { ProcessPendingMessages(view_); });
    services.EndProgram = EndProgramAtOnce;
    logic_ = std::make_unique<WindowLogic>(values_, view_, std::move(services));
    view_.Attach(*logic_);
}

WindowSession::~WindowSession() {
    // The logic goes first: the window, destroyed after it, must not call it.
    view_.Detach();
}

void WindowSession::Start(bool probe, int showCommand) {
    startup_.Finish(*logic_, *prompts_, probe, [this, showCommand] { view_.Show(showCommand); });
}

int WindowSession::Run() {
    return RunMessageLoop(view_);
}

}  // namespace versemark::winapp
