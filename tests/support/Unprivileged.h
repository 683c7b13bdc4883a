// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace versemark::testing {

// Takes away the super-user's power to read what has no read permission, for the
// life of the object: when the process runs as root its effective user and group
// become "nobody" and are given back afterwards; otherwise nothing changes.
// Files the code under test must still reach need permissions for "others".
class Unprivileged {
  public:
    Unprivileged();
    ~Unprivileged();
    Unprivileged(const Unprivileged&) = delete;
    Unprivileged& operator=(const Unprivileged&) = delete;

    // False when root's rights could not be put down (the test cannot check denial).
    bool Active() const { return active_; }

  private:
    bool wasRoot_ = false;
    bool active_ = false;
};

// Makes `path` and every folder between it and the temporary folder readable and
// searchable by others, so that "nobody" reaches what the test prepared.
void OpenToOthers(const std::string& path);

}  // namespace versemark::testing
