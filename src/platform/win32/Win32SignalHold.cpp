// SPDX-License-Identifier: GPL-3.0-or-later
// The hold as a console control handler that swallows Ctrl+C, Ctrl+Break and
// the console's closing while it lives and notes the request; one not taken
// ends the program when the hold goes away, as the key press would have. A
// write past a size limit fails with an error here anyway: Windows has no
// signal for it.
#include <windows.h>

#include <atomic>
#include <csignal>

#include "platform/SignalHold.h"

namespace versemark {

namespace {

// The exit status of a program ended by Ctrl+C.
constexpr UINT kControlCExit = 0xC000013AU;

// The signal number of the request that came, or 0. Set by the handler, which
// the system calls on a thread of its own.
std::atomic<int> requestHeld{0};

// Holds may nest; only the outermost lets a request not taken end the program.
std::atomic<int> holdsInForce{0};

BOOL WINAPI HoldRequest(DWORD event) {
    const bool interrupt = event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
    int expected = 0;
    requestHeld.compare_exchange_strong(expected, interrupt ? SIGINT : SIGTERM);
    return TRUE;
}

}  // namespace

struct SignalHold::Held {};

SignalHold::SignalHold() {
    if (SetConsoleCtrlHandler(HoldRequest, TRUE)) {
        held_ = std::make_unique<Held>();
        ++holdsInForce;
    }
}

SignalHold::~SignalHold() {
    if (!held_) {
        return;
    }
    SetConsoleCtrlHandler(HoldRequest, FALSE);
    if (--holdsInForce == 0 && requestHeld.exchange(0) != 0) {
        ExitProcess(kControlCExit);
    }
}

int SignalHold::TakeStopSignal() {
    return held_ ? requestHeld.exchange(0) : 0;
}

}  // namespace versemark
