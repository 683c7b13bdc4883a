// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/FileSystem.h"
#include "platform/RandomAccessFile.h"
#include "support/TempDir.h"

namespace versemark {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;

TEST(FolderListing, SortsByNameWithoutRegardToCase) {
    TempDir dir;
    dir.WriteFile("b.txt", "");
    dir.WriteFile("A.txt", "");
    dir.WriteFile("c.TXT", "");
    dir.MakeFolder("B folder");
    // Names equal but for case keep a fixed order; a shorter name comes before a
    // longer one it begins; bytes above ASCII come after it. Also where names
    // differ only after their first eight characters.
    dir.WriteFile("ab.txt", "");
    dir.WriteFile("Ab.txt", "");
    dir.WriteFile("b", "");
    dir.WriteFile("\xC3\xA9.txt", "");
    for (const char* name : {"Song title B.txt", "song title a.txt", "SONG TITLE A.txt",
                             "song title", "song title b.txt", "Song Title C.txt",
                             "song title 9.txt", "SONG TITLE", "song title 10.txt"}) {
        dir.WriteFile(name, "");
    }
    const auto entries = ListFolder(dir.Path());
    ASSERT_TRUE(entries.has_value());
    std::vector<std::string> names;
    for (const auto& e : *entries) {
        names.push_back(e.Name);
    }
    const std::vector<std::string> expected = {"A.txt",
                                               "Ab.txt",
                                               "ab.txt",
                                               "b",
                                               "B folder",
                                               "b.txt",
                                               "c.TXT",
                                               "SONG TITLE",
                                               "song title",
                                               "song title 10.txt",
                                               "song title 9.txt",
                                               "SONG TITLE A.txt",
                                               "song title a.txt",
                                               "Song title B.txt",
                                               "song title b.txt",
                                               "Song Title C.txt",
                                               "\xC3\xA9.txt"};
    EXPECT_EQ(names, expected);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end(), NameLess));
    EXPECT_TRUE((*entries)[4].IsFolder);
    EXPECT_FALSE((*entries)[0].IsFolder);
}

TEST(FolderListing, MatchesTheExtensionWithoutCaseAndLeavesOutHiddenNames) {
    TempDir dir;
    dir.WriteFile("Song.TXT", "");
    dir.WriteFile(".hidden.txt", "");
    dir.WriteFile("notes.txt.bak", "");
    dir.MakeFolder("folder.txt");
    EXPECT_EQ(ListFilesWithExtension(dir.Path(), ".txt", true),
              (std::vector<std::string>{"Song.TXT"}));
    EXPECT_EQ(ListFilesWithExtension(dir.Path(), ".txt", false),
              (std::vector<std::string>{".hidden.txt", "Song.TXT"}));
}

TEST(FolderListing, ListsSubfoldersAsFullPathsAndFailsOnMissingFolders) {
    TempDir dir;
    dir.MakeFolder("z");
    dir.MakeFolder("Y");
    dir.WriteFile("file", "x");
    EXPECT_EQ(ListSubfolders(dir.Path()), (std::vector<std::string>{dir / "Y", dir / "z"}));
    EXPECT_FALSE(ListFolder(dir / "missing").has_value());
    EXPECT_FALSE(ListFolder(dir / "file").has_value());
    EXPECT_TRUE(ListSubfolders(dir / "missing").empty());
}

TEST(FileReads, ReadsWholeFilesAndTails) {
    TempDir dir;
    const std::string path = dir.WriteFile("t.bin", std::string("ab\0cd", 5));
    EXPECT_EQ(ReadWholeFile(path), std::string("ab\0cd", 5));
    EXPECT_EQ(ReadFileTail(path, 2), "cd");
    EXPECT_EQ(ReadFileTail(path, 80), std::string("ab\0cd", 5));
    EXPECT_EQ(ReadWholeFile(dir.WriteFile("empty", "")), "");
    EXPECT_FALSE(ReadWholeFile(dir / "missing").has_value());
    EXPECT_FALSE(ReadWholeFile(dir.Path()).has_value()) << "a folder is not a file";
}

TEST(RandomAccess, ReadsWritesAndTruncatesAtPositions) {
    TempDir dir;
    const std::string path = dir.WriteFile("f.bin", "0123456789");
    auto file = OpenFile(path, FileAccess::ReadWrite);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->Length(), 10u);
    std::string out;
    EXPECT_TRUE(file->ReadAt(8, 2, out));
    EXPECT_EQ(out, "89");
    EXPECT_FALSE(file->ReadAt(8, 3, out)) << "a read past the end must fail";
    EXPECT_TRUE(file->WriteAt(10, "AB"));
    EXPECT_TRUE(file->Truncate(11));
    EXPECT_TRUE(file->Close());
    EXPECT_EQ(ReadFileBytes(path), "0123456789A");

    // A new file is made only where nothing has its name.
    NewFileStatus status = NewFileStatus::Failed;
    std::string reason;
    auto made = CreateNewFile(dir / "new.txt", status, reason);
    ASSERT_NE(made, nullptr) << reason;
    EXPECT_EQ(status, NewFileStatus::Made);
    EXPECT_EQ(made->Length(), 0u);
    EXPECT_TRUE(made->WriteAt(0, "words") && made->Flush() && made->Close());
    EXPECT_EQ(ReadFileBytes(dir / "new.txt"), "words");
    EXPECT_EQ(CreateNewFile(dir / "new.txt", status, reason), nullptr);
    EXPECT_EQ(status, NewFileStatus::NameTaken);
    EXPECT_EQ(CreateNewFile(path, status, reason), nullptr);
    EXPECT_EQ(status, NewFileStatus::NameTaken);
    EXPECT_EQ(ReadFileBytes(path), "0123456789A");
    EXPECT_EQ(CreateNewFile(dir / "missing/new.txt", status, reason), nullptr);
    EXPECT_EQ(status, NewFileStatus::Failed);
    EXPECT_FALSE(reason.empty());
}

}  // namespace
}  // namespace versemark
