// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdlib>

#include "support/ScopedEnv.h"

namespace versemark::testing {

const char kStateFolderVariable[] = "XDG_STATE_HOME";

void SetEnvironmentValue(const std::string& name, const std::optional<std::string>& value) {
    if (value) {
        ::setenv(name.c_str(), value->c_str(), 1);
    } else {
        ::unsetenv(name.c_str());
    }
}

}  // namespace versemark::testing
