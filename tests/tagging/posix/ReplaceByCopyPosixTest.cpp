// SPDX-License-Identifier: GPL-3.0-or-later
// Tagging by a copy on POSIX systems: permission bits and symbolic links, and
// failures that need POSIX means (a folder or file others may not write, a
// file-size limit, a small mounted file system).
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include "support/Unprivileged.h"
#include "tagging/ReplaceByCopyFixture.h"

namespace versemark::testing {
namespace {

namespace fs = std::filesystem;

TEST_F(ReplaceByCopyTest, NewFileKeepsThePermissionBitsAndReplacesWhatALinkLeadsTo) {
    fs::permissions(mp3_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(mp3_, folder_ + "/link.mp3");

    ASSERT_TRUE(Tag(folder_ + "/link.mp3")) << reason_;
    EXPECT_TRUE(fs::is_symlink(folder_ + "/link.mp3"));
    EXPECT_TRUE(ReadFileBytes(mp3_).starts_with("ID3"));
    EXPECT_EQ(fs::status(mp3_).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Names(), (std::vector<std::string>{"link.mp3", "song.mp3"}));
}

// A read-only folder, or a read-only file in a folder open to all: as "nobody".
TEST_F(ReplaceByCopyTest, ReadOnlyFolderOrFile) {
    OpenToOthers(lyrics_);
    const struct {
        fs::perms Folder;
        fs::perms File;
        std::string Reason;
    } cases[] = {
        {fs::perms::all & ~fs::perms::others_write, fs::perms::all,
         "cannot create a new file in the folder: Permission denied"},
        {fs::perms::all, fs::perms::owner_read | fs::perms::others_read,
         "the file cannot be written: Permission denied"},
    };
    for (const auto& c : cases) {
        fs::permissions(folder_, c.Folder);
        fs::permissions(mp3_, c.File);
        bool tagged = false;
        {
            const Unprivileged nobody;
            if (!nobody.Active()) {
                GTEST_SKIP() << "root's rights could not be put down";
            }
            tagged = Tag(mp3_);
        }
        EXPECT_FALSE(tagged);
        ExpectUnchanged(c.Reason);
    }
}

TEST_F(ReplaceByCopyTest, FileSizeLimit) {
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit lower = old;
    lower.rlim_cur = original_.size();  // the new file is longer than the old one
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &lower), 0);
    const bool tagged = Tag(mp3_);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(tagged);
    ExpectUnchanged("File too large");
}

TEST_F(ReplaceByCopyTest, FullFileSystem) {
    const std::string small = dir_.MakeFolder("small");
    if (::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") != 0) {
        GTEST_SKIP() << "no small file system can be mounted here";
    }
    UseFolder(small);
    {
        std::ofstream filler(small + "/filler", std::ios::binary);
        filler << std::string(64 * 1024, 'x');
    }
    const bool tagged = Tag(mp3_);
    const std::vector<std::string> names = Names();
    const std::string after = ReadFileBytes(mp3_);
    ::umount(small.c_str());
    EXPECT_FALSE(tagged);
    EXPECT_TRUE(after == original_) << "the old file changed";
    EXPECT_EQ(names, (std::vector<std::string>{"filler", "song.mp3"}));
    EXPECT_NE(reason_.find("No space left on device"), std::string::npos) << reason_;
}

}  // namespace
}  // namespace versemark::testing
