#include "cli/CliVerbs.h"
#include "cli/DisplayText.h"

namespace versemark::cli {

void ReportRecovery(CliIo& io, const std::vector<RecoveryNote>& notes) {
    for (const RecoveryNote& note : notes) {
        if (note.Repaired) {
            io.Err << "Recovered: restored the old tail of " << DisplayPath(note.Path) << '\n';
        } else {
            io.Err << "Could not recover " << DisplayPath(note.Path) << ": " << note.Text << '\n';
        }
    }
}

void ReportReasons(CliIo& io, const std::vector<TagResult>& results) {
    for (const TagResult& result : results) {
        if (!result.Tagged) {
            io.Err << DisplayPath(result.Mp3Path) << ": " << result.Reason << '\n';
        }
    }
}

}  // namespace versemark::cli
