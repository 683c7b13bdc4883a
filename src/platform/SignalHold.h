// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

// Holds back the requests that end a program (interrupt, quit, hang-up,
// terminate; Ctrl+C, Ctrl+Break and the console's closing on Windows) while it
// lives, so that a file is never left half written, and keeps the file-size
// limit's signal (POSIX only) from ending the program: a write past the limit
// then fails with an error instead. A request that came meanwhile can be taken
// with TakeStopSignal (from any hold in force); one not taken takes effect when
// the outermost hold goes away. Holds nest: a hold around an operation that
// holds them itself keeps a request the operation did not take until the outer
// hold's owner has written its output and takes it.
namespace versemark {

// The exit status of a program that ends itself for a held signal once its
// output is written, as a shell shows one the signal ended: 128 plus the
// signal's number.
inline constexpr int kExitSignalBase = 128;

class SignalHold {
  public:
    SignalHold();
    ~SignalHold();
    SignalHold(const SignalHold&) = delete;
    SignalHold& operator=(const SignalHold&) = delete;

    // Takes a held request to end the program, without waiting: its signal
    // number (SIGINT for Ctrl+C and Ctrl+Break, SIGTERM for the console's
    // closing on Windows), or 0 when none came.
    int TakeStopSignal();

  private:
    struct Held;  // what the system needs to lift the hold again
    std::unique_ptr<Held> held_;
};

}  // namespace versemark
