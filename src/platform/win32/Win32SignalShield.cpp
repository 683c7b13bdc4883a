// The shield as a console control handler that swallows Ctrl+C, Ctrl+Break and
// the console's closing while it lives; a request that came meanwhile ends the
// program when the shield goes away, as the key press would have.
#include <windows.h>

#include <atomic>

#include "platform/SignalShield.h"

namespace versemark {

namespace {

// The exit status of a program ended by Ctrl+C.
constexpr UINT kControlCExit = 0xC000013AU;

// Set by the handler, which the system calls on a thread of its own.
std::atomic<bool> requestHeld{false};

BOOL WINAPI HoldRequest(DWORD) {
    requestHeld = true;
    return TRUE;
}

}  // namespace

struct SignalShield::Held {};

SignalShield::SignalShield() {
    if (SetConsoleCtrlHandler(HoldRequest, TRUE)) {
        held_ = std::make_unique<Held>();
    }
}

SignalShield::~SignalShield() {
    if (!held_) {
        return;
    }
    SetConsoleCtrlHandler(HoldRequest, FALSE);
    if (requestHeld.exchange(false)) {
        ExitProcess(kControlCExit);
    }
}

}  // namespace versemark
