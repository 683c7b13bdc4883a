// SPDX-License-Identifier: GPL-3.0-or-later
// Crash safety where only a POSIX system can show it: the process is ended at
// every write of a pass, recovery runs, and every file must hold exactly its old
// or its new bytes; the journal's permissions.
#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <iostream>
#include <thread>

#include "../CrashAndUndo.h"
#include "platform/FileSystem.h"
#include "tagging/BesideFile.h"
#include "tagging/Journal.h"
#include "tagging/JournalFolder.h"
#include "tagging/JournaledWrite.h"
#include "tagging/PassLock.h"
#include "tagging/Recovery.h"
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

// Runs `run` in a child process whose files (those it opens and the new ones it
// makes) end it at the changing call `crashAt`. True when the child crashed,
// false when `run` ran to its end.
bool RunCrashing(const std::function<void(const FileOpener&, const NewFileWrap&)>& run,
                 int crashAt) {
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
        const NewFileWrap wrap = [&](std::unique_ptr<RandomAccessFile> file) {
            return std::unique_ptr<RandomAccessFile>(
                std::make_unique<CrashingFile>(std::move(file), calls, crashAt));
        };
        run(open, wrap);
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == kCrashExit;
}

// The pass over `rows`, ended at the changing call `crashAt`.
bool RunCrashingPass(const RowList& rows, TaggingOptions options, int crashAt) {
    return RunCrashing(
        [&](const FileOpener& open, const NewFileWrap& wrap) {
            options.Open = open;
            options.WrapNewFile = wrap;
            TagCheckedRows(rows, options);
        },
        crashAt);
}

// Writes every file in place at two places, journaled as a pass: the bytes from
// kRangeFront (as many new ones), and its tail from kRangeTail, which grows for
// the first file and shrinks for the others.
constexpr std::size_t kRangeFront = 100;
constexpr std::size_t kRangeTail = 500;
const std::string kFrontBytes(60, 'N');

std::string RangesTail(std::size_t i) {
    return std::string(i == 0 ? 900 : 40 * i, static_cast<char>('a' + i));
}

void WriteRangesPass(const std::vector<std::string>& paths, const std::string& journals,
                     const FileOpener& open) {
    std::string reason;
    auto journal = PassJournal::Create(journals, PassHeader{1, "ranges", ""}, reason);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::vector<RangeEdit> edits = {{kRangeFront, kFrontBytes, false},
                                              {kRangeTail, RangesTail(i), true}};
        WriteRangesJournaled(open(paths[i], FileAccess::ReadWrite), paths[i], edits, journal.get(),
                             open);
    }
    FinishJournal(std::move(journal), journals);
}

// An ID3v2.3 tag of a title frame with room for the lyrics frame: "ID3",
// version 3.0, no flags, the size in four 7-bit bytes; the frame's id, size and
// flags, its data, then padding.
std::string PaddedId3v2Tag() {
    const std::string frame = std::string("TIT2\0\0\0\x06\0\0", 10) + std::string("\0Title", 6);
    constexpr std::size_t kBody = 8192;  // 0x2000: 7-bit bytes 00 00 40 00
    return std::string("ID3\x03\0\0\0\0\x40\0", 10) + frame + std::string(kBody - 16, '\0');
}

