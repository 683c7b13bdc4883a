// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Running a program as a child process and timing it as a whole: wall clock and
// processor time (user + system) of the child, its standard output kept. Also the
// shared library shape of the process benchmarks and the machine's load.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "BenchData.h"

namespace versemark::bench {

struct RunFigures {
    double WallMs = 0;
    double CpuMs = 0;  // user + system
    long PeakKb = 0;   // the child's peak resident memory
    std::string Output;
};

inline double Ms(const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
}

// Runs `arguments` with `environment` added, its standard output to `outputFile`;
// ends the benchmark when the program fails.
inline RunFigures RunProgram(const std::vector<std::string>& arguments,
                             const std::vector<std::string>& environment,
                             const std::string& outputFile) {
    RunFigures figures;
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        for (const std::string& setting : environment) {
            putenv(const_cast<char*>(setting.c_str()));
        }
        const int out = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int null = open("/dev/null", O_WRONLY);
        dup2(out, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        std::vector<char*> argv;
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    figures.WallMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    figures.CpuMs = Ms(usage.ru_utime) + Ms(usage.ru_stime);
    figures.PeakKb = usage.ru_maxrss;
    std::ifstream in(outputFile);
    std::stringstream text;
    text << in.rdbuf();
    figures.Output = text.str();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed (status %d)\n", arguments[0].c_str(), status);
        std::exit(1);
    }
    return figures;
}

// The program named by the environment variable `variable` (another build to
// measure, say), else `built`.
inline std::string ProgramPath(const char* variable, const char* built) {
    const char* given = std::getenv(variable);
    return given != nullptr ? given : built;
}

// A generated library: MP3 files under Root/music, lyrics files under Root/cache.
struct Shape {
    const char* Name;
    std::filesystem::path Root;
    bool SingleDir;
};

// `versemark-cli scan` (the program `cli`) on the library.
inline RunFigures RunCliScan(const std::string& cli, const Shape& shape) {
    std::vector<std::string> arguments = {cli, "scan", (shape.Root / "music").string(), "--cache",
                                          (shape.Root / "cache").string()};
    if (shape.SingleDir) {
        arguments.push_back("--single-dir");
    }
    return RunProgram(arguments, {}, (shape.Root / "cli-output.txt").string());
}

// The ratios a / b of run pairs.
inline Timings Ratios(const Timings& a, const Timings& b) {
    Timings ratios;
    for (std::size_t i = 0; i < a.Ms.size(); ++i) {
        ratios.Ms.push_back(a.Ms[i] / b.Ms[i]);
    }
    return ratios;
}

inline void PrintRatio(const char* name, const Timings& ratios, double target) {
    std::printf("%-30s median %8.2f      min %8.2f   max %8.2f   %s (target %.1f)\n", name,
                ratios.Median(), ratios.Min(), ratios.Max(),
                ratios.Median() <= target ? "ok" : "TOO SLOW", target);
}

// The clock and processor times of two programs run in pairs, the second
// measured against the first.
struct PairedRuns {
    Timings FirstWall, FirstCpu, SecondWall, SecondCpu;

    void Add(const RunFigures& first, const RunFigures& second) {
        FirstWall.Ms.push_back(first.WallMs);
        FirstCpu.Ms.push_back(first.CpuMs);
        SecondWall.Ms.push_back(second.WallMs);
        SecondCpu.Ms.push_back(second.CpuMs);
    }

    // Both programs' times, then the ratios second / first, by the clock and in
    // processor time, against `target`.
    void Print(const std::string& first, const std::string& second, const std::string& ratio,
               double target) const {
        PrintTimings(first.c_str(), FirstWall);
        PrintTimings(second.c_str(), SecondWall);
        PrintTimings((first + ", processor").c_str(), FirstCpu);
        PrintTimings((second + ", processor").c_str(), SecondCpu);
        PrintRatio((ratio + ", clock").c_str(), Ratios(SecondWall, FirstWall), target);
        PrintRatio((ratio + ", processor").c_str(), Ratios(SecondCpu, FirstCpu), target);
    }
};

inline double LoadAverage() {
    double load[1] = {0};
    return getloadavg(load, 1) == 1 ? load[0] : -1;
}

// The lyrics files of the process benchmarks: 32,767, as many as the companion's
// cache may hold in one folder.
inline constexpr std::size_t kProcessBenchLyrics = 32767;

// Every MP3 file has its lyrics file: 32,767 rows, each checked.
inline void EnsureAllMatchLibrary(const std::filesystem::path& root) {
    const std::filesystem::path marker = root / "complete";
    if (std::filesystem::exists(marker)) {
        return;
    }
    std::filesystem::remove_all(root);
    WriteAllMatchLibrary(root, kProcessBenchLyrics);
    WriteBytes(marker, "done\n");
}

// The two libraries of the process benchmarks under `root`, written on first use:
//
//   "one in three": 10,000 MP3 files in artist/album folders, 32,767 lyrics
//                   files in 100 cache folders;
//   "all match":    32,767 MP3 files in one folder, each with its lyrics file,
//                   32,767 lyrics files in one cache folder.
inline std::vector<Shape> ProcessBenchShapes(const std::filesystem::path& root) {
    constexpr std::size_t kCacheFolders = 100;
    constexpr std::size_t kMixedMp3Files = 10000;
    const Shape mixed{"one in three (10,000 MP3 files, 100 cache folders)", root / "mixed", false};
    const Shape allMatch{"all match (32,767 MP3 files, one cache folder)", root / "all-match",
                         true};
    EnsureLibrary(mixed.Root, kProcessBenchLyrics, kCacheFolders, kMixedMp3Files, 7);
    EnsureAllMatchLibrary(allMatch.Root);
    return {mixed, allMatch};
}

}  // namespace versemark::bench
