#pragma once

#include <memory>

// Holds back the requests that end a program from a terminal (interrupt, quit,
// hang-up, terminate; Ctrl+C and Ctrl+Break on Windows) while it lives, so that a
// file is never left half written; a request that came meanwhile takes effect
// when the shield goes away.
namespace versemark {

class SignalShield {
  public:
    SignalShield();
    ~SignalShield();
    SignalShield(const SignalShield&) = delete;
    SignalShield& operator=(const SignalShield&) = delete;

  private:
    struct Held;  // what the system needs to lift the shield again
    std::unique_ptr<Held> held_;
};

}  // namespace versemark
