// SPDX-License-Identifier: GPL-3.0-or-later
// What the journal of old tails costs: tagging the demo library and 1,000 files
// with the journal (each record flushed before its file is written, each file
// flushed after) and without it (each file still flushed). Then the peak memory
// of versemark-cli's "undo --list" and of its tagging of the demo library with an
// empty state folder and with one newest journal of 1 GB (which only its header
// and summary should cost). VERSEMARK_CLI names another build of the program to
// measure (an older one, say); VERSEMARK_BENCH_SKIP_TIMES=1 measures the memory
// only.
//
//   JournalBench [work folder, default /tmp/versemark-bench-journal] [runs, default 5]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ProcessRuns.h"
#include "demo/DemoLibrary.h"
#include "demo/SilentMp3.h"
#include "matching/LyricsIndex.h"
#include "matching/MatchFolder.h"
#include "matching/RowList.h"
#include "tagging/Journal.h"
#include "tagging/TaggingPass.h"

using namespace versemark;

namespace {

constexpr std::size_t kFiles = 1000;
constexpr std::size_t kAudioFrames = 10;  // silent MPEG audio: only such files are tagged
constexpr std::size_t kAudioBytes = kAudioFrames * kSilentFrameSize;
constexpr std::size_t kLyricsBytes = 2000;
constexpr std::size_t kId3Bytes = 128;
constexpr std::size_t kBigRecords = 1024;
constexpr std::size_t kBigTailBytes = 1024 * 1024;  // 1,024 records of 1 MiB: 1 GiB

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// One untagged file per row, the same every run, and its lyrics file.
struct Library {
    RowList Rows;
    std::vector<std::string> Mp3Files;
    std::string Original;
};

Library ThousandFiles(const std::string& folder) {
    std::filesystem::create_directories(folder);
    Library library;
    library.Original = SilentMp3Audio(kAudioFrames) + "TAG" + std::string(kId3Bytes - 3, ' ');
    const std::string lyrics(kLyricsBytes, 'l');
    for (std::size_t i = 0; i < kFiles; ++i) {
        const std::string name = "Artist " + std::to_string(i) + " - Title";
        const std::string mp3 = folder + "/" + name + ".mp3";
        const std::string txt = folder + "/" + name + ".txt";
        WriteBytes(txt, lyrics);
        ResultRow row;
        row.Checked = true;
        row.Mp3Path = mp3;
        row.LyricsPath = txt;
        row.LyricsName = name;
        library.Rows.Add(row);
        library.Mp3Files.push_back(mp3);
    }
    return library;
}

// The demo library's rows as the matching pass checks them.
RowList DemoRows(const DemoLibraryResult& demo) {
    LyricsIndex index;
    bool singleDir = true;
    BuildLyricsIndex(demo.LyricsFolder, singleDir, index);
    RowList rows;
    MatchFolder(demo.MusicFolder, true, index, rows);
    return rows;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds of one pass; `prepare` puts the untagged files back and gives
// their rows first (not timed).
template <typename Prepare>
double TimePass(const std::optional<std::string>& journal, Prepare prepare) {
    const RowList rows = prepare();
    TaggingOptions options;
    options.JournalFolder = journal;
    const auto start = std::chrono::steady_clock::now();
    const auto outcome = TagCheckedRows(rows, options);
    const auto end = std::chrono::steady_clock::now();
    if (!outcome || !AllTagged(outcome->Results)) {
        std::fprintf(stderr, "a file was not tagged\n");
        std::exit(1);
    }
    return std::chrono::duration<double, std::milli>(end - start).count();
}

template <typename Prepare>
void Compare(const char* what, std::size_t files, const std::string& journal, int runs,
             Prepare prepare) {
    std::vector<double> with;
    std::vector<double> without;
    for (int run = 0; run < runs; ++run) {
        without.push_back(TimePass(std::nullopt, prepare));
        with.push_back(TimePass(journal, prepare));
    }
    const double a = Median(without);
    const double b = Median(with);
    std::printf(
        "%-12s %5zu files  without journal %9.1f ms  with journal %9.1f ms  (+%.0f%%, "
        "%.2f ms a file)\n",
        what, files, a, b, 100.0 * (b - a) / a, (b - a) / static_cast<double>(files));
}

// A finished pass's journal of about 1 GiB in `stateFolder`: its records name no
// real file.
void WriteBigJournal(const std::string& stateFolder) {
    PassHeader header;
    header.Started = static_cast<std::int64_t>(std::time(nullptr));
    header.Folder = "big";
    std::string reason;
    auto journal = PassJournal::Create(stateFolder, header, reason);
    if (!journal) {
        std::fprintf(stderr, "journal: %s\n", reason.c_str());
        std::exit(1);
    }
    const std::string newTail(kLyricsBytes, 'n');
    for (std::size_t i = 0; i < kBigRecords; ++i) {
        TailChange change;
        change.Offset = kAudioBytes;
        change.OldTail = std::string(kBigTailBytes, static_cast<char>('a' + i % 26));
        change.OldLength = kAudioBytes + change.OldTail.size();
        change.NewTail = newTail;
        const auto index = journal->Begin("/nonexistent/" + std::to_string(i), FileStamp{},
                                          change, reason);
        if (!index) {
            std::fprintf(stderr, "journal: %s\n", reason.c_str());
            std::exit(1);
        }
        journal->MarkDone(*index);
    }
    journal->Settle();
}

// Peak memory of "undo --list" and of tagging the demo library with the state
// folder `state`.
void MeasureMemory(const char* what, const std::string& cli, const std::string& state,
                   const std::string& folder) {
    std::filesystem::remove_all(folder + "/memdemo");
    const DemoLibraryResult demo = WriteDemoLibrary(folder + "/memdemo");
    const std::vector<std::string> environment = {"XDG_STATE_HOME=" + state};
    const bench::RunFigures list =
        bench::RunProgram({cli, "undo", "--list"}, environment, folder + "/list.out");
    const bench::RunFigures tag = bench::RunProgram(
        {cli, "tag", demo.MusicFolder, "--cache", demo.LyricsFolder}, environment,
        folder + "/tag.out");
    std::printf("%-22s undo --list %7.1f MB peak %7.0f ms   tag (demo) %7.1f MB peak %7.0f ms\n",
                what, static_cast<double>(list.PeakKb) / 1024.0, list.WallMs,
                static_cast<double>(tag.PeakKb) / 1024.0, tag.WallMs);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "/tmp/versemark-bench-journal";
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    std::filesystem::remove_all(folder);
    const std::string journal = folder + "/state";

    const std::string cli = bench::ProgramPath("VERSEMARK_CLI", VERSEMARK_CLI_EXECUTABLE);
    std::filesystem::create_directories(folder + "/empty");
    MeasureMemory("empty state folder", cli, folder + "/empty", folder);
    WriteBigJournal(folder + "/big/versemark");
    MeasureMemory("1 GiB newest journal", cli, folder + "/big", folder);
    if (const char* skip = std::getenv("VERSEMARK_BENCH_SKIP_TIMES"); skip && *skip == '1') {
        std::filesystem::remove_all(folder);
        return 0;
    }

    const std::string demoFolder = folder + "/demo";
    const DemoLibraryResult demo = WriteDemoLibrary(demoFolder);
    if (!demo.Ok) {
        std::fprintf(stderr, "demo library: %s\n", demo.Error.c_str());
        return 1;
    }
    Compare("demo library", DemoRows(demo).CheckedCount(), journal, runs, [&] {
        std::filesystem::remove_all(demoFolder);
        return DemoRows(WriteDemoLibrary(demoFolder));
    });

    const Library library = ThousandFiles(folder + "/files");
    Compare("1,000 files", kFiles, journal, runs, [&] {
        for (const std::string& mp3 : library.Mp3Files) {
            WriteBytes(mp3, library.Original);
        }
        return library.Rows;
    });
    std::filesystem::remove_all(folder);
    return 0;
}
