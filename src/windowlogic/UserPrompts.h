// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Every question the window puts to the user goes through here: the folder
// dialog, the Yes/No message boxes and the message that reports a log. Texts are
// bytes; each view shows them through its display rule. Tests answer with their
// own implementation.
namespace versemark {

enum class PromptIcon { None, Question };

class UserPrompts {
  public:
    virtual ~UserPrompts() = default;
    // The folder the user chose, as file-system bytes; empty when cancelled.
    virtual std::string ChooseFolder(const std::string& instruction) = 0;
    // A modal Yes/No box titled "Versemark"; true for Yes.
    virtual bool AskYesNo(const std::string& text, PromptIcon icon) = 0;
    // A modal box titled "Versemark" with an OK button, the text shown as plain
    // text; returns when the user has closed it.
    virtual void ShowMessage(const std::string& text) = 0;
};

}  // namespace versemark
