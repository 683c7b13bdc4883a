// SPDX-License-Identifier: GPL-3.0-or-later
// 200,000 MP3 files against 200,000 lyrics files: the index and one whole matching
// pass, with the process's peak memory. The library is written once, by a child
// process, so that the peak counts only the index and the pass.
//
//   LargeBench [library folder, default /tmp/versemark-bench-large]

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "BenchData.h"
#include "matching/WordMatcher.h"

using namespace versemark;
using namespace versemark::bench;

namespace {

constexpr std::size_t kLyrics = 200000;
constexpr std::size_t kFolders = 400;
constexpr std::size_t kMp3Files = 200000;
constexpr std::size_t kVocabulary = 150000;

double PeakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB
}

void WriteLargeLibrary(const std::string& root) {
    if (std::filesystem::exists(root + "/complete")) {
        return;
    }
    const pid_t child = fork();
    if (child == 0) {
        std::filesystem::remove_all(root);
        Corpus corpus(11, kVocabulary);
        const std::vector<Song> catalogue = corpus.Catalogue(kLyrics);
        const std::size_t files = WriteLibrary(root, corpus, catalogue, kFolders, kMp3Files, 0.7);
        WriteBytes(root + "/complete", std::to_string(files) + "\n");
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string root = argc > 1 ? argv[1] : "/tmp/versemark-bench-large";
    WriteLargeLibrary(root);
    std::printf("peak at start: %.1f MiB\n", PeakMiB());

    LyricsIndex index;
    bool singleDir = false;
    std::optional<int> lyrics;
    const double indexMs =
        TimeMs([&] { lyrics = BuildLyricsIndex(root + "/cache", singleDir, index); });
    std::printf("%d lyrics in %.0f ms; peak %.1f MiB\n", lyrics.value_or(-1), indexMs, PeakMiB());

    std::size_t states = 0;
    const double buildMs = TimeMs([&] { states = WordMatcher(index).StateCount(); });
    std::printf("word automaton: %zu states, built in %.0f ms\n", states, buildMs);

    RowList rows;
    MatchResult result;
    const double passMs = TimeMs([&] { result = MatchFolder(root + "/music", true, index, rows); });
    std::printf("%d rows of %d files, %d checked, in %.0f ms\n", result.Rows, result.Processed,
                result.CheckedCount, passMs);
    std::printf("peak resident memory: %.1f MiB\n", PeakMiB());
    return result.Processed == static_cast<int>(kMp3Files) ? 0 : 1;
}
