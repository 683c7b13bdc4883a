// SPDX-License-Identifier: GPL-3.0-or-later
// Files only a POSIX system has: permissions that bind, FIFOs.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileSystem.h"
#include "platform/RandomAccessFile.h"
#include "support/TempDir.h"

namespace versemark {
namespace {

using testing::TempDir;

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
    // Its permission bits deny writing to all, root included, whatever the open says.
    const auto rights = OpenFile(path, FileAccess::Read)->Rights();
    ASSERT_TRUE(rights);
    EXPECT_FALSE(rights->Writable);
    EXPECT_EQ(rights->OwnedByUser, ::geteuid() != 0);  // never for root

    // Without links: neither the file's own link nor a linked folder on the way.
    const std::string file = dir.WriteFile("real/song.mp3", "data");
    const std::string fileLink = dir / "link.mp3";
    const std::string folderLink = dir / "linked";
    ASSERT_EQ(::symlink(file.c_str(), fileLink.c_str()), 0);
    ASSERT_EQ(::symlink((dir / "real").c_str(), folderLink.c_str()), 0);
    EXPECT_NE(OpenFile(file, FileAccess::ReadWriteNoLinks), nullptr);
    EXPECT_NE(OpenFile(fileLink, FileAccess::ReadWrite), nullptr);
    EXPECT_EQ(OpenFile(fileLink, FileAccess::ReadWriteNoLinks), nullptr);
    EXPECT_EQ(OpenFile(folderLink + "/song.mp3", FileAccess::ReadWriteNoLinks), nullptr);

    // A new file is never made through a link at its name, whether the link
    // leads to a file or nowhere.
    const std::string dangling = dir / "dangling.txt";
    ASSERT_EQ(::symlink((dir / "nowhere.txt").c_str(), dangling.c_str()), 0);
    for (const std::string& link : {fileLink, dangling}) {
        NewFileStatus status = NewFileStatus::Made;
        std::string reason;
        EXPECT_EQ(CreateNewFile(link, status, reason), nullptr) << link;
        EXPECT_EQ(status, NewFileStatus::NameTaken) << link;
    }
    EXPECT_EQ(testing::ReadFileBytes(file), "data");
    EXPECT_FALSE(PathExists(dir / "nowhere.txt"));
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
