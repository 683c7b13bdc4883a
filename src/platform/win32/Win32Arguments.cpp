// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <shellapi.h>  // after windows.h, which it needs

#include "platform/Arguments.h"
#include "platform/win32/WideText.h"

namespace versemark {

std::vector<std::string> ProgramArguments(int, char*[]) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; wide != nullptr && i < count; ++i) {
        arguments.push_back(win32::Utf8(wide[i]));
    }
    LocalFree(wide);
    return arguments;
}

}  // namespace versemark
