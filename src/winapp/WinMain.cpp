// SPDX-License-Identifier: GPL-3.0-or-later
// The versemark program on Windows: one running copy (a second start hands over
// to it), the configuration, the command line, then either the one-file run or
// the window.
#include <windows.h>

#include <objbase.h>

#include <cstdio>
#include <string>

#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/StandardStreams.h"
#include "platform/UserChoices.h"
#include "platform/win32/Win32Process.h"
#include "startup/ProgramInfo.h"
#include "startup/ProgramStart.h"
#include "startup/ProgramValues.h"
#include "startup/RunConfig.h"
#include "tags/Id3v2Lyrics.h"
#include "winapp/WinSecondStart.h"
#include "winapp/WinSession.h"

namespace {

using namespace versemark;

constexpr char kProgramTitle[] = "Versemark";

// The process services through the system: a named mutex marks the running copy.
class Win32ProcessServices final : public ProcessServices {
  public:
    bool AnotherCopyRuns() override { return instance_.AnotherCopyRuns(); }
    void Beep() override { win32::SystemBeep(); }
    void ShowMessage(const std::string& text) override {
        win32::ShowMessageBox(kProgramTitle, DisplayUtf8(text));
    }

  private:
    win32::InstanceMutex instance_;
};

// The version or the usage when the whole command line asks for it: printed, as
// on Linux, and shown in a message box, since a program of the Windows subsystem
// has no console of its own. False for every other command line.
bool AnswerInfoRequest(const std::string& argumentText) {
    const char* const argv[] = {kWindowProgramName.data(), argumentText.c_str(), nullptr};
    const auto answer =
        InfoRequestAnswer(2, argv, kWindowProgramName, VERSEMARK_VERSION, VersemarkUsage());
    if (!answer) {
        return false;
    }
    std::fwrite(answer->data(), 1, answer->size(), stdout);
    std::fflush(stdout);
    win32::ShowMessageBox(kProgramTitle, *answer);
    return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    PrepareStandardStreams();  // the log also goes to standard output, as on Linux
    const std::string argumentText = win32::ArgumentText();
    if (AnswerInfoRequest(argumentText)) {
        return kExitNormal;
    }
    // Twips become pixels at the screen's own dpi, not at a scaled 96.
    SetProcessDPIAware();
    Win32ProcessServices services;
    if (services.AnotherCopyRuns()) {
        RunConfig request;
        ParseCommandLine(argumentText, request);
        return winapp::AnswerSecondStart(request, kProgramTitle);
    }
    ProgramValues values;
    const StartOutcome outcome = StartProgram(argumentText, ProgramFolder(), services, values);
    if (outcome == StartOutcome::AnotherCopyRuns) {  // another copy started in the meantime
        return AnswerSecondStart(values.Config, services);
    }
    if (values.Config.Mode == RunMode::TagOneFile) {
        // The companion's one-file run follows the choice the user keeps.
        TaggingOptions options;
        options.Tag.AlsoId3v2 = Id3v2LyricsAvailable() && RememberedChoice(UserChoice::AlsoId3v2);
        options.Tag.AllFormats = RememberedChoice(UserChoice::AllFormats);
        options.Tag.BesideFile = RememberedChoice(UserChoice::BesideFile);
        return RunOneFileMode(values.Config, services, options);
    }
    // The shell's folder dialog needs the single-threaded apartment.
    OleInitialize(nullptr);
    int exitCode = kExitNormal;
    {
        winapp::WindowSession session(instance, values);
        session.Start(outcome == StartOutcome::StartedWithCommonControls, showCommand);
        exitCode = session.Run();
    }
    OleUninitialize();
    return exitCode;
}