// A pass writing tails, a write at several places of each file, a pass
// writing the ID3v2 lyrics frame in place of the padding, and a pass writing the
// lyrics beside each song too: ended at every changing call, recovery leaves
// every file whole (a lyrics file beside a song not there, or whole), and undo
// takes it back (and removes the lyrics file).
TEST_F(CrashAndUndo, EndingTheProcessAtEveryWriteLeavesEachFileOldOrNewAfterRecovery) {
    enum class Run { Tails, Ranges, Id3v2InPlace, Beside };
    const std::vector<std::string> plain = originals_;
    const std::string besideText = Stored(std::string(3000, 'w'));
    const auto BesidePath = [&](std::size_t i) {
        return dir_ / ("crash/song" + std::to_string(i) + ".txt");
    };
    for (const Run run : {Run::Tails, Run::Ranges, Run::Id3v2InPlace, Run::Beside}) {
        const bool ranges = run == Run::Ranges;
        const bool beside = run == Run::Beside;
        originals_ = plain;
        TaggingOptions options = Options();
        options.Tag.BesideFile = beside;
        std::vector<std::string> tagged;
        if (run == Run::Id3v2InPlace) {
            for (std::string& original : originals_) {
                original = PaddedId3v2Tag() + original;
            }
            options.Tag.AlsoId3v2 = true;
            WriteOriginals("clean-id3v2");
            TaggingOptions clean = options;
            clean.JournalFolder = std::nullopt;
            ASSERT_TRUE(AllTagged(TagCheckedRows(Rows(), clean)->Results));
            for (std::size_t i = 0; i < paths_.size(); ++i) {
                tagged.push_back(ReadFileBytes(paths_[i]));
                // In place: the tag kept its size, and the audio its place.
                const std::size_t audio = PaddedId3v2Tag().size();
                EXPECT_TRUE(tagged[i].substr(audio, 500) == originals_[i].substr(audio, 500));
                EXPECT_NE(tagged[i].substr(0, audio), PaddedId3v2Tag());
            }
        } else if (ranges) {
            for (std::size_t i = 0; i < originals_.size(); ++i) {
                tagged.push_back(
                    originals_[i].substr(0, kRangeFront) + kFrontBytes +
                    originals_[i].substr(kRangeFront + kFrontBytes.size(),
                                         kRangeTail - kRangeFront - kFrontBytes.size()) +
                    RangesTail(i));
            }
        } else {
            tagged = TaggedBytes();
        }
        int kills = 0;
        int filesChecked = 0;
        int torn = 0;
        for (int crashAt = 1;; ++crashAt) {
            WriteOriginals("crash");
            const bool crashed = ranges ? RunCrashing(
                                              [&](const FileOpener& open, const NewFileWrap&) {
                                                  WriteRangesPass(paths_, journals_, open);
                                              },
                                              crashAt)
                                        : RunCrashingPass(Rows(), options, crashAt);
            RecoverUnfinished(journals_, OpenFile);
            for (std::size_t i = 0; i < paths_.size(); ++i) {
                const std::string bytes = ReadFileBytes(paths_[i]);
                const bool whole = bytes == originals_[i] || bytes == tagged[i];
                EXPECT_TRUE(whole) << "file " << i << " after the end at call " << crashAt;
                torn += whole ? 0 : 1;
                ++filesChecked;
                if (const std::string besideFile = BesidePath(i); PathExists(besideFile)) {
                    const bool besideWhole = ReadFileBytes(besideFile) == besideText;
                    EXPECT_TRUE(besideWhole) << "beside " << i << " after the end at " << crashAt;
                    torn += besideWhole ? 0 : 1;
                    ++filesChecked;
                }
            }
            // Every journal is settled now: the next pass reads only its end.
            for (const std::string& journal : ListJournals(journals_)) {
                EXPECT_TRUE(IsSettled(journal)) << journal << " after the end at call " << crashAt;
            }
            // Undo takes the pass back; a record begun for a file never written is
            // no error.
            const UndoOutcome undo = UndoPass(journals_, "", OpenFile);
            EXPECT_TRUE(AllTagged(undo.Results) && undo.Problems.empty()) << crashAt;
            for (std::size_t i = 0; i < paths_.size(); ++i) {
                EXPECT_TRUE(ReadFileBytes(paths_[i]) == originals_[i])
                    << i << " at call " << crashAt;
                EXPECT_FALSE(PathExists(BesidePath(i))) << i << " at call " << crashAt;
            }
            if (!crashed) {
                // Undone only when the pass ran whole: its records all wrote.
                EXPECT_EQ(undo.Results.size(), paths_.size() * (beside ? 2 : 1))
                    << static_cast<int>(run);
                break;
            }
            ++kills;
        }
        std::cout << "[ crash ] " << static_cast<int>(run) << " ends tried: " << kills
                  << ", files checked: " << filesChecked << ", torn files: " << torn << '\n';
        // At least a write and a flush of every file (and of the lyrics file beside
        // it), and the cut of one.
        EXPECT_GE(kills, (beside ? 4 : 2) * static_cast<int>(paths_.size()) + 1);
        EXPECT_EQ(torn, 0);
    }
}

