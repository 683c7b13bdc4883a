// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ProgressLine.h"

#include "cli/DisplayText.h"

namespace versemark::cli {

namespace {

constexpr auto kMinInterval = std::chrono::milliseconds(100);

}  // namespace

void ProgressLine::Show(std::string_view text) {
    if (!enabled_) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (shownWidth_ != 0 && now - lastShown_ < kMinInterval) {
        return;
    }
    ShowNow(text);
}

void ProgressLine::ShowNow(std::string_view text) {
    if (!enabled_) {
        return;
    }
    const std::string shown = DisplayName(text);
    const std::size_t width = DisplayWidth(shown);
    err_ << '\r' << shown;
    if (width < shownWidth_) {
        err_ << std::string(shownWidth_ - width, ' ');
    }
    err_.flush();
    shownWidth_ = width;
    lastShown_ = std::chrono::steady_clock::now();
}

void ProgressLine::Clear() {
    if (!enabled_ || shownWidth_ == 0) {
        return;
    }
    err_ << '\r' << std::string(shownWidth_, ' ') << '\r';
    err_.flush();
    shownWidth_ = 0;
}

}  // namespace versemark::cli
