// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "windowlogic/UserPrompts.h"

class QWidget;

// The window's questions as Qt dialogs and message boxes.
namespace versemark {

// A log in a modal box titled "Versemark", its bytes shown as display text and
// as plain text: a file name with "<" in it is not markup. Returns when the user
// has closed the box.
void ShowLogMessage(const std::string& log);

class DialogPrompts : public UserPrompts {
  public:
    // The window the dialogs belong to (none: they stand alone).
    void SetOwner(QWidget* owner) { owner_ = owner; }

    std::string ChooseFolder(const std::string& instruction) override;
    bool AskYesNo(const std::string& text, PromptIcon icon) override;
    void ShowMessage(const std::string& text) override { ShowLogMessage(text); }

  private:
    QWidget* owner_ = nullptr;
};

}  // namespace versemark
