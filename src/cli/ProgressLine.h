// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

// One line on standard error that a running pass keeps rewriting in place; only
// used when standard error is a terminal. Cleared when it goes away.
namespace versemark::cli {

class ProgressLine {
  public:
    ProgressLine(std::ostream& err, bool enabled) : err_(err), enabled_(enabled) {}
    ~ProgressLine() { Clear(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    bool Enabled() const { return enabled_; }
    // Shows `text` unless the line was rewritten less than a tenth of a second ago.
    void Show(std::string_view text);
    // Shows `text` now.
    void ShowNow(std::string_view text);
    // Blanks the line and puts the cursor back at its start.
    void Clear();

  private:
    std::ostream& err_;
    bool enabled_;
    std::size_t shownWidth_ = 0;
    std::chrono::steady_clock::time_point lastShown_{};
};

}  // namespace versemark::cli
