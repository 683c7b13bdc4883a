// SPDX-License-Identifier: GPL-3.0-or-later
// The versemark program on Windows: one running copy, the configuration, the
// command line, then either the one-file run or the window.
#include <windows.h>

#include <objbase.h>

#include <string>

#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/StandardStreams.h"
#include "platform/UserChoices.h"
#include "platform/win32/Win32Process.h"
#include "startup/ProgramStart.h"
#include "startup/RunConfig.h"
#include "startup/basMain.h"
#include "tags/Id3v2Lyrics.h"
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

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    PrepareStandardStreams();  // the log also goes to standard output, as on Linux
    // Twips become pixels at the screen's own dpi, not at a scaled 96.
    SetProcessDPIAware();
    Win32ProcessServices services;
    ProgramValues& values = basMain();
    const auto probe = StartProgram(win32::ArgumentText(), ProgramFolder(), services, values);
    if (!probe) {
        return kExitNormal;
    }
    if (values.Config.RunMode == kRunTagOneFile) {
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
        session.Start(*probe, showCommand);
        exitCode = session.Run();
    }
    OleUninitialize();
    return exitCode;
}
