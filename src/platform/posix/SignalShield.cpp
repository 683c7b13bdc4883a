// The shield as a blocked signal mask: a signal that arrives meanwhile stays
// pending and is delivered when the old mask comes back.
#include "platform/SignalShield.h"

#include <signal.h>

#include <initializer_list>

namespace versemark {

struct SignalShield::Held {
    sigset_t Previous;
};

SignalShield::SignalShield() {
    sigset_t blocked;
    sigemptyset(&blocked);
    for (const int signal : {SIGINT, SIGQUIT, SIGHUP, SIGTERM}) {
        sigaddset(&blocked, signal);
    }
    auto held = std::make_unique<Held>();
    if (sigprocmask(SIG_BLOCK, &blocked, &held->Previous) == 0) {
        held_ = std::move(held);
    }
}

SignalShield::~SignalShield() {
    if (held_) {
        sigprocmask(SIG_SETMASK, &held_->Previous, nullptr);
    }
}

}  // namespace versemark
