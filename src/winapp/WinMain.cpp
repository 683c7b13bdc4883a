// The versemark program on Windows until its window exists: one running copy,
// the configuration, the command line, then the one-file run. The window's run
// modes say plainly that the window is not built yet.
#include <windows.h>

#include <string>

#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/StandardStreams.h"
#include "platform/UserChoices.h"
#include "platform/win32/Win32Process.h"
#include "startup/Manifest.h"
#include "startup/ProgramStart.h"
#include "startup/RunConfig.h"
#include "startup/basMain.h"
#include "tags/Id3v2Lyrics.h"

namespace {

using namespace versemark;

constexpr char kProgramTitle[] = "Versemark";
constexpr char kWindowNotBuilt[] =
    "The Versemark window is not built for Windows yet.\r\n\r\n"
    "This version tags one file when Songleaf asks for it; to scan a folder, use "
    "versemark-cli.exe.";
constexpr int kExitWindowNotBuilt = 1;

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

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    PrepareStandardStreams();  // the log also goes to standard output, as on Linux
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
        return RunOneFileMode(values.Config, services, options);
    }
    // The window's road up to the window itself: the manifest, when the common
    // controls allow it, so that the window will get the version 6 controls.
    if (*probe) {
        WriteManifest(ProgramFolder(), ProgramFileName(), WindowsVersion());
    }
    services.ShowMessage(kWindowNotBuilt);
    return kExitWindowNotBuilt;
}
