// SPDX-License-Identifier: GPL-3.0-or-later
// Tagging by a copy renamed over the old file, on every system: the name leads to
// the tagged file, and another hard link of the old one keeps the old content.
#include "tagging/ReplaceByCopyFixture.h"

namespace versemark::testing {
namespace {

namespace fs = std::filesystem;

TEST_F(ReplaceByCopyTest, TheNameLeadsToTheTaggedCopyAndAnotherHardLinkKeepsTheOldContent) {
    fs::create_hard_link(mp3_, folder_ + "/hard.mp3");

    ASSERT_TRUE(Tag(mp3_)) << reason_;
    const std::string tagged = ReadFileBytes(mp3_);
    EXPECT_TRUE(tagged.starts_with("ID3"));
    EXPECT_TRUE(tagged.ends_with(original_.substr(original_.size() - 128)));
    EXPECT_TRUE(ReadFileBytes(folder_ + "/hard.mp3") == original_);
    EXPECT_EQ(Names(), (std::vector<std::string>{"hard.mp3", "song.mp3"}));
}

}  // namespace
}  // namespace versemark::testing
