// SPDX-License-Identifier: GPL-3.0-or-later
// Windows keeps no super-user who reads past permissions the way root does, and
// a test cannot take rights away from itself here: the guard stays inactive, so
// tests of denied reading skip.
#include "support/Unprivileged.h"

namespace versemark::testing {

Unprivileged::Unprivileged() = default;

Unprivileged::~Unprivileged() = default;

void OpenToOthers(const std::string&) {}

}  // namespace versemark::testing
