// Crash safety and undo of the tagging pass: the process is ended at every write
// of a pass, recovery runs, and every file must hold exactly its old or its new
// bytes; undo gives back the old bytes of every file the pass still owns.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <filesystem>
#include <iostream>

#include "matching/RowList.h"
#include "support/TagTestHelpers.h"
#include "support/TailBuilder.h"
#include "support/TempDir.h"
#include "tagging/Journal.h"
#include "tagging/Recovery.h"
#include "tagging/TaggingPass.h"
#include "tagging/Undo.h"

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

using Fields = TailBuilder::Fields;

// Files that take every path of the writer: no tag (the file grows), an old
// tag with an empty field, which is dropped (the file is cut), a version 1 tag (converted), a tag
// with other fields (kept).
class CrashAndUndo : public ::testing::Test {
  protected:
    TempDir dir_;
    const std::string journals_ = dir_.MakeFolder("state");
    const std::string lyrics_ = dir_.WriteFile("A - T.txt", std::string(3000, 'w'));
    std::vector<std::string> originals_ = {
        TailBuilder().audio(900).id3v1("T", "A").bytes(),
        TailBuilder()
            .audio(700)
            .lyrics3v2({{"IND", "100"}, {"EAL", ""}, {"LYR", std::string(9000, 'o')}})
            .id3v1("T", "A")
            .bytes(),
        TailBuilder().audio(800).lyrics3v1("old lyrics").id3v1("T", "A").bytes(),
        TailBuilder().audio(600).lyrics3v2({{"INF", "info"}, {"LYR", "short"}}).bytes(),
    };
    std::vector<std::string> paths_;

    void WriteOriginals(const std::string& folder) {
        paths_.clear();
        for (std::size_t i = 0; i < originals_.size(); ++i) {
            paths_.push_back(
                dir_.WriteFile(folder + "/song" + std::to_string(i) + ".mp3", originals_[i]));
        }
    }

    RowList Rows() const {
        RowList rows;
        for (const std::string& path : paths_) {
            rows.Add(CheckedRow(path, lyrics_, "A - T"));
        }
        return rows;
    }

    TaggingOptions Options(const FileOpener& open = OpenFile) const {
        TaggingOptions options;
        options.Open = open;
        options.JournalFolder = journals_;
        options.Folder = dir_.Path();
        return options;
    }

    // The bytes every file has after a pass that nothing interrupted.
    std::vector<std::string> TaggedBytes() {
        WriteOriginals("clean");
        TaggingOptions options = Options();
        options.JournalFolder = std::nullopt;
        const auto outcome = TagCheckedRows(Rows(), options);
        EXPECT_TRUE(outcome && AllTagged(outcome->Results));
        std::vector<std::string> tagged;
        for (const std::string& path : paths_) {
            tagged.push_back(ReadFileBytes(path));
        }
        return tagged;
    }

    // Runs the pass in a child process that ends at the changing call `crashAt`.
    // True when the child crashed, false when the pass ran to its end.
    bool RunCrashingPass(int crashAt) {
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
            TagCheckedRows(Rows(), Options(open));
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == kCrashExit;
    }
};

TEST_F(CrashAndUndo, EndingTheProcessAtEveryWriteLeavesEachFileOldOrNewAfterRecovery) {
    const std::vector<std::string> tagged = TaggedBytes();
    int kills = 0;
    int filesChecked = 0;
    int torn = 0;
    for (int crashAt = 1;; ++crashAt) {
        WriteOriginals("crash");
        const bool crashed = RunCrashingPass(crashAt);
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

// A crash can tear only the journal's last entry. Whatever prefix of a journal
// survives, recovery leaves a file with its old or its new tail alone.
TEST_F(CrashAndUndo, ATornJournalNeverChangesAWholeFile) {
    const std::vector<std::string> tagged = TaggedBytes();
    WriteOriginals("torn");
    ASSERT_TRUE(TagCheckedRows(Rows(), Options()));
    const std::vector<std::string> journals = ListJournals(journals_);
    ASSERT_EQ(journals.size(), 1u);
    const std::string whole = ReadFileBytes(journals[0]);
    for (const bool filesNew : {true, false}) {
        for (std::size_t i = 0; i < paths_.size(); ++i) {
            dir_.WriteFile("torn/song" + std::to_string(i) + ".mp3",
                           filesNew ? tagged[i] : originals_[i]);
        }
        for (std::size_t cut = 0; cut <= whole.size(); cut += 97) {
            dir_.WriteFile("state/" + std::filesystem::path(journals[0]).filename().string(),
                           whole.substr(0, cut));
            EXPECT_TRUE(RecoverUnfinished(journals_, OpenFile).empty()) << cut;
            for (std::size_t i = 0; i < paths_.size(); ++i) {
                ASSERT_EQ(ReadFileBytes(paths_[i]), filesNew ? tagged[i] : originals_[i]) << cut;
            }
        }
    }
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

// Undo gives back the old bytes of every file the pass still owns; a file
// changed after the pass is left as it is, with its reason.
TEST_F(CrashAndUndo, UndoRestoresTheOldFilesAndSkipsOneChangedSince) {
    WriteOriginals("undo");
    const auto pass = TagCheckedRows(Rows(), Options());
    ASSERT_TRUE(pass && AllTagged(pass->Results));
    const std::string changed = ReadFileBytes(paths_[2]) + "more";
    dir_.WriteFile("undo/song2.mp3", changed);

    const UndoOutcome undo = UndoPass(journals_, "", OpenFile);
    ASSERT_EQ(undo.Error, "");
    ASSERT_EQ(undo.Results.size(), paths_.size());
    for (std::size_t i = 0; i < paths_.size(); ++i) {
        EXPECT_EQ(ReadFileBytes(paths_[i]), i == 2 ? changed : originals_[i]) << i;
    }
    const auto skipped = std::find_if(undo.Results.begin(), undo.Results.end(),
                                      [](const TagResult& r) { return !r.Tagged; });
    ASSERT_NE(skipped, undo.Results.end());
    EXPECT_EQ(skipped->Mp3Path, paths_[2]);
    EXPECT_EQ(skipped->Reason, "changed since the pass");
    EXPECT_EQ(std::count_if(undo.Results.begin(), undo.Results.end(),
                            [](const TagResult& r) { return r.Tagged; }),
              3);

    // The pass counts as undone; with no other pass there is nothing left to undo,
    // but the undo itself can be named and taken back.
    const std::vector<PassSummary> passes = ListPasses(journals_);
    ASSERT_EQ(passes.size(), 2u);
    EXPECT_TRUE(passes[0].Undone);
    EXPECT_EQ(passes[0].Files, paths_.size());
    EXPECT_EQ(passes[1].UndoOf, passes[0].Id);
    EXPECT_EQ(UndoPass(journals_, "", OpenFile).Error, "no tagging pass to undo");
    const UndoOutcome redo = UndoPass(journals_, passes[1].Id, OpenFile);
    EXPECT_TRUE(AllTagged(redo.Results));
    EXPECT_NE(ReadFileBytes(paths_[0]), originals_[0]);
}

TEST_F(CrashAndUndo, OnlyTheNewestPassesAreKept) {
    WriteOriginals("kept");
    for (std::size_t pass = 0; pass < kJournalsKept + 3; ++pass) {
        ASSERT_TRUE(TagCheckedRows(Rows(), Options()));
    }
    EXPECT_EQ(ListJournals(journals_).size(), kJournalsKept);
}

}  // namespace
}  // namespace versemark::testing
