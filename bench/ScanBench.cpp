// SPDX-License-Identifier: GPL-3.0-or-later
// The whole `versemark-cli scan` process against a bare loop of the same reads,
// run as a process of its own too: it lists the cache folder and its subfolders
// once each and the music folder tree, opens every MP3 file and reads its first
// 500 and last 137 bytes, and opens every lyrics file the scan chose and reads its
// last 80 bytes; nothing else. On the two libraries of WindowPassBench
// (ProcessBenchShapes in ProcessRuns.h). The two run one after the other, warm cache; for each
// library it prints the wall-clock and processor times (user + system) of both and their ratios
// (scan / bare reads) per run pair.
//
//   ScanBench [work folder, default /tmp/versemark-bench-window] [runs, default 9]
//
// VERSEMARK_CLI_PROGRAM names another build of versemark-cli to measure. The bare
// loop is this program started as
//
//   ScanBench --bare-reads MUSIC_FOLDER CACHE_FOLDER SINGLE_DIR(0|1) LYRICS_LIST
#include <dirent.h>
#include <sys/stat.h>

#include <cstring>

#include "ProcessRuns.h"
#include "matching/LyricsIndex.h"

using namespace versemark;
using namespace versemark::bench;

namespace {

constexpr std::size_t kLyricsTail = 80;
constexpr double kScanRatioTarget = 1.5;
constexpr std::string_view kBareMode = "--bare-reads";
constexpr std::string_view kMp3Ending = ".mp3";

// The names of a folder's entries with their kind as the listing gives it.
template <typename F>
void ForEachEntry(const std::string& folder, F&& f) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] != '.') {
            f(entry->d_name, entry->d_type == DT_DIR);
        }
    }
    closedir(dir);
}

bool IsMp3Name(std::string_view name) {
    return name.size() >= kMp3Ending.size() &&
           strncasecmp(name.data() + name.size() - kMp3Ending.size(), kMp3Ending.data(),
                       kMp3Ending.size()) == 0;
}

void FindMp3s(const std::string& folder, std::vector<std::string>& files) {
    std::vector<std::string> subfolders;
    ForEachEntry(folder, [&](const char* name, bool isFolder) {
        if (isFolder) {
            subfolders.push_back(folder + "/" + name);
        } else if (IsMp3Name(name)) {
            files.push_back(folder + "/" + name);
        }
    });
    for (const std::string& subfolder : subfolders) {
        FindMp3s(subfolder, files);
    }
}

// Opens a file, takes its length and reads `head` bytes from its start and `tail`
// from its end; returns the bytes read.
std::size_t ReadEnds(const std::string& path, std::size_t head, std::size_t tail, char* buffer) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    std::size_t bytes = 0;
    struct stat st {};
    if (fstat(fd, &st) == 0) {
        const auto length = static_cast<std::size_t>(st.st_size);
        if (head > 0) {
            bytes += static_cast<std::size_t>(
                std::max<ssize_t>(0, pread(fd, buffer, std::min(length, head), 0)));
        }
        const std::size_t take = std::min(length, tail);
        bytes += static_cast<std::size_t>(
            std::max<ssize_t>(0, pread(fd, buffer, take, static_cast<off_t>(length - take))));
    }
    close(fd);
    return bytes;
}

// The bare loop; prints the number of files and bytes read.
int BareReads(const std::string& music, const std::string& cache, bool singleDir,
              const std::string& lyricsList) {
    std::size_t cacheNames = 0;
    ForEachEntry(cache, [&](const char* name, bool isFolder) {
        if (isFolder && !singleDir) {
            ForEachEntry(cache + "/" + name, [&](const char*, bool) { ++cacheNames; });
        } else {
            ++cacheNames;
        }
    });
    std::vector<std::string> mp3Files;
    FindMp3s(music, mp3Files);
    char buffer[kMp3HeadSize];
    std::size_t bytes = 0;
    for (const std::string& path : mp3Files) {
        bytes += ReadEnds(path, kMp3HeadSize, kMp3TailSize, buffer);
    }
    std::ifstream list(lyricsList);
    std::size_t lyricsFiles = 0;
    for (std::string path; std::getline(list, path);) {
        bytes += ReadEnds(path, 0, kLyricsTail, buffer);
        ++lyricsFiles;
    }
    std::printf("%zu cache names, %zu MP3 files, %zu lyrics files, %zu bytes read\n", cacheNames,
                mp3Files.size(), lyricsFiles, bytes);
    return 0;
}

// The lyrics files the pass chooses, one path a line, for the bare loop to read.
std::string WriteChosenLyrics(const Shape& shape) {
    LyricsIndex index;
    bool singleDir = shape.SingleDir;
    BuildLyricsIndex((shape.Root / "cache").string(), singleDir, index);
    RowList rows;
    MatchFolder((shape.Root / "music").string(), true, index, rows);
    std::string list;
    for (const ResultRow& row : rows.Rows()) {
        if (row.LyricsChosen()) {
            list += row.LyricsPath + "\n";
        }
    }
    const std::string path = (shape.Root / "chosen-lyrics.txt").string();
    WriteBytes(path, list);
    return path;
}

RunFigures RunBareReads(const std::string& self, const Shape& shape, const std::string& list) {
    return RunProgram({self, std::string(kBareMode), (shape.Root / "music").string(),
                       (shape.Root / "cache").string(), shape.SingleDir ? "1" : "0", list},
                      {}, (shape.Root / "bare-output.txt").string());
}

std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

std::string LastLines(const std::string& text, int count) {
    std::size_t at = text.size();
    for (int i = 0; i <= count && at != std::string::npos && at > 0; ++i) {
        at = text.rfind('\n', at - 1);
    }
    return text.substr(at == std::string::npos ? 0 : at + 1);
}

void Measure(const std::string& self, const Shape& shape, int runs) {
    const std::string cli = ProgramPath("VERSEMARK_CLI_PROGRAM", VERSEMARK_CLI_EXECUTABLE);
    const std::string list = WriteChosenLyrics(shape);
    // Warm the cache and show what both found.
    const RunFigures scanFirst = RunCliScan(cli, shape);
    const RunFigures bareFirst = RunBareReads(self, shape, list);
    std::printf("\n%s:\nscan: %sbare reads: %s\n", shape.Name,
                LastLines(scanFirst.Output, 2).c_str(), FirstLine(bareFirst.Output).c_str());

    PairedRuns paired;
    for (int run = 0; run < runs; ++run) {
        // Alternate the order, so that neither always runs right after the other.
        RunFigures scan, bare;
        if (run % 2 == 0) {
            scan = RunCliScan(cli, shape);
            bare = RunBareReads(self, shape, list);
        } else {
            bare = RunBareReads(self, shape, list);
            scan = RunCliScan(cli, shape);
        }
        paired.Add(bare, scan);
    }
    paired.Print("bare reads", "versemark-cli scan", "scan / bare reads", kScanRatioTarget);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 6 && argv[1] == kBareMode) {
        return BareReads(argv[2], argv[3], std::string_view(argv[4]) == "1", argv[5]);
    }
    const std::filesystem::path root = argc > 1 ? argv[1] : "/tmp/versemark-bench-window";
    const int runs = argc > 2 ? std::atoi(argv[2]) : 9;
    const std::vector<Shape> shapes = ProcessBenchShapes(root);
    const std::string self = std::filesystem::canonical("/proc/self/exe").string();

    std::printf("load average before: %.2f\n", LoadAverage());
    for (const Shape& shape : shapes) {
        Measure(self, shape, runs);
    }
    std::printf("\nload average after: %.2f\n", LoadAverage());
    return 0;
}
