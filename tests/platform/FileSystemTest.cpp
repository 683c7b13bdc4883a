#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

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
    // longer one it begins; bytes above ASCII come after it.
    dir.WriteFile("ab.txt", "");
    dir.WriteFile("Ab.txt", "");
    dir.WriteFile("b", "");
    dir.WriteFile("\xC3\xA9.txt", "");
    const auto entries = ListFolder(dir.Path());
    ASSERT_TRUE(entries.has_value());
    std::vector<std::string> names;
    for (const auto& e : *entries) {
        names.push_back(e.Name);
    }
    const std::vector<std::string> expected = {"A.txt",    "Ab.txt", "ab.txt", "b",
                                               "B folder", "b.txt",  "c.TXT",  "\xC3\xA9.txt"};
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
}

TEST(RandomAccess, RefusesFoldersMissingFilesAndWritesToReadOnlyFiles) {
    TempDir dir;
    EXPECT_EQ(OpenFile(dir.Path(), FileAccess::Read), nullptr);
    EXPECT_EQ(OpenFile(dir / "missing.mp3", FileAccess::ReadWrite), nullptr);
    const std::string path = dir.WriteFile("ro.mp3", "data");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    if (::geteuid() != 0) {  // root may open anything for writing
        EXPECT_EQ(OpenFile(path, FileAccess::ReadWrite), nullptr);
    }
    EXPECT_NE(OpenFile(path, FileAccess::Read), nullptr);
}

TEST(RandomAccess, RefusesAFifoWithoutBlocking) {
    TempDir dir;
    const std::string fifo = dir / "pipe.mp3";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    // Opening a FIFO for reading would block until a writer comes; it must fail at once.
    EXPECT_EQ(OpenFile(fifo, FileAccess::Read), nullptr);
    EXPECT_EQ(OpenFile(fifo, FileAccess::ReadWrite), nullptr);
    EXPECT_FALSE(ReadWholeFile(fifo).has_value());
    EXPECT_FALSE(IsRegularFile(fifo));
}

}  // namespace
}  // namespace versemark
