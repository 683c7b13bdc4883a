#include "window/WindowMain.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "matching/LyricsIndex.h"
#include "matching/MatchFolder.h"
#include "platform/FileSystem.h"
#include "startup/Manifest.h"
#include "tagging/Recovery.h"
#include "window/UserPrompts.h"
#include "window/frmMain.h"
#include "windowlogic/FirstPassReader.h"
#include "windowlogic/PassPace.h"

namespace versemark {
namespace {

// This platform has no Windows version; the manifest writer needs one above 5.0
// to write, and the common-controls probe is false here anyway.
constexpr float kNoWindowsVersion = 0.0F;

// Set to 1 to end the program after the folder scan of run mode 2 and print the
// matches label: how the scan is checked without a person at the window.
constexpr char kQuitAfterScanVariable[] = "VERSEMARK_QUIT_AFTER_SCAN";

bool QuitAfterScan() {
    return qEnvironmentVariableIntValue(kQuitAfterScanVariable) == 1;
}

// Closing the window during a pass ends the program here and now.
void EndProgramAtOnce() {
    std::fflush(nullptr);
    std::_Exit(EXIT_SUCCESS);
}

// The lyrics index and its word matcher, built into values of their own.
struct IndexBuilt {
    LyricsIndex Index;
    bool SingleDir = false;
    std::optional<std::string> Caption;
};

IndexBuilt BuildIndexAndMatcher(const std::string& cachePath, bool singleDir) {
    IndexBuilt built;
    built.SingleDir = singleDir;
    built.Caption = BuildLyricsIndex(cachePath, built.SingleDir, built.Index);
    PrepareMatcher(built.Index);
    return built;
}

}  // namespace

int RunWindowModes(QApplication& app, ProgramValues& values, bool probe) {
    // What a killed tagging run left half written is put right first, before any
    // file is read, and said in one message once the window is there.
    const std::vector<RecoveryNote> recovered = RecoverUnfinished(DefaultJournalFolder(), OpenFile);
    // The companion's folder is listed and read, and the index read and its
    // matcher built, on other threads while the window is made; nothing of the
    // window looks at them before they are there.
    FirstPassReader firstPass = StartFirstPassReader(values.Config);
    std::future<IndexBuilt> indexBuilt = std::async(std::launch::async, BuildIndexAndMatcher,
                                                    values.Cache.CachePath, values.Cache.SingleDir);
    DialogPrompts prompts;
    WindowServices services;
    services.Prompts = &prompts;
    services.ProcessEvents = PacedEventProcessing([] { QCoreApplication::processEvents(); });
    services.EndProgram = EndProgramAtOnce;
    frmMain form(values, std::move(services));
    prompts.SetOwner(&form);
    form.Logic().SetFirstPassReader(std::move(firstPass));

    IndexBuilt built = indexBuilt.get();
    values.Index = std::move(built.Index);
    values.Cache.SingleDir = built.SingleDir;
    if (built.Caption) {
        form.SetLyricsCountCaption(*built.Caption);
    }
    if (probe) {
        WriteManifest(ProgramFolder(), ProgramFileName(), kNoWindowsVersion);
    }
    form.show();
    if (!recovered.empty()) {
        ShowLogMessage(RecoveryText(recovered));
    }

    if (values.Config.RunMode == kRunScanFolder) {
        form.SetSubfolders(values.Config.CmdSubfolders == 1);
        form.cmdBrowseForFolder_Click();
        if (QuitAfterScan()) {
            const QByteArray matches = form.MatchesCaption().toUtf8();
            std::printf("%s\n", matches.constData());
            return EXIT_SUCCESS;
        }
    }
    return app.exec();
}

}  // namespace versemark
