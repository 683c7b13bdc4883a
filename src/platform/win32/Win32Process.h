// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// What a Windows program's own entry point needs of the system: its argument
// text, one running copy, the beep and message boxes.
namespace versemark::win32 {

// The process's argument text (everything behind the program's own path, leading
// blanks dropped) as UTF-8.
std::string ArgumentText();

// Holds the named mutex that marks a running copy for as long as it lives.
class InstanceMutex {
  public:
    InstanceMutex();
    ~InstanceMutex();
    InstanceMutex(const InstanceMutex&) = delete;
    InstanceMutex& operator=(const InstanceMutex&) = delete;
    // True when another copy made the mutex first.
    bool AnotherCopyRuns() const { return anotherCopy_; }

  private:
    void* handle_ = nullptr;
    bool anotherCopy_ = false;
};

// The system's default sound.
void SystemBeep();

// A modal message box with an OK button only; `text` is UTF-8.
void ShowMessageBox(std::string_view title, std::string_view text);

}  // namespace versemark::win32
