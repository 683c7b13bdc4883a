#include "startup/ProgramStart.h"

#include <cstdio>
#include <vector>

#include "platform/CommonControls.h"
#include "startup/CacheLocation.h"
#include "startup/OneFileRun.h"
#include "startup/RunConfig.h"

namespace versemark {

std::optional<bool> StartProgram(const std::string& argumentText, const std::string& programFolder,
                                 ProcessServices& services, ProgramValues& values) {
    if (services.AnotherCopyRuns()) {
        services.Beep();
        return std::nullopt;
    }
    const bool probe = ProbeCommonControls();
    LocateLyricsCache(values.Cache, programFolder);
    ReadSettings(values.Cache);
    values.Config.RunMode = ParseCommandLine(argumentText, values.Config);
    return probe;
}

int RunOneFileMode(const RunConfig& config, ProcessServices& services, TaggingOptions options) {
    options.Tag.ReportFailure = [](const std::string& mp3Path, const std::string& reason) {
        std::fprintf(stderr, "Versemark: %s: %s\n", mp3Path.c_str(), reason.c_str());
    };
    std::vector<RecoveryNote> recovered;
    const std::string log = TagOneFile(config, options, &recovered);
    const std::string recoveryText = RecoveryText(recovered);
    std::fwrite(recoveryText.data(), 1, recoveryText.size(), stderr);
    std::fwrite(log.data(), 1, log.size(), stdout);
    std::fflush(stdout);
    if (!config.CmdNoMessage) {
        services.ShowMessage(log);
    }
    return kExitNormal;
}

}  // namespace versemark
