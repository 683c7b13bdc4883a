// SPDX-License-Identifier: GPL-3.0-or-later
// The window's matching pass against the engine's: runs the window program as
// the companion starts it (run mode 2, drawn off screen, ended after the scan)
// and `versemark-cli scan` on the same folder and cache, one after the other,
// on the two generated libraries of ProcessBenchShapes (ProcessRuns.h): "one in
// three", 10,000 MP3 files against 32,767 lyrics files in 100 cache folders, and
// "all match", 32,767 MP3 files each with its lyrics file in one cache folder.
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
#include "ProcessRuns.h"

using namespace versemark;
using namespace versemark::bench;

namespace {

constexpr double kWindowRatioTarget = 1.3;
constexpr double kStretchTargetMs = 100;

std::string CliProgram() {
    return ProgramPath("VERSEMARK_CLI_PROGRAM", VERSEMARK_CLI_EXECUTABLE);
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

void Measure(const Shape& shape, int runs) {
    WriteCompanionSetup(shape);
    // Warms the cache and shows what both programs found.
    const RunFigures cliFirst = RunCliScan(CliProgram(), shape);
    const WindowRun windowFirst = RunWindow(shape);
    std::printf(
        "\n%s: window \"%s\"\n", shape.Name,
        windowFirst.Figures.Output.substr(0, windowFirst.Figures.Output.find('\n')).c_str());

    PairedRuns paired;
    Timings stretch, tail;
    for (int run = 0; run < runs; ++run) {
        const RunFigures cli = RunCliScan(CliProgram(), shape);
        const WindowRun window = RunWindow(shape);
        paired.Add(cli, window.Figures);
        stretch.Ms.push_back(window.LongestStretchMs);
        tail.Ms.push_back(window.AfterLastPollMs);
    }
    paired.Print("versemark-cli scan", "window, run mode 2", "window / cli", kWindowRatioTarget);
    PrintTimings("longest stretch w/o events", stretch);
    std::printf("%-30s %s (target %.0f ms, after the first file)\n", "",
                stretch.Max() <= kStretchTargetMs ? "ok" : "TOO LONG", kStretchTargetMs);
    PrintTimings("last events to exit", tail);
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path root = argc > 1 ? argv[1] : "/tmp/versemark-bench-window";
    const int runs = argc > 2 ? std::atoi(argv[2]) : 7;
    const std::vector<Shape> shapes = ProcessBenchShapes(root);

    std::printf("load average before: %.2f\n", LoadAverage());
    for (const Shape& shape : shapes) {
        Measure(shape, runs);
    }
    std::printf("\nload average after: %.2f\n", LoadAverage());
    return 0;
}
