#include "platform/SignalHold.h"

#include <ctime>
#include <initializer_list>

namespace versemark {

SignalHold::SignalHold() {
    sigemptyset(&held_);
    for (const int signal : {SIGINT, SIGQUIT, SIGHUP, SIGTERM}) {
        sigaddset(&held_, signal);
    }
    active_ = sigprocmask(SIG_BLOCK, &held_, &previous_) == 0;

    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    fileSizeIgnored_ = sigaction(SIGXFSZ, &ignore, &previousFileSize_) == 0;
}

SignalHold::~SignalHold() {
    if (fileSizeIgnored_) {
        sigaction(SIGXFSZ, &previousFileSize_, nullptr);
    }
    if (active_) {
        sigprocmask(SIG_SETMASK, &previous_, nullptr);
    }
}

int SignalHold::TakeStopSignal() {
    if (!active_) {
        return 0;
    }
    const timespec noWait{0, 0};
    const int signal = sigtimedwait(&held_, nullptr, &noWait);
    return signal > 0 ? signal : 0;
}

}  // namespace versemark
