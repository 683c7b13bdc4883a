// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/Unprivileged.h"

#include <unistd.h>
#include <filesystem>

namespace versemark::testing {
namespace fs = std::filesystem;
namespace {

constexpr uid_t kNobodyUser = 65534;
constexpr gid_t kNobodyGroup = 65534;

}  // namespace

Unprivileged::Unprivileged() : wasRoot_(::geteuid() == 0) {
    if (!wasRoot_) {
        active_ = true;
        return;
    }
    active_ = ::setegid(kNobodyGroup) == 0 && ::seteuid(kNobodyUser) == 0;
}

Unprivileged::~Unprivileged() {
    if (wasRoot_) {
        [[maybe_unused]] const int user = ::seteuid(0);
        [[maybe_unused]] const int group = ::setegid(0);
    }
}

void OpenToOthers(const std::string& path) {
    const fs::path top = fs::temp_directory_path();
    std::error_code ec;
    for (fs::path p = fs::path(path); !p.empty() && p != top && p != p.root_path();
         p = p.parent_path()) {
        const bool folder = fs::is_directory(p, ec);
        fs::permissions(
            p, folder ? fs::perms::others_read | fs::perms::others_exec : fs::perms::others_read,
            fs::perm_options::add, ec);
    }
}

}  // namespace versemark::testing
