#include "startup/ProgramStart.h"

#include <cstdio>

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

int RunOneFileMode(const RunConfig& config, ProcessServices& services, TagOptions options) {
    options.ReportFailure = [](const std::string& mp3Path, const std::string& reason) {
        std::fprintf(stderr, "Versemark: %s: %s\n", mp3Path.c_str(), reason.c_str());
    };
    const std::string log = TagOneFile(config, OpenFile, options);
    std::fwrite(log.data(), 1, log.size(), stdout);
    std::fflush(stdout);
    if (!config.CmdNoMessage) {
        services.ShowMessage(log);
    }
    return kExitNormal;
}

}  // namespace versemark