// An undo ended at any write leaves its pass partly undone; the next undo picks
// that pass again, not the older one, and finishes it.
TEST_F(CrashAndUndo, AnUndoEndedAtEveryWriteIsFinishedByTheNextUndo) {
    const std::vector<std::string> tagged = TaggedBytes();
    WriteOriginals("older");
    ASSERT_TRUE(TagCheckedRows(Rows(), Options()));
    const std::vector<std::string> older = paths_;
    int kills = 0;
    for (int crashAt = 1;; ++crashAt) {
        WriteOriginals("undone");
        ASSERT_TRUE(TagCheckedRows(Rows(), Options()));
        const std::string passId = ListPasses(journals_).back().Id;
        const bool crashed = RunCrashing(
            [&](const FileOpener& open, const NewFileWrap&) { UndoPass(journals_, "", open); },
            crashAt);
        for (const RecoveryNote& note : RecoverUnfinished(journals_, OpenFile)) {
            EXPECT_TRUE(note.Repaired) << crashAt << " " << note.Path << ": " << note.Text;
        }
        const std::vector<PassSummary> passes = ListPasses(journals_);
        const auto pass = std::find_if(passes.begin(), passes.end(),
                                       [&](const PassSummary& p) { return p.Id == passId; });
        ASSERT_NE(pass, passes.end());
        EXPECT_EQ(pass->PartlyUndone, crashed) << crashAt;
        EXPECT_EQ(pass->Undone, !crashed) << crashAt;
        if (crashed) {
            const UndoOutcome again = UndoPass(journals_, "", OpenFile);
            EXPECT_EQ(again.PassId, passId) << crashAt;
            for (const TagResult& result : again.Results) {
                EXPECT_TRUE(result.Tagged)
                    << crashAt << " " << result.Mp3Path << ": " << result.Reason;
            }
            ++kills;
        }
        for (std::size_t i = 0; i < paths_.size(); ++i) {
            EXPECT_TRUE(ReadFileBytes(paths_[i]) == originals_[i]) << i << " at call " << crashAt;
            EXPECT_TRUE(ReadFileBytes(older[i]) == tagged[i]) << i << " at call " << crashAt;
        }
        if (!crashed) {
            break;
        }
    }
    std::cout << "[ crash ] undos ended: " << kills << '\n';
    EXPECT_GE(kills, 2 * static_cast<int>(paths_.size()));
}

// The copies a copy write made in `folder` and has not renamed yet.
std::vector<std::string> CopiesIn(const std::string& folder) {
    std::vector<std::string> copies;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().string().starts_with(".versemark-")) {
            copies.push_back(entry.path().string());
        }
    }
    return copies;
}

