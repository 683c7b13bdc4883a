// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowlogic/PassPace.h"

#include <memory>
#include <utility>

namespace versemark {

bool PaceClock::Due() {
    const Clock::time_point now = Clock::now();
    if (started_ && now < next_) {
        return false;
    }
    started_ = true;
    next_ = now + interval_;
    return true;
}

ProgressPace::ProgressPace(std::function<void(const std::string&)> draw) : draw_(std::move(draw)) {}

void ProgressPace::Show(const std::string& text) {
    pending_ = text;
    drawn_ = false;
    if (clock_.Due()) {
        Finish();
    }
}

void ProgressPace::Finish() {
    if (!drawn_) {
        drawn_ = true;
        draw_(pending_);
    }
}

std::function<void()> PacedEventProcessing(std::function<void()> processEvents) {
    auto clock = std::make_shared<PaceClock>(kPassEventInterval);
    return [clock, processEvents = std::move(processEvents)] {
        if (clock->Due()) {
            processEvents();
        }
    };
}

}  // namespace versemark
