// SPDX-License-Identifier: GPL-3.0-or-later
// The hold as a blocked signal mask: a signal that arrives meanwhile stays
// pending until it is taken or the old mask comes back.
#include <signal.h>

#include <ctime>
#include <initializer_list>

#include "platform/SignalHold.h"

namespace versemark {

struct SignalHold::Held {
    sigset_t Blocked;
    sigset_t Previous;
    struct sigaction PreviousFileSize {};
    bool Active = false;
    bool FileSizeIgnored = false;
};

SignalHold::SignalHold() : held_(std::make_unique<Held>()) {
    sigemptyset(&held_->Blocked);
    for (const int signal : {SIGINT, SIGQUIT, SIGHUP, SIGTERM}) {
        sigaddset(&held_->Blocked, signal);
    }
    held_->Active = sigprocmask(SIG_BLOCK, &held_->Blocked, &held_->Previous) == 0;

    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    held_->FileSizeIgnored = sigaction(SIGXFSZ, &ignore, &held_->PreviousFileSize) == 0;
}

SignalHold::~SignalHold() {
    if (held_->FileSizeIgnored) {
        sigaction(SIGXFSZ, &held_->PreviousFileSize, nullptr);
    }
    if (held_->Active) {
        sigprocmask(SIG_SETMASK, &held_->Previous, nullptr);
    }
}

int SignalHold::TakeStopSignal() {
    if (!held_->Active) {
        return 0;
    }
    const timespec noWait{0, 0};
    const int signal = sigtimedwait(&held_->Blocked, nullptr, &noWait);
    return signal > 0 ? signal : 0;
}

}  // namespace versemark
