#include "winapp/WinSession.h"

#include <objbase.h>

#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "matching/LyricsIndex.h"
#include "platform/CommonControls.h"
#include "platform/FileSystem.h"
#include "platform/UserChoices.h"
#include "startup/Manifest.h"
#include "tagging/Journal.h"
#include "tagging/Recovery.h"
#include "windowlogic/PassPace.h"

namespace versemark::winapp {
namespace {

// Closing the window during a pass ends the program here and now.
void EndProgramAtOnce() {
    std::fflush(nullptr);
    ExitProcess(0);
}

}  // namespace

bool RegistrySettings::AlsoId3v2() const {
    return RememberedChoice(UserChoice::AlsoId3v2);
}

void RegistrySettings::SetAlsoId3v2(bool alsoId3v2) {
    RememberChoice(UserChoice::AlsoId3v2, alsoId3v2);
}

WindowSession::WindowSession(HINSTANCE instance, ProgramValues& values, UserPrompts* prompts)
    : values_(values),
      recovered_(RecoverUnfinished(DefaultJournalFolder(), OpenFile)),
      firstPass_(StartFirstPassReader(values.Config)),
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
    logic_->SetFirstPassReader(std::move(firstPass_));
    view_.Attach(*logic_);
}

WindowSession::~WindowSession() {
    // The logic goes first: the window, destroyed after it, must not call it.
    view_.Detach();
}

void WindowSession::Start(bool probe, int showCommand) {
    const std::optional<std::string> caption =
        BuildLyricsIndex(values_.Cache.CachePath, values_.Cache.SingleDir, values_.Index);
    if (caption) {
        logic_->SetLyricsCountCaption(*caption);
    }
    if (probe) {
        WriteManifest(ProgramFolder(), ProgramFileName(), WindowsVersion());
    }
    view_.Show(showCommand);
    // What a killed tagging run left half written, said in one message.
    if (!recovered_.empty()) {
        prompts_->ShowMessage(RecoveryText(recovered_));
    }
    if (values_.Config.RunMode == kRunScanFolder) {
        logic_->SetSubfolders(values_.Config.CmdSubfolders == 1);
        logic_->cmdBrowseForFolder_Click();
    }
}

int WindowSession::Run() {
    return RunMessageLoop(view_);
}

}  // namespace versemark::winapp
