// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// What start-up needs of the process around it, given by each program's own
// entry point: the Qt window program on Linux, the Win32 program on Windows.
namespace versemark {

class ProcessServices {
  public:
    virtual ~ProcessServices() = default;
    // True when another copy of the program is already running.
    virtual bool AnotherCopyRuns() = 0;
    // The system beep.
    virtual void Beep() = 0;
    // A modal message box titled "Versemark" with an OK button only, showing the
    // 8-bit `text` as display text.
    virtual void ShowMessage(const std::string& text) = 0;
};

}  // namespace versemark
