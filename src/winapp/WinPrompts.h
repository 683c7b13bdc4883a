// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include "windowlogic/UserPrompts.h"

// The window's questions on Windows: the shell's folder dialog and modal message
// boxes titled "Versemark", owned by the window.
namespace versemark::winapp {

class Win32Prompts final : public UserPrompts {
  public:
    explicit Win32Prompts(HWND owner) : owner_(owner) {}

    std::string ChooseFolder(const std::string& instruction) override;
    bool AskYesNo(const std::string& text, PromptIcon icon) override;
    void ShowMessage(const std::string& text) override;

  private:
    HWND owner_;
};

}  // namespace versemark::winapp
