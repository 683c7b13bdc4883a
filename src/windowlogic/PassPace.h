// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <functional>
#include <string>

// Keeps a running matching pass's screen work to a steady pace. The pass reports
// every file, but drawing each file's count and processing events after each one
// costs many times the matching itself; a person reads the count no faster than
// a few times a second, and a click is taken at once when events are processed
// every few milliseconds.
namespace versemark {

// How often the progress label is drawn while a pass runs.
inline constexpr std::chrono::milliseconds kProgressRedrawInterval{50};
// How often a pass lets the window process its events (repaints, the stop button).
inline constexpr std::chrono::milliseconds kPassEventInterval{10};

// True at the first call and then whenever `interval` has passed since the last
// call that was true.
class PaceClock {
  public:
    explicit PaceClock(std::chrono::milliseconds interval) : interval_(interval) {}
    bool Due();

  private:
    using Clock = std::chrono::steady_clock;
    std::chrono::milliseconds interval_;
    Clock::time_point next_{};
    bool started_ = false;
};

// Keeps the newest progress text and hands it to `draw` at the redraw pace;
// Finish draws the last text kept if it has not been drawn yet.
class ProgressPace {
  public:
    explicit ProgressPace(std::function<void(const std::string&)> draw);
    void Show(const std::string& text);
    void Finish();

  private:
    std::function<void(const std::string&)> draw_;
    PaceClock clock_{kProgressRedrawInterval};
    std::string pending_;
    bool drawn_ = true;
};

// A ProcessEvents service that processes events at most once per kPassEventInterval.
std::function<void()> PacedEventProcessing(std::function<void()> processEvents);

}  // namespace versemark
