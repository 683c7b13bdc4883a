// SPDX-License-Identifier: GPL-3.0-or-later
// The cost of writing lyrics into FLAC files: 200 files of 30 s of audio (made
// once by ffmpeg, with the padding its encoder leaves, then copied), tagged by a
// journaled pass, each run with other lyrics of the same length so that every
// file really changes. Compared with mutagen doing the same in one process.
// Prints wall time per pass for both. The flushes per file are counted by
// running the program under `strace -f -c -e trace=fsync,fdatasync`.
//
//   FieldTagBench [folder, default /tmp/versemark-bench-field] [runs, default 5]
//                 [files, default 200]

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "BenchData.h"
#include "matching/Mp3Sample.h"
#include "tagging/TaggingPass.h"

using namespace versemark;
using namespace versemark::bench;

namespace {

constexpr std::size_t kFiles = 200;
constexpr std::size_t kLyricsBytes = 2000;

bool Run(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

// The lyrics of run `run`: a line repeated, with the run's letter in it.
std::string Lyrics(int run) {
    std::string lyrics;
    while (lyrics.size() < kLyricsBytes) {
        lyrics += "A line of the song's words, sung again and again ";
        lyrics += static_cast<char>('a' + run % 26);
        lyrics += "\r\n";
    }
    return lyrics;
}

RowList MakeFiles(const std::string& root, std::size_t files) {
    std::filesystem::create_directories(root + "/music");
    std::filesystem::create_directories(root + "/lyrics");
    const std::string first = root + "/music/0.flac";
    if (!Run("ffmpeg -nostdin -loglevel error -y -f lavfi -i "
             "anoisesrc=color=pink:sample_rate=44100:duration=30:seed=7 -ac 2 -c:a flac '" +
             first + "'")) {
        std::printf("ffmpeg could not make the FLAC file\n");
        std::exit(1);
    }
    RowList rows;
    for (std::size_t n = 0; n < files; ++n) {
        ResultRow row;
        row.Mp3Path = root + "/music/" + std::to_string(n) + ".flac";
        row.LyricsPath = root + "/lyrics/" + std::to_string(n) + ".txt";
        row.LyricsName = "Artist - Title " + std::to_string(n);
        row.Checked = true;
        if (n > 0) {
            std::filesystem::copy_file(first, row.Mp3Path,
                                       std::filesystem::copy_options::overwrite_existing);
        }
        rows.Add(std::move(row));
    }
    return rows;
}

void WriteLyrics(const RowList& rows, int run) {
    for (const ResultRow& row : rows.Rows()) {
        std::ofstream(row.LyricsPath, std::ios::binary) << Lyrics(run);
    }
}

void RestampRows(RowList& rows) {
    for (ResultRow& row : rows.Rows()) {
        if (const auto sample = ReadMp3Sample(row.Mp3Path); sample.Stamp) {
            row.Scanned = sample.Stamp;
        }
    }
}

void Ours(RowList rows, const std::string& journals, int runs) {
    TaggingOptions options;
    options.Tag.AllFormats = true;
    options.JournalFolder = journals;
    Timings wall, cpu;
    for (int run = 0; run < runs; ++run) {
        WriteLyrics(rows, run);
        RestampRows(rows);
        const double cpuStart = ProcessCpuMs();
        wall.Ms.push_back(TimeMs([&] {
            const auto outcome = TagCheckedRows(rows, options);
            for (const TagResult& result : outcome ? outcome->Results : std::vector<TagResult>{}) {
                if (!result.Tagged) {
                    std::printf("tagging failed: %s: %s\n", result.Mp3Path.c_str(),
                                result.Reason.c_str());
                    std::exit(1);
                }
            }
        }));
        cpu.Ms.push_back(ProcessCpuMs() - cpuStart);
    }
    std::printf(
        "  versemark (journaled) wall median %9.3f ms (min %9.3f, max %9.3f), processor median "
        "%9.3f ms per pass\n",
        wall.Median(), wall.Min(), wall.Max(), cpu.Median());
}

void Mutagen(const std::string& root, std::size_t files, int runs) {
    Timings wall, cpu;
    for (int run = 0; run < runs; ++run) {
        // Only the loop is timed, not the interpreter's start: read the time it prints.
        const std::string timed =
            "/usr/bin/python3 -c \"import sys,time\nfrom mutagen.flac import FLAC\n"
            "t=open(sys.argv[1]+'/lyrics/0.txt').read()\n"
            "s=time.perf_counter()\nc=time.process_time()\n"
            "for n in range(int(sys.argv[2])):\n"
            "    f=FLAC(sys.argv[1]+'/music/%d.flac'%n); f['LYRICS']=t+'" +
            std::to_string(run) +
            "'; f.save()\n"
            "print((time.perf_counter()-s)*1000,(time.process_time()-c)*1000)\" '" +
            root + "' " + std::to_string(files) + " > '" + root + "/mutagen-ms'";
        if (!Run(timed)) {
            std::printf("mutagen failed\n");
            std::exit(1);
        }
        double ms = 0;
        double cpuMs = 0;
        std::ifstream(root + "/mutagen-ms") >> ms >> cpuMs;
        wall.Ms.push_back(ms);
        cpu.Ms.push_back(cpuMs);
    }
    std::printf(
        "  mutagen (one process) wall median %9.3f ms (min %9.3f, max %9.3f), processor median "
        "%9.3f ms per pass\n",
        wall.Median(), wall.Min(), wall.Max(), cpu.Median());
}

}  // namespace

int main(int argc, char** argv) {
    const std::string root = argc > 1 ? argv[1] : "/tmp/versemark-bench-field";
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    const std::size_t files = argc > 3 ? static_cast<std::size_t>(std::atoi(argv[3])) : kFiles;
    std::filesystem::remove_all(root);
    const RowList rows = MakeFiles(root, files);
    std::printf("%zu FLAC files of 30 s, %zu bytes each\n", files,
                static_cast<std::size_t>(std::filesystem::file_size(root + "/music/0.flac")));
    Ours(rows, root + "/journals", runs);
    Mutagen(root, files, runs);
    std::filesystem::remove_all(root);
    return 0;
}
