// SPDX-License-Identifier: GPL-3.0-or-later
// A whole matching pass over 10,000 MP3 files on disk against 32,767 lyrics files
// in 100 cache folders, warm cache, against a bare loop that makes the same reads
// (each MP3 file's first 500 and last 137 bytes, each chosen lyrics file's last
// 80 bytes) and nothing else.
//
//   PassBench [library folder, default /tmp/versemark-bench-pass] [runs, default 9]

#include <cstdlib>

#include "BenchData.h"
#include "matching/FileSearch.h"
#include "matching/WordMatcher.h"
#include "platform/FileSystem.h"
#include "platform/RandomAccessFile.h"

using namespace versemark;
using namespace versemark::bench;

namespace {

constexpr std::size_t kLyrics = 32767;
constexpr std::size_t kFolders = 100;
constexpr std::size_t kMp3Files = 10000;
constexpr std::size_t kLyricsTail = 80;

// The reads of a pass and nothing else.
std::size_t BareReads(const std::vector<std::string>& mp3Files,
                      const std::vector<std::string>& lyricsFiles) {
    std::size_t bytes = 0;
    std::string head;
    std::string tail;
    for (const std::string& path : mp3Files) {
        const auto file = OpenFile(path, FileAccess::Read);
        if (!file) {
            continue;
        }
        const std::uint64_t length = file->Length().value_or(0);
        const std::size_t headSize =
            static_cast<std::size_t>(std::min<std::uint64_t>(length, kMp3HeadSize));
        const std::size_t tailSize =
            static_cast<std::size_t>(std::min<std::uint64_t>(length, kMp3TailSize));
        file->ReadAt(0, headSize, head);
        file->ReadAt(length - tailSize, tailSize, tail);
        file->Close();
        bytes += head.size() + tail.size();
    }
    for (const std::string& path : lyricsFiles) {
        bytes += ReadFileTail(path, kLyricsTail).value_or("").size();
    }
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string root = argc > 1 ? argv[1] : "/tmp/versemark-bench-pass";
    const int runs = argc > 2 ? std::atoi(argv[2]) : 9;
    EnsureLibrary(root, kLyrics, kFolders, kMp3Files, 7);

    bool singleDir = false;
    LyricsIndex index;
    BuildLyricsIndex(root + "/cache", singleDir, index);
    RowList rows;
    MatchResult result = MatchFolder(root + "/music", true, index, rows);  // warms the cache
    std::printf("library: %zu lyrics, %d MP3 files; %d rows, %d checked\n", index.Entries.size(),
                result.Processed, result.Rows, result.CheckedCount);

    std::vector<std::string> mp3Files;
    FindMp3Files(root + "/music", true, mp3Files);
    std::vector<std::string> lyricsFiles;
    for (const ResultRow& row : rows.Rows()) {
        lyricsFiles.push_back(row.LyricsPath);
    }
    BareReads(mp3Files, lyricsFiles);

    Timings bare, pass, bareCpu, passCpu, search, build;
    std::vector<double> ratios;
    for (int run = 0; run < runs; ++run) {
        double cpu = ProcessCpuMs();
        bare.Ms.push_back(TimeMs([&] { BareReads(mp3Files, lyricsFiles); }));
        bareCpu.Ms.push_back(ProcessCpuMs() - cpu);
        cpu = ProcessCpuMs();
        pass.Ms.push_back(
            TimeMs([&] { result = MatchFolder(root + "/music", true, index, rows); }));
        passCpu.Ms.push_back(ProcessCpuMs() - cpu);
        ratios.push_back(pass.Ms.back() / bare.Ms.back());
        search.Ms.push_back(TimeMs([&] { FindMp3Files(root + "/music", true, mp3Files); }));
        build.Ms.push_back(TimeMs([&] { WordMatcher matcher(index); }));
    }
    PrintTimings("bare reads", bare);
    PrintTimings("MatchFolder pass", pass);
    PrintTimings("bare reads, processor", bareCpu);
    PrintTimings("MatchFolder pass, processor", passCpu);
    PrintTimings("  of it: MP3 search", search);
    PrintTimings("  of it: matcher build", build);
    std::sort(ratios.begin(), ratios.end());
    std::printf(
        "pass / bare: median %.2f, range %.2f .. %.2f (per run pair); fastest pass / "
        "fastest bare %.2f\n",
        ratios[ratios.size() / 2], ratios.front(), ratios.back(), pass.Min() / bare.Min());
    std::printf("processor time, pass / bare: median %.2f, fastest %.2f\n",
                passCpu.Median() / bareCpu.Median(), passCpu.Min() / bareCpu.Min());
    return 0;
}
