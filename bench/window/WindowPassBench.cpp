// The window's matching pass against the engine's: runs the window program as
// the companion starts it (run mode 2, drawn off screen, ended after the scan)
// and `versemark-cli scan` on the same folder and cache, one after the other,
// on two generated libraries:
//
//   "one in three": 10,000 MP3 files in artist/album folders, 32,767 lyrics
//                   files in 100 cache folders;
//   "all match":    32,767 MP3 files in one folder, each with its lyrics file,
//                   32,767 lyrics files in one cache folder.
//
// For each it prints the wall-clock and processor times (user + system) of both
// programs, their ratios (window / versemark-cli) per run pair, and the longest
// stretch the window went without processing events after the first file
// (recorded by the EventGaps library preloaded into the window program).
//
//   WindowPassBench [work folder, default /tmp/versemark-bench-window] [runs, default 7]
//
// VERSEMARK_WINDOW_PROGRAM and VERSEMARK_CLI_PROGRAM name other builds of the two
// programs to measure (an older build, say) instead of the ones beside this one.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "BenchData.h"

using namespace versemark;
using namespace versemark::bench;

namespace {

constexpr std::size_t kLyrics = 32767;
constexpr std::size_t kCacheFolders = 100;
constexpr std::size_t kMixedMp3Files = 10000;
constexpr double kWindowRatioTarget = 1.3;
constexpr double kStretchTargetMs = 100;

struct Shape {
    const char* Name;
    std::filesystem::path Root;
    bool SingleDir;
};

// Every MP3 file has its lyrics file: 32,767 rows, each checked.
void EnsureAllMatchLibrary(const std::filesystem::path& root) {
    const std::filesystem::path marker = root / "complete";
    if (std::filesystem::exists(marker)) {
        return;
    }
    std::filesystem::remove_all(root);
    WriteAllMatchLibrary(root, kLyrics);
    WriteBytes(marker, "done\n");
}

// The registry stand-in and the companion's settings file that lead the window
// program to the cache, as the companion leaves them.
void WriteCompanionSetup(const Shape& shape) {
    const std::filesystem::path companion = shape.Root / "companion";
    WriteBytes(companion / "settings.txt", "[CachePath] " + (shape.Root / "cache").string() +
                                               "\r\n[SingleDir] " + (shape.SingleDir ? "1" : "0") +
                                               "\r\n");
    WriteBytes(shape.Root / "wine" / "system.reg",
               "WINE REGISTRY Version 2\n\n"
               "[Software\\\\Kestrel Works\\\\Songleaf] 1700000000\n"
               "#time=1d9a1b2c3d4e5f6\n"
               "\"Path\"=\"" +
                   companion.string() + "\"\n");
    std::filesystem::create_directories(shape.Root / "lock");
}

struct RunFigures {
    double WallMs = 0;
    double CpuMs = 0;  // user + system
    std::string Output;
};

std::string ProgramPath(const char* variable, const char* built) {
    const char* given = std::getenv(variable);
    return given != nullptr ? given : built;
}

double Ms(const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
}

// Runs `arguments` with `environment` added, its standard output to `outputFile`.
RunFigures RunProgram(const std::vector<std::string>& arguments,
                      const std::vector<std::string>& environment, const std::string& outputFile) {
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

RunFigures RunCli(const Shape& shape) {
    std::vector<std::string> arguments = {
        ProgramPath("VERSEMARK_CLI_PROGRAM", VERSEMARK_CLI_EXECUTABLE), "scan",
        (shape.Root / "music").string(), "--cache", (shape.Root / "cache").string()};
    if (shape.SingleDir) {
        arguments.push_back("--single-dir");
    }
    return RunProgram(arguments, {}, (shape.Root / "cli-output.txt").string());
}

struct WindowRun {
    RunFigures Figures;
    double LongestStretchMs = 0;
    long Polls = 0;
    double AfterLastPollMs = 0;  // the rows shown, the label printed, the program ended
};

WindowRun RunWindow(const Shape& shape) {
    const std::string gaps = (shape.Root / "event-gaps.txt").string();
    WindowRun run;
    run.Figures =
        RunProgram({ProgramPath("VERSEMARK_WINDOW_PROGRAM", VERSEMARK_EXECUTABLE), "--/5nf",
                    "--/fol " + (shape.Root / "music").string(), "--/sub"},
                   {"QT_QPA_PLATFORM=offscreen", "VERSEMARK_QUIT_AFTER_SCAN=1",
                    "VERSEMARK_LOCK_DIR=" + (shape.Root / "lock").string(),
                    "WINEPREFIX=" + (shape.Root / "wine").string(), "VERSEMARK_EVENT_GAPS=" + gaps,
                    std::string("LD_PRELOAD=") + VERSEMARK_EVENT_GAPS_LIBRARY},
                   (shape.Root / "window-output.txt").string());
    // A window that found another one running (a second benchmark, say) ends at
    // once without its label: such a run measures nothing.
    if (!run.Figures.Output.starts_with("Matches: ")) {
        std::fprintf(stderr, "the window printed no matches label; is another one running?\n");
        std::exit(1);
    }
    std::ifstream in(gaps);
    in >> run.LongestStretchMs >> run.Polls >> run.AfterLastPollMs;
    return run;
}

Timings Ratios(const Timings& window, const Timings& cli) {
    Timings ratios;
    for (std::size_t i = 0; i < window.Ms.size(); ++i) {
        ratios.Ms.push_back(window.Ms[i] / cli.Ms[i]);
    }
    return ratios;
}

void PrintRatio(const char* name, const Timings& ratios, double target) {
    std::printf("%-28s median %8.2f      min %8.2f   max %8.2f   %s (target %.1f)\n", name,
                ratios.Median(), ratios.Min(), ratios.Max(),
                ratios.Median() <= target ? "ok" : "TOO SLOW", target);
}

void Measure(const Shape& shape, int runs) {
    WriteCompanionSetup(shape);
    // Warms the cache and shows what both programs found.
    const RunFigures cliFirst = RunCli(shape);
    const WindowRun windowFirst = RunWindow(shape);
    std::printf(
        "\n%s: window \"%s\"\n", shape.Name,
        windowFirst.Figures.Output.substr(0, windowFirst.Figures.Output.find('\n')).c_str());

    Timings cliWall, cliCpu, windowWall, windowCpu, stretch, tail;
    for (int run = 0; run < runs; ++run) {
        const RunFigures cli = RunCli(shape);
        const WindowRun window = RunWindow(shape);
        cliWall.Ms.push_back(cli.WallMs);
        cliCpu.Ms.push_back(cli.CpuMs);
        windowWall.Ms.push_back(window.Figures.WallMs);
        windowCpu.Ms.push_back(window.Figures.CpuMs);
        stretch.Ms.push_back(window.LongestStretchMs);
        tail.Ms.push_back(window.AfterLastPollMs);
    }
    PrintTimings("versemark-cli scan", cliWall);
    PrintTimings("window, run mode 2", windowWall);
    PrintTimings("versemark-cli, processor", cliCpu);
    PrintTimings("window, processor", windowCpu);
    PrintRatio("window / cli, clock", Ratios(windowWall, cliWall), kWindowRatioTarget);
    PrintRatio("window / cli, processor", Ratios(windowCpu, cliCpu), kWindowRatioTarget);
    PrintTimings("longest stretch w/o events", stretch);
    std::printf("%-28s %s (target %.0f ms, after the first file)\n", "",
                stretch.Max() <= kStretchTargetMs ? "ok" : "TOO LONG", kStretchTargetMs);
    PrintTimings("last events to exit", tail);
}

double LoadAverage() {
    double load[1] = {0};
    return getloadavg(load, 1) == 1 ? load[0] : -1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path root = argc > 1 ? argv[1] : "/tmp/versemark-bench-window";
    const int runs = argc > 2 ? std::atoi(argv[2]) : 7;
    const Shape mixed{"one in three (10,000 MP3 files, 100 cache folders)", root / "mixed", false};
    const Shape allMatch{"all match (32,767 MP3 files, one cache folder)", root / "all-match",
                         true};
    EnsureLibrary(mixed.Root, kLyrics, kCacheFolders, kMixedMp3Files, 7);
    EnsureAllMatchLibrary(allMatch.Root);

    std::printf("load average before: %.2f\n", LoadAverage());
    Measure(mixed, runs);
    Measure(allMatch, runs);
    std::printf("\nload average after: %.2f\n", LoadAverage());
    return 0;
}
