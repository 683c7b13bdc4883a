// SPDX-License-Identifier: GPL-3.0-or-later
// Folders that cannot be written, as only POSIX permissions make them.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "startup/Manifest.h"
#include "support/TempDir.h"

namespace versemark {
namespace {

using testing::TempDir;

constexpr float kWindowsXp = 5.01F;

bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

TEST(Manifest, AFolderThatCannotBeWrittenIsNoHarm) {
    TempDir folder;
    const std::string locked = folder.MakeFolder("locked");
    ASSERT_EQ(::chmod(locked.c_str(), 0555), 0);
    WriteManifest(locked, "versemark", kWindowsXp);
    if (::geteuid() != 0) {  // permissions do not bind the superuser
        EXPECT_FALSE(Exists(locked + "/versemark.exe.manifest"));
    }
    WriteManifest("/proc", "versemark", kWindowsXp);  // read-only for everyone
    EXPECT_FALSE(Exists("/proc/versemark.exe.manifest"));
    WriteManifest(folder / "missing/folder", "versemark", kWindowsXp);
    EXPECT_FALSE(Exists(folder / "missing"));
}

}  // namespace
}  // namespace versemark
