// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ScriptedPrompts.h"

namespace versemark::testing {

std::string ScriptedPrompts::ChooseFolder(const std::string& instruction) {
    ++FolderDialogs;
    LastInstruction = instruction;
    if (Folders.empty()) {
        return std::string();
    }
    std::string folder = Folders.front();
    Folders.pop_front();
    return folder;
}

bool ScriptedPrompts::AskYesNo(const std::string& text, PromptIcon icon) {
    Asked.push_back({text, icon});
    if (Answers.empty()) {
        return false;
    }
    const bool answer = Answers.front();
    Answers.pop_front();
    return answer;
}

void ScriptedPrompts::ShowMessage(const std::string& text) {
    Messages.push_back(text);
}

}  // namespace versemark::testing
