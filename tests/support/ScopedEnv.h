// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace versemark::testing {

// Sets (or, with nullopt, removes) an environment variable for the life of the
// object and puts the old value back afterwards.
class ScopedEnv {
  public:
    ScopedEnv(std::string name, const std::optional<std::string>& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name_;
    std::optional<std::string> old_;
};

// Sets (nullopt: removes) an environment variable of this process; one
// implementation per system.
void SetEnvironmentValue(const std::string& name, const std::optional<std::string>& value);

// The variable naming the folder below which the user's state folder of the
// program lies (XDG_STATE_HOME; LOCALAPPDATA on Windows).
extern const char kStateFolderVariable[];

}  // namespace versemark::testing
