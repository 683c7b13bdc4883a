// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowlogic/WindowStartup.h"

#include <utility>

#include "matching/MatchFolder.h"
#include "platform/CommonControls.h"
#include "platform/FileSystem.h"
#include "startup/Manifest.h"
#include "tagging/PassLock.h"
#include "windowlogic/MatchTexts.h"
#include "windowlogic/NoCacheMessage.h"
#include "windowlogic/UserPrompts.h"
#include "windowlogic/WindowLogic.h"

namespace versemark {
namespace {

IndexBuilt BuildIndexAndMatcher(const std::string& cachePath, bool singleDir) {
    IndexBuilt built;
    built.SingleDir = singleDir;
    built.LyricsCount = BuildLyricsIndex(cachePath, built.SingleDir, built.Index);
    PrepareMatcher(built.Index);
    return built;
}

// What a killed run left half written, put right unless another pass runs now:
// the window never waits, and that pass recovers first by itself.
std::vector<RecoveryNote> RecoverUnlessBusy(const std::string& journalFolder) {
    const PassLock lock = PassLock::Take(journalFolder, [] { return false; });
    return lock.Held() ? RecoverUnfinished(journalFolder, OpenFile) : std::vector<RecoveryNote>{};
}

}  // namespace

WindowStartup::WindowStartup(ProgramValues& values, const std::string& journalFolder,
                             bool allFormats)
    : values_(values),
      recovered_(RecoverUnlessBusy(journalFolder)),
      firstPass_(StartFirstPassReader(values.Config, allFormats)),
      // The cache's path and layout are copied: the thread shares nothing with
      // the window, which must not look at the index before Finish takes it.
      index_(std::async(std::launch::async, BuildIndexAndMatcher, values.Cache.CachePath,
                        values.Cache.SingleDir)) {}

void WindowStartup::Finish(WindowLogic& logic, UserPrompts& prompts, bool probe,
                           const std::function<void()>& show) {
    logic.SetFirstPassReader(std::move(firstPass_));

    IndexBuilt built = index_.get();
    values_.Index = std::move(built.Index);
    values_.Cache.SingleDir = built.SingleDir;
    // A cache folder that does not exist holds no lyrics: the label counts none,
    // and the user is told why once the window is open.
    const bool cacheFound = built.LyricsCount.has_value();
    logic.SetLyricsCountCaption(LyricsCountCaption(built.LyricsCount.value_or(0)));
    if (probe) {
        // No manifest where there is no Windows version (0 on Linux).
        WriteManifest(ProgramFolder(), ProgramFileName(), WindowsVersion());
    }
    show();
    if (!recovered_.empty()) {
        prompts.ShowMessage(RecoveryText(recovered_));
    }
    if (!cacheFound) {
        prompts.ShowMessage(NoLyricsCacheText(values_.Cache));
    }

    if (values_.Config.Mode == RunMode::ScanFolder) {
        logic.SetSubfolders(values_.Config.Subfolders);
        logic.FolderCommand();
    }
}

}  // namespace versemark
