#include "cli/SignalShield.h"

#include <initializer_list>

namespace versemark::cli {

SignalShield::SignalShield() {
    sigset_t blocked;
    sigemptyset(&blocked);
    for (const int signal : {SIGINT, SIGQUIT, SIGHUP, SIGTERM}) {
        sigaddset(&blocked, signal);
    }
    active_ = sigprocmask(SIG_BLOCK, &blocked, &previous_) == 0;
}

SignalShield::~SignalShield() {
    if (active_) {
        sigprocmask(SIG_SETMASK, &previous_, nullptr);
    }
}

}  // namespace versemark::cli
