#pragma once

#include <signal.h>

// Holds back the signals that end a program from a terminal (interrupt, quit,
// hang-up, terminate) while it lives, so that a file is never left half written;
// a signal that came meanwhile takes effect when the shield goes away.
namespace versemark::cli {

class SignalShield {
  public:
    SignalShield();
    ~SignalShield();
    SignalShield(const SignalShield&) = delete;
    SignalShield& operator=(const SignalShield&) = delete;

  private:
    sigset_t previous_;
    bool active_ = false;
};

}  // namespace versemark::cli
