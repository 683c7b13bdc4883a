// Tagging by writing a new file beside the old one and renaming it over it: what
// the rename keeps, and failures at each step that must leave the old file as it
// was and no new file behind.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "support/TailBuilder.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"
#include "tagging/ReplaceByCopy.h"
#include "tagging/TaggingPass.h"

namespace versemark::testing {
namespace {

namespace fs = std::filesystem;

class ReplaceByCopyTest : public ::testing::Test {
  protected:
    void SetUp() override { UseFolder(dir_.MakeFolder("music")); }

    // Puts the MP3 file into `folder`.
    void UseFolder(const std::string& folder) {
        folder_ = folder;
        mp3_ = folder + "/song.mp3";
        std::ofstream(mp3_, std::ios::binary) << original_;
    }

    bool Tag(const std::string& path) {
        TagOptions options;
        options.AlsoId3v2 = true;
        options.ReportFailure = [this](const std::string&, const std::string& reason) {
            reason_ = reason;
        };
        return TagFileByCopy(path, lyrics_, "Artist - Title", options);
    }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // The old file is unchanged, no new file is left, and the reason says why.
    void ExpectUnchanged(std::string_view reason) {
        EXPECT_TRUE(ReadFileBytes(mp3_) == original_) << "the old file changed";
        EXPECT_EQ(Names(), std::vector<std::string>{"song.mp3"});
        EXPECT_NE(reason_.find(reason), std::string::npos) << reason_;
    }

    TempDir dir_;
    const std::string original_ = TailBuilder().audio(4000).id3v1("Title", "Artist").bytes();
    const std::string lyrics_ = dir_.WriteFile("Artist - Title.txt", "words");
    std::string folder_;
    std::string mp3_;
    std::string reason_;
};

TEST_F(ReplaceByCopyTest, NewFileKeepsThePermissionBitsAndReplacesWhatALinkLeadsTo) {
    fs::permissions(mp3_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(mp3_, folder_ + "/link.mp3");
    fs::create_hard_link(mp3_, folder_ + "/hard.mp3");

    ASSERT_TRUE(Tag(folder_ + "/link.mp3")) << reason_;
    EXPECT_TRUE(fs::is_symlink(folder_ + "/link.mp3"));
    const std::string tagged = ReadFileBytes(mp3_);
    EXPECT_TRUE(tagged.starts_with("ID3"));
    EXPECT_TRUE(tagged.ends_with(original_.substr(original_.size() - 128)));
    EXPECT_EQ(fs::status(mp3_).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // The name now leads to a new file: another hard link keeps the old content.
    EXPECT_TRUE(ReadFileBytes(folder_ + "/hard.mp3") == original_);
    EXPECT_EQ(Names(), (std::vector<std::string>{"hard.mp3", "link.mp3", "song.mp3"}));
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
