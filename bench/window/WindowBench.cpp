// SPDX-License-Identifier: GPL-3.0-or-later
// Times what the user waits for in the window with a full list of 32,767 rows:
// a header click, a check-box click, "Check selected" over every row, each
// filter; and a matching pass from the window over 32,767 MP3 files: the longest
// stretch without event processing, and the cost of showing the rows afterwards.
//
//   WindowBench [work folder]      (QT_QPA_PLATFORM=offscreen without a display)
#include <QApplication>
#include <QCoreApplication>
#include <QPushButton>
#include <QTreeView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "BenchData.h"
#include "matching/LyricsIndex.h"
#include "window/QtWindow.h"
#include "window/ResultListModel.h"
#include "window/UserPrompts.h"
#include "windowlogic/PassPace.h"

namespace {

using namespace versemark;
using Clock = std::chrono::steady_clock;

constexpr int kRows = 32767;
constexpr double kTargetSeconds = 0.3;
constexpr double kYieldTargetSeconds = 0.1;

double Seconds(Clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

double Time(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return Seconds(Clock::now() - start);
}

void Report(const char* what, double seconds, double target) {
    std::printf("%-44s %8.3f s  %s\n", what, seconds, seconds < target ? "ok" : "TOO SLOW");
}

// Rows with every mark mixed so that each filter selects about every other row.
void FillRows(QtWindow& form) {
    ListRows& model = form.Rows();
    model.BeginPass();
    RowList& rows = model.PassRows();
    rows.Rows().reserve(kRows);
    for (int i = 0; i < kRows; ++i) {
        ResultRow row;
        row.Candidates = {static_cast<int>(i)};
        if (i % 2 == 0) {  // several matches
            row.Candidates.push_back(static_cast<int>(i) + 1);
        }
        row.Mp3Name = bench::SongName(static_cast<std::size_t>(i)) + ".mp3";
        row.Mp3Path = "/music/" + row.Mp3Name;
        row.Tagged = i % 3 == 0;
        row.LyricsName = bench::SongName(static_cast<std::size_t>(kRows - i));
        row.LyricsPosition = static_cast<int>(i);
        row.Filtered = i % 2 == 0;
        row.Shared = i % 5 < 2;
        row.Checked = i % 4 == 0;
        rows.Add(std::move(row));
    }
    model.EndPass();
}

// Phase 1 of a pass yields after every file and phase 2 every 50 rows, and the
// program processes events at most every few milliseconds of those; the longest
// gap between two event processings is how long the window cannot repaint or take
// the stop button.
struct YieldClock {
    void Tick() {
        const auto now = Clock::now();
        if (calls == 1) {
            searchStretch = now - last;
        } else if (calls > 1) {
            longest = std::max(longest, now - last);
        }
        last = now;
        ++calls;
        QCoreApplication::processEvents();
    }
    Clock::time_point last;
    Clock::duration searchStretch{};  // the folder search and the matcher set-up
    Clock::duration longest{};        // every later stretch
    int calls = 0;
};

// A header click and the list drawn again.
void SortBy(QtWindow& form, QTreeView* list, int column) {
    form.Logic().SortByColumn(column);
    list->repaint();
}

class NoPrompts : public UserPrompts {
  public:
    std::string ChooseFolder(const std::string&) override { return std::string(); }
    bool AskYesNo(const std::string&, PromptIcon) override { return false; }
    void ShowMessage(const std::string&) override {}
};

void ListFigures() {
    ProgramValues values;
    NoPrompts prompts;
    WindowServices services;
    services.Prompts = &prompts;
    services.ProcessEvents = [] { QCoreApplication::processEvents(); };
    QtWindow form(values, services);
    form.show();
    QCoreApplication::processEvents();
    auto* list = form.findChild<QTreeView*>("list");

    std::printf("List of %d rows\n", kRows);
    Report("fill the list and draw it", Time([&] {
               FillRows(form);
               list->repaint();
           }),
           kTargetSeconds);

    // Every other row selected: the worst case of many selection ranges.
    form.findChild<QPushButton*>("cmdSel_6")->click();
    Report("header click, new column (half selected)",
           Time([&] { SortBy(form, list, kColumnMp3); }), kTargetSeconds);
    Report("header click, same column flips", Time([&] { SortBy(form, list, kColumnMp3); }),
           kTargetSeconds);
    Report("header click, lyrics column", Time([&] { SortBy(form, list, kColumnLyrics); }),
           kTargetSeconds);
    Report("header click, check column", Time([&] { SortBy(form, list, kColumnRowText); }),
           kTargetSeconds);

    QAbstractItemModel* model = list->model();
    Report("check-box click", Time([&] {
               model->setData(model->index(kRows / 2, 0), Qt::Checked, Qt::CheckStateRole);
               list->repaint();
           }),
           kTargetSeconds);

    const char* filters[] = {"cmdSel_0", "cmdSel_2", "cmdSel_5", "cmdSel_3",
                             "cmdSel_6", "cmdSel_1", "cmdSel_2"};
    for (const char* name : filters) {
        auto* button = form.findChild<QPushButton*>(name);
        const std::string what = "filter \"" + button->text().toStdString() + "\"";
        Report(what.c_str(), Time([&] {
                   button->click();
                   list->repaint();
               }),
               kTargetSeconds);
    }
    form.findChild<QPushButton*>("cmdSel_0")->click();
    Report("\"Check selected\" over all rows", Time([&] {
               form.Logic().CheckSelectedRows(true);
               list->repaint();
           }),
           kTargetSeconds);
    Report("\"Uncheck selected\" over all rows", Time([&] {
               form.Logic().CheckSelectedRows(false);
               list->repaint();
           }),
           kTargetSeconds);
    Report("header click, all rows selected", Time([&] { SortBy(form, list, kColumnMp3); }),
           kTargetSeconds);
}

void PassFigures(const std::filesystem::path& root) {
    std::printf("\nPass over %d MP3 files and %d lyrics files\n", kRows, kRows);
    bench::WriteAllMatchLibrary(root, kRows);
    ProgramValues values;
    values.Cache.CachePath = (root / "cache").string();
    values.Cache.SingleDir = true;
    BuildLyricsIndex(values.Cache.CachePath, values.Cache.SingleDir, values.Index);

    YieldClock yields;
    NoPrompts prompts;
    WindowServices services;
    services.Prompts = &prompts;
    // Paced as the program paces it: the clock sees the events really processed.
    services.ProcessEvents = PacedEventProcessing([&yields] { yields.Tick(); });
    values.Config.Folder = (root / "music").string();
    QtWindow form(values, services);
    form.show();
    QCoreApplication::processEvents();
    auto* list = form.findChild<QTreeView*>("list");

    // The pass proper ends with its last yield; what follows is the list being shown.
    Clock::time_point passEnd;
    const auto start = Clock::now();
    form.Logic().FolderCommand();
    list->repaint();
    const auto end = Clock::now();
    passEnd = yields.last;
    const double pass = Seconds(passEnd - start);
    const double fill = Seconds(end - passEnd);
    std::printf("%-44s %8.3f s  (%s)\n", "pass up to its last yield", pass,
                form.MatchesCaption().toStdString().c_str());
    // The search of the folder does not yield by design; the stretch from the
    // yield before it to the first file is reported on its own.
    std::printf("%-44s %8.3f s  (the search and matcher set-up, no yield inside)\n",
                "stretch before the first file", Seconds(yields.searchStretch));
    Report("longest stretch without event processing after", Seconds(yields.longest),
           kYieldTargetSeconds);
    std::printf("%-44s %8.3f s  %s\n", "showing the rows after the pass", fill,
                fill <= pass ? "ok (no more than the pass)" : "TOO SLOW");
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    ListFigures();
    const std::filesystem::path root =
        argc > 1 ? std::filesystem::path(argv[1])
                 : std::filesystem::temp_directory_path() / "versemark-window-bench";
    std::filesystem::remove_all(root);
    PassFigures(root);
    std::filesystem::remove_all(root);
    return 0;
}
