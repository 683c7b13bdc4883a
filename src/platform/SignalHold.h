#pragma once

#include <signal.h>

// Holds back the signals that end a program (interrupt, quit, hang-up,
// terminate) while it lives, so that a file is never left half written, and
// keeps the file-size limit's signal from ending the program: a write past the
// limit then fails with an error instead. A signal that came meanwhile can be
// taken with TakeStopSignal; one not taken takes effect when the hold goes away.
namespace versemark {

class SignalHold {
  public:
    SignalHold();
    ~SignalHold();
    SignalHold(const SignalHold&) = delete;
    SignalHold& operator=(const SignalHold&) = delete;

    // Takes a held signal that asks the program to end, without waiting: its
    // number, or 0 when none came.
    int TakeStopSignal();

  private:
    sigset_t held_;
    sigset_t previous_;
    struct sigaction previousFileSize_ {};
    bool active_ = false;
    bool fileSizeIgnored_ = false;
};

}  // namespace versemark
