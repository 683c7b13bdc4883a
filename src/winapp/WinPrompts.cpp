// SPDX-License-Identifier: GPL-3.0-or-later
#include "winapp/WinPrompts.h"

#include <windows.h>

#include <shlobj.h>
#include <shobjidl.h>

#include "platform/win32/WideText.h"
#include "winapp/WinControls.h"
#include "windowlogic/WindowTexts.h"

namespace versemark::winapp {

std::string Win32Prompts::ChooseFolder(const std::string& instruction) {
    // No root (the whole shell namespace); only file-system folders, with an
    // edit box, in the resizable dialog.
    const std::wstring title = DisplayWide(instruction);
    BROWSEINFOW browse{};
    browse.hwndOwner = owner_;
    browse.pidlRoot = nullptr;
    browse.lpszTitle = title.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&browse);
    if (item == nullptr) {
        return std::string();
    }
    // The system allocates the path, so that a path of any length comes whole.
    PWSTR path = nullptr;
    const bool found = SUCCEEDED(SHGetNameFromIDList(item, SIGDN_FILESYSPATH, &path));
    CoTaskMemFree(item);
    const std::string folder = found ? win32::Utf8(path) : std::string();
    CoTaskMemFree(path);
    return folder;
}

bool Win32Prompts::AskYesNo(const std::string& text, PromptIcon icon) {
    const UINT style = MB_YESNO | (icon == PromptIcon::Question ? MB_ICONQUESTION : 0);
    return MessageBoxW(owner_, DisplayWide(text).c_str(),
                       DisplayWide(texts::kWindowCaption).c_str(), style) == IDYES;
}

void Win32Prompts::ShowMessage(const std::string& text) {
    MessageBoxW(owner_, DisplayWide(text).c_str(), DisplayWide(texts::kWindowCaption).c_str(),
                MB_OK);
}

}  // namespace versemark::winapp
