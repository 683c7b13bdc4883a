// Crash safety where only a POSIX system can show it: the process is ended at
// every write of a pass, recovery runs, and every file must hold exactly its old
// or its new bytes; the journal's permissions.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <iostream>

#include "../CrashAndUndo.h"
#include "tagging/Journal.h"
#include "tagging/Recovery.h"

namespace versemark::testing {
namespace {

constexpr int kCrashExit = 77;

// A real file whose changing calls (writes, cuts, flushes) are counted; the
// call numbered `crashAt` ends the process the hard way, a write after storing
// only the first half of its bytes.
class CrashingFile final : public RandomAccessFile {
  public:
    CrashingFile(std::unique_ptr<RandomAccessFile> inner, int& calls, int crashAt)
        : inner_(std::move(inner)), calls_(calls), crashAt_(crashAt) {}

    std::optional<std::uint64_t> Length() override { return inner_->Length(); }
    bool ReadAt(std::uint64_t offset, std::size_t count, std::string& out) override {
        return inner_->ReadAt(offset, count, out);
    }
    bool WriteAt(std::uint64_t offset, std::string_view data) override {
        if (++calls_ == crashAt_) {
            inner_->WriteAt(offset, data.substr(0, data.size() / 2));
            ::_exit(kCrashExit);
        }
        return inner_->WriteAt(offset, data);
    }
    bool Truncate(std::uint64_t length) override {
        CrashHere();
        return inner_->Truncate(length);
    }
    bool Flush() override {
        CrashHere();
        return inner_->Flush();
    }
    bool Close() override { return inner_->Close(); }
    std::optional<FileStamp> Stamp() override { return inner_->Stamp(); }

  private:
    void CrashHere() {
        if (++calls_ == crashAt_) {
            ::_exit(kCrashExit);
        }
    }

    std::unique_ptr<RandomAccessFile> inner_;
    int& calls_;
    int crashAt_;
};

// Runs the pass over `rows` in a child process that ends at the changing call
// `crashAt`. True when the child crashed, false when the pass ran to its end.
bool RunCrashingPass(const RowList& rows, TaggingOptions options, int crashAt) {
    const pid_t child = ::fork();
    if (child == 0) {
        int calls = 0;
        const FileOpener open = [&](const std::string& path,
                                    FileAccess access) -> std::unique_ptr<RandomAccessFile> {
            auto file = OpenFile(path, access);
            if (!file) {
                return nullptr;
            }
            return std::make_unique<CrashingFile>(std::move(file), calls, crashAt);
        };
        options.Open = open;
        TagCheckedRows(rows, options);
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == kCrashExit;
}

TEST_F(CrashAndUndo, EndingTheProcessAtEveryWriteLeavesEachFileOldOrNewAfterRecovery) {
    const std::vector<std::string> tagged = TaggedBytes();
    int kills = 0;
    int filesChecked = 0;
    int torn = 0;
    for (int crashAt = 1;; ++crashAt) {
        WriteOriginals("crash");
        const bool crashed = RunCrashingPass(Rows(), Options(), crashAt);
        RecoverUnfinished(journals_, OpenFile);
        for (std::size_t i = 0; i < paths_.size(); ++i) {
            const std::string bytes = ReadFileBytes(paths_[i]);
            const bool whole = bytes == originals_[i] || bytes == tagged[i];
            EXPECT_TRUE(whole) << "file " << i << " after the end at call " << crashAt;
            torn += whole ? 0 : 1;
            ++filesChecked;
        }
        // Every journal is settled now: the next pass reads only its end.
        for (const std::string& journal : ListJournals(journals_)) {
            EXPECT_TRUE(IsSettled(journal)) << journal << " after the end at call " << crashAt;
        }
        if (!crashed) {
            break;
        }
        ++kills;
    }
    std::cout << "[ crash ] ends tried: " << kills << ", files checked: " << filesChecked
              << ", torn files: " << torn << '\n';
    // At least a write and a flush of every file, and the cut of one.
    EXPECT_GE(kills, 2 * static_cast<int>(paths_.size()) + 1);
    EXPECT_EQ(torn, 0);
}

TEST_F(CrashAndUndo, JournalIsPrivateToTheUser) {
    WriteOriginals("private");
    ASSERT_TRUE(TagCheckedRows(Rows(), Options()));
    struct stat st {};
    ASSERT_EQ(::stat(journals_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_EQ(::stat(ListJournals(journals_).at(0).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

}  // namespace
}  // namespace versemark::testing
