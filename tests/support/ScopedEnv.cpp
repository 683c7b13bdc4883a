// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ScopedEnv.h"

#include <cstdlib>

namespace versemark::testing {

ScopedEnv::ScopedEnv(std::string name, const std::optional<std::string>& value)
    : name_(std::move(name)) {
    if (const char* old = std::getenv(name_.c_str())) {
        old_ = old;
    }
    SetEnvironmentValue(name_, value);
}

ScopedEnv::~ScopedEnv() {
    SetEnvironmentValue(name_, old_);
}

}  // namespace versemark::testing
