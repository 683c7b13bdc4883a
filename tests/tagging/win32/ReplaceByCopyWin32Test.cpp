// SPDX-License-Identifier: GPL-3.0-or-later
// Tagging by a copy on Windows: the file attributes go over to the new file; a
// read-only file, and an old file another program holds open without letting it
// be deleted, are left as they were, with no new file behind.
#include <windows.h>

#include "platform/win32/WideText.h"
#include "tagging/ReplaceByCopyFixture.h"

namespace versemark::testing {
namespace {

TEST_F(ReplaceByCopyTest, NewFileKeepsTheAttributes) {
    constexpr DWORD kAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
    ASSERT_TRUE(SetFileAttributesW(win32::Wide(mp3_).c_str(), kAttributes));

    ASSERT_TRUE(Tag(mp3_)) << reason_;
    EXPECT_TRUE(ReadFileBytes(mp3_).starts_with("ID3"));
    EXPECT_EQ(GetFileAttributesW(win32::Wide(mp3_).c_str()), kAttributes);
    EXPECT_EQ(Names(), std::vector<std::string>{"song.mp3"});
}

TEST_F(ReplaceByCopyTest, ReadOnlyFileIsLeftAlone) {
    ASSERT_TRUE(SetFileAttributesW(win32::Wide(mp3_).c_str(), FILE_ATTRIBUTE_READONLY));
    const bool tagged = Tag(mp3_);
    SetFileAttributesW(win32::Wide(mp3_).c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_FALSE(tagged);
    ExpectUnchanged("the file cannot be written: ");
}

TEST_F(ReplaceByCopyTest, OldFileHeldOpenWithoutLeaveToDeleteIsNotReplaced) {
    const HANDLE held =
        CreateFileW(win32::Wide(mp3_).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const bool tagged = Tag(mp3_);
    CloseHandle(held);
    EXPECT_FALSE(tagged);
    ExpectUnchanged("renaming the new file over the old one failed: ");
}

}  // namespace
}  // namespace versemark::testing
