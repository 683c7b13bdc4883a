// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "windowlogic/UserPrompts.h"

namespace versemark::testing {

// Answers the window's questions from a script and records every question.
class ScriptedPrompts : public UserPrompts {
  public:
    struct Question {
        std::string Text;
        PromptIcon Icon;
    };

    std::deque<std::string> Folders;  // the next folder dialog's answer ("" cancels)
    std::deque<bool> Answers;         // the next Yes/No answer
    std::vector<Question> Asked;
    std::vector<std::string> Messages;  // every message shown
    int FolderDialogs = 0;
    std::string LastInstruction;

    std::string ChooseFolder(const std::string& instruction) override;
    bool AskYesNo(const std::string& text, PromptIcon icon) override;
    void ShowMessage(const std::string& text) override;
};

}  // namespace versemark::testing
