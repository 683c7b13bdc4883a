// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdlib>

#include "support/ScopedEnv.h"

namespace versemark::testing {

const char kStateFolderVariable[] = "LOCALAPPDATA";

// An empty value removes the variable on Windows.
void SetEnvironmentValue(const std::string& name, const std::optional<std::string>& value) {
    ::_putenv_s(name.c_str(), value ? value->c_str() : "");
}

}  // namespace versemark::testing