// Ends this process the hard way as soon as a copy write makes its new file in
// `folder` (watched by a thread of its own), while the copy is being written.
void EndAtTheFirstCopy(const std::string& folder) {
    const int watch = ::inotify_init1(IN_CLOEXEC);
    if (watch < 0 || ::inotify_add_watch(watch, folder.c_str(), IN_CREATE) < 0) {
        ::_exit(kCrashExit);
    }
    std::thread([watch] {
        alignas(inotify_event) char events[4096];
        for (;;) {
            const ssize_t size = ::read(watch, events, sizeof events);
            for (ssize_t at = 0; at < size;) {
                const auto* event = reinterpret_cast<const inotify_event*>(events + at);
                if (event->len > 0 && std::string_view(event->name).starts_with(".versemark-")) {
                    ::kill(::getpid(), SIGKILL);
                }
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    }).detach();
}

// A pass with the ID3v2 frame ended while it writes the first file's copy (a
// large one, so that the end comes before its rename): the copy stays behind and
// the file is whole; the next start's recovery removes the copy.
TEST_F(CrashAndUndo, APassEndedWhileWritingACopyLeavesNoCopyAfterRecovery) {
    originals_[0] = TailBuilder().audio(32 * 1024 * 1024).id3v1("T", "A").bytes();
    WriteOriginals("copycrash");
    const std::string folder = dir_ / "copycrash";
    TaggingOptions options = Options();
    options.Tag.AlsoId3v2 = true;
    const pid_t child = ::fork();
    if (child == 0) {
        EndAtTheFirstCopy(folder);
        TagCheckedRows(Rows(), options);
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
    ASSERT_EQ(CopiesIn(folder).size(), 1u);

    const std::vector<RecoveryNote> notes = RecoverUnfinished(journals_, OpenFile);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_TRUE(notes[0].Repaired);
    EXPECT_EQ(notes[0].Path, paths_[0]);
    EXPECT_TRUE(CopiesIn(folder).empty());
    for (std::size_t i = 0; i < paths_.size(); ++i) {
        EXPECT_TRUE(ReadFileBytes(paths_[i]) == originals_[i]) << i;
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

constexpr uid_t kOtherUser = 65534;  // "nobody"

// The state folder is the user's own: one that is a link, or that belongs to
// another user, is refused with the reason and left as it was; a journal of
// another user's in the own folder is never read, so a record planted in it
// cannot make recovery or undo write over the user's file.
TEST_F(CrashAndUndo, AFolderOrJournalOfAnotherUserIsNeverUsed) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "making files of another user needs root";
    }
    WriteOriginals("foreign");
    const std::string foreign = dir_.MakeFolder("foreign-state");
    ASSERT_EQ(::chmod(foreign.c_str(), 0755), 0);
    ASSERT_EQ(::chown(foreign.c_str(), kOtherUser, kOtherUser), 0);
    const std::string link = dir_ / "linked-state";
    std::filesystem::create_directory_symlink(foreign, link);
    struct Case {
        std::string folder;
        std::string reason;
    };
    for (const Case& c : {Case{link, "it is a link"}, Case{foreign, "another user"}}) {
        TaggingOptions options = Options();
        options.JournalFolder = c.folder;
        const auto outcome = TagCheckedRows(Rows(), options);
        ASSERT_TRUE(outcome);
        ASSERT_EQ(outcome->Results.size(), paths_.size()) << c.folder;
        EXPECT_FALSE(outcome->Results[0].Tagged);
        EXPECT_NE(outcome->Results[0].Reason.find(c.reason), std::string::npos)
            << outcome->Results[0].Reason;
        EXPECT_FALSE(PassLock::Take(c.folder).Held());
        // Listing its passes is refused too, with the reason, rather than showing none.
        EXPECT_NE(ListingRefusal(c.folder).find(c.reason), std::string::npos) << c.folder;
        struct stat st {};
        ASSERT_EQ(::stat(foreign.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0755u) << c.folder;
        EXPECT_TRUE(std::filesystem::is_empty(foreign)) << c.folder;
        for (std::size_t i = 0; i < paths_.size(); ++i) {
            EXPECT_EQ(ReadFileBytes(paths_[i]), originals_[i]) << c.folder << ' ' << i;
        }
    }

    // A failed record that would put "planted" over the end of the first file,
    // whose end it claims to have written.
    {
        std::string reason;
        const auto planted = PassJournal::Create(journals_, PassHeader{1, "x", ""}, reason);
        ASSERT_NE(planted, nullptr) << reason;
        const auto victim = OpenFile(paths_[0], FileAccess::Read);
        ASSERT_NE(victim, nullptr);
        const std::uint64_t offset = originals_[0].size() - 7;
        const auto index = planted->Begin(
            paths_[0], victim->Stamp(),
            TailChange{offset, offset + 7, "planted", originals_[0].substr(offset)}, reason);
        ASSERT_TRUE(index) << reason;
        ASSERT_TRUE(planted->MarkFailed(*index));
    }
    const std::string planted = ListJournals(journals_).at(0);
    ASSERT_EQ(::chown(planted.c_str(), kOtherUser, kOtherUser), 0);
    EXPECT_TRUE(ListJournals(journals_).empty());
    EXPECT_TRUE(ListPasses(journals_).empty());
    EXPECT_EQ(ListingRefusal(journals_), "");  // the own folder, only the journal is foreign
    EXPECT_TRUE(RecoverUnfinished(journals_, OpenFile).empty());
    EXPECT_EQ(UndoPass(journals_, "", OpenFile).Error, "no tagging pass to undo");
    EXPECT_EQ(ReadFileBytes(paths_[0]), originals_[0]);
    // The same journal as the user's own is read: the record does take effect.
    ASSERT_EQ(::chown(planted.c_str(), 0, 0), 0);
    EXPECT_EQ(RecoverUnfinished(journals_, OpenFile).size(), 1u);
    EXPECT_NE(ReadFileBytes(paths_[0]), originals_[0]);
}

}  // namespace
}  // namespace versemark::testing
