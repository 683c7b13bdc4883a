// SPDX-License-Identifier: GPL-3.0-or-later
// Crash safety and undo of the tagging pass: recovery after a journal torn
// anywhere leaves every file with exactly its old or its new bytes; undo gives
// back the old bytes of every file the pass still owns.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>
#include <utility>

#include "CrashAndUndo.h"
#include "platform/FileSystem.h"
#include "platform/LockedFile.h"
#include "tagging/BesideFile.h"
#include "tagging/Journal.h"
#include "tagging/PassLock.h"
#include "tagging/Recovery.h"
#include "tagging/Undo.h"

namespace versemark::testing {
namespace {

// A crash can tear only the journal's last entry. Whatever prefix of a journal
// survives, recovery leaves a file with its old or its new tail alone.
// What undo needs of a copy rebuilt from pieces is read back as written; pieces
// that reach past the new file (a damaged entry) are not used.
TEST(PieceUndoEntry, IsReadBackAndRefusedWhenItsPiecesReachPastTheNewFile) {
    const std::string start = HeaderEntry(PassHeader{}) + CopyRecordEntry(0, "song.flac", "new");
    const FileStamp copy{1, 2, 300, 4};
    struct Case {
        const char* Name;
        std::vector<Piece> Pieces;
        bool Used;
    };
    const std::vector<Case> cases = {
        {"within", {{true, 0, 100, {}}, {false, 0, 3, "old"}, {true, 200, 100, {}}}, true},
        {"to the end", {{true, 0, 300, {}}}, true},
        {"past the end", {{true, 250, 51, {}}}, false},
        {"beyond it", {{true, 301, 0, {}}}, false},
    };
    for (const Case& c : cases) {
        const PieceUndo undo{300, 77, c.Pieces};
        const auto content =
            ParseJournal(start + PieceCopyWrittenEntry(0, copy, undo), "journal.vmj");
        ASSERT_TRUE(content && content->Records.size() == 1) << c.Name;
        const JournalRecord& record = content->Records[0];
        EXPECT_EQ(record.CopyWritten, c.Used) << c.Name;
        EXPECT_EQ(content->Problems.empty(), c.Used) << c.Name;
        if (c.Used) {
            ASSERT_TRUE(record.Pieces) << c.Name;
            EXPECT_EQ(record.Pieces->OldPieces, c.Pieces) << c.Name;
            EXPECT_EQ(record.Pieces->NewChecksum, 77u) << c.Name;
            EXPECT_EQ(record.Before, copy) << c.Name;
        }
    }
}

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
            // A cut inside an entry is told, naming the journal; no file is touched.
            for (const RecoveryNote& note : RecoverUnfinished(journals_, OpenFile)) {
                EXPECT_TRUE(note.Journal && note.Path == journals[0]) << cut << note.Text;
                EXPECT_TRUE(note.Text.starts_with("it ends in an entry cut short")) << cut;
            }
            for (std::size_t i = 0; i < paths_.size(); ++i) {
                ASSERT_EQ(ReadFileBytes(paths_[i]), filesNew ? tagged[i] : originals_[i]) << cut;
            }
        }
    }
}

// One pass at a time: while another holds the journal folder's lock, a pass
// that gives up does nothing at all, and one that waits writes nothing until
// the lock is let go, then tags every file whole.
TEST_F(CrashAndUndo, APassStartedWhileAnotherRunsGivesUpOrWaitsForIt) {
    const std::vector<std::string> tagged = TaggedBytes();
    WriteOriginals("second");
    auto first = std::make_unique<PassLock>(PassLock::Take(journals_));
    ASSERT_TRUE(first->Held()) << first->Reason();

    TaggingOptions refusing = Options();
    int asked = 0;
    refusing.WhenBusy = [&] {
        ++asked;
        return false;
    };
    const auto refused = TagCheckedRows(Rows(), refusing);
    ASSERT_TRUE(refused);
    EXPECT_TRUE(refused->OtherPassRunning);
    EXPECT_TRUE(refused->Results.empty());
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(ListJournals(journals_).empty());

    std::atomic<bool> waiting = false;
    TaggingOptions waitingOptions = Options();
    waitingOptions.WhenBusy = [&] { return waiting = true; };
    std::optional<TaggingOutcome> waited;
    std::thread second([&] { waited = TagCheckedRows(Rows(), waitingOptions); });
    while (!waiting) {
        std::this_thread::yield();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    for (std::size_t i = 0; i < paths_.size(); ++i) {
        EXPECT_EQ(ReadFileBytes(paths_[i]), originals_[i]) << "written while waiting: " << i;
    }
    EXPECT_TRUE(ListJournals(journals_).empty());
    first.reset();
    second.join();
    ASSERT_TRUE(waited && AllTagged(waited->Results) && !waited->OtherPassRunning);
    for (std::size_t i = 0; i < paths_.size(); ++i) {
        EXPECT_EQ(ReadFileBytes(paths_[i]), tagged[i]) << i;
    }
}

// An ID3v2.3 tag of a title frame and padding, from the layout: "ID3", version
// 3.0, no flags, the size in four 7-bit bytes; the frame's id, size and flags.
std::string OldId3v2Tag() {
    const std::string frame = std::string("TIT2\0\0\0\x06\0\0", 10) + std::string("\0Title", 6);
    const std::string body = frame + std::string(40, '\0');
    return std::string("ID3\x03\0\0\0\0\0", 9) + static_cast<char>(body.size()) + body;
}

// Undo gives back the old bytes of every file the pass still owns, whether the
// pass wrote the tails in place or (with the ID3v2 frame) each file as a copy;
// a file changed after the pass is left as it is, with its reason.
// So it does in a folder whose files' paths are over 400 characters long.
TEST_F(CrashAndUndo, UndoRestoresTheOldFilesAndSkipsOneChangedSince) {
    originals_[3] = OldId3v2Tag() + originals_[3];  // an old front to give back
    std::string deepFolder = "deep";
    for (char letter = 'a'; letter < 'i'; ++letter) {
        deepFolder += "/" + std::string(45, letter);  // 8 folders of 46 characters
    }
    const std::pair<std::string, bool> folders[] = {
        {"undo", false}, {"undo-id3v2", true}, {deepFolder, false}};
    for (const auto& [folder, id3v2] : folders) {
        WriteOriginals(folder);
        if (folder == deepFolder) {
            ASSERT_GT(paths_[0].size(), 400u);
        }
        TaggingOptions options = Options();
        options.Tag.AlsoId3v2 = id3v2;
        const auto pass = TagCheckedRows(Rows(), options);
        ASSERT_TRUE(pass && AllTagged(pass->Results));
        EXPECT_EQ(ReadFileBytes(paths_[3]).starts_with(OldId3v2Tag()), !id3v2);
        const std::string changed = ReadFileBytes(paths_[2]) + "more";
        dir_.WriteFile(folder + "/song2.mp3", changed);
        // Another file's bytes written over song1 keep its device and number.
        const std::string unrelated(9000, 'u');
        dir_.WriteFile(folder + "/song1.mp3", unrelated);

        const UndoOutcome undo = UndoPass(journals_, "", OpenFile);
        ASSERT_EQ(undo.Error, "");
        ASSERT_EQ(undo.Results.size(), paths_.size());
        for (std::size_t i = 0; i < paths_.size(); ++i) {
            const std::string expected = i == 2 ? changed : i == 1 ? unrelated : originals_[i];
            EXPECT_TRUE(ReadFileBytes(paths_[i]) == expected) << i << (id3v2 ? " by a copy" : "");
        }
        for (const TagResult& result : undo.Results) {
            if (result.Mp3Path == paths_[1]) {
                EXPECT_EQ(result.Reason, "no longer the file the journal recorded");
            } else if (result.Mp3Path == paths_[2]) {
                EXPECT_EQ(result.Reason, "changed since the pass");
            }
            EXPECT_EQ(result.Tagged, result.Mp3Path != paths_[1] && result.Mp3Path != paths_[2]);
        }
        EXPECT_EQ(std::count_if(undo.Results.begin(), undo.Results.end(),
                                [](const TagResult& r) { return r.Tagged && r.Reason.empty(); }),
                  2);

        // The pass counts as undone; with no other pass there is nothing left to
        // undo, but the undo itself can be named and taken back.
        const std::vector<PassSummary> passes = ListPasses(journals_);
        ASSERT_GE(passes.size(), 2u);
        const PassSummary& tagging = passes[passes.size() - 2];
        EXPECT_TRUE(tagging.Undone);
        EXPECT_EQ(tagging.Files, paths_.size());
        EXPECT_EQ(passes.back().UndoOf, tagging.Id);
        EXPECT_EQ(UndoPass(journals_, "", OpenFile).Error, "no tagging pass to undo");
        const UndoOutcome redo = UndoPass(journals_, passes.back().Id, OpenFile);
        EXPECT_TRUE(AllTagged(redo.Results));
        EXPECT_NE(ReadFileBytes(paths_[0]), originals_[0]);
        EXPECT_EQ(ReadFileBytes(paths_[1]), unrelated);
        EXPECT_TRUE(ReadFileBytes(paths_[3]).starts_with("ID3"));
        EXPECT_EQ(ReadFileBytes(paths_[3]).starts_with(OldId3v2Tag()), !id3v2);
        // No copy is left beside the files.
        for (const auto& entry : std::filesystem::directory_iterator(dir_ / folder)) {
            EXPECT_FALSE(entry.path().filename().string().starts_with(".versemark-"));
        }
    }
}

// The start of a record entry whose length runs past the journal's end.
constexpr std::string_view kTornEntry("T\xff\xff\0\0\0\0\0\0half", 13);

// The journal's file, which puts `junk` in front of its append numbered `at`,
// unknown to the writer.
class JunkBeforeAppend final : public LockedFile {
  public:
    JunkBeforeAppend(std::unique_ptr<LockedFile> inner, int at, std::string_view junk)
        : inner_(std::move(inner)), at_(at), junk_(junk) {}

    bool Append(std::string_view bytes) override {
        if (++appends_ == at_ && !inner_->Append(junk_)) {
            return false;
        }
        return inner_->Append(bytes);
    }
    bool Sync() override { return inner_->Sync(); }
    bool Truncate(std::uint64_t length) override { return inner_->Truncate(length); }
    std::string ErrorText() const override { return inner_->ErrorText(); }

  private:
    std::unique_ptr<LockedFile> inner_;
    int at_;
    std::string_view junk_;
    int appends_ = 0;
};

// A killed write leaves each byte of the tail (and of every range a ranges
// record names) old or new, and the length between the two. Recovery puts the
// old bytes back only then; a file holding anything
// else under the recorded device and number (another file's bytes copied in) is
// left alone with its reason. Records behind an entry written in part are still
// recovered, and the damage is told.
TEST_F(CrashAndUndo, RecoveryPutsBackOnlyAMixOfTheOldAndTheNewTail) {
    constexpr std::size_t kOffset = 900;  // the first file's audio: its tag goes after it
    const std::string tagged = TaggedBytes()[0];
    const std::string& old = originals_[0];
    ASSERT_EQ(tagged.substr(0, kOffset), old.substr(0, kOffset));
    ASSERT_GT(tagged.size(), old.size() + 100);
    std::string oneByteOff = old;
    oneByteOff[kOffset + 10] = '#';
    // A ranges record: 60 bytes of the front written anew as well as the tail.
    constexpr std::size_t kFront = 200;
    const std::string front(60, 'N');
    const std::string frontNew = old.substr(0, kFront) + front + old.substr(kFront + front.size());
    const std::string rangesNew = frontNew.substr(0, kOffset) + tagged.substr(kOffset);
    std::string frontByteOff = rangesNew;
    frontByteOff[kFront + 7] = '#';
    struct Case {
        std::string Bytes;
        bool PutBack;
        bool Told;
        bool Ranges = false;
    };
    const std::vector<Case> cases = {
        {old, false, false},
        {tagged, false, false},
        {tagged.substr(0, kOffset + 50) + old.substr(kOffset + 50), true, true},
        {tagged.substr(0, old.size() + 60), true, true},
        {std::string(9000, 'u'), false, true},
        {oneByteOff, false, true},
        {old, false, false, true},
        {rangesNew, false, false, true},
        {frontNew, true, true, true},
        {old.substr(0, kFront + 20) + rangesNew.substr(kFront + 20), true, true, true},
        {rangesNew.substr(0, old.size() + 60), true, true, true},
        {frontByteOff, false, true, true},
        {tagged, true, true, true},
    };
    std::string reason;
    // An entry written in part (a full disk, once) before the third record.
    const auto tornBefore = [](std::unique_ptr<LockedFile> file) {
        return std::make_unique<JunkBeforeAppend>(std::move(file), 4, kTornEntry);
    };
    auto journal = PassJournal::Create(journals_, PassHeader{}, reason, tornBefore);
    ASSERT_TRUE(journal) << reason;
    std::vector<std::string> files;
    std::string expectedText;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        files.push_back(dir_.WriteFile("mix/case" + std::to_string(i) + ".mp3", old));
        TailChange change;
        change.Offset = kOffset;
        change.OldLength = old.size();
        change.OldTail = old.substr(kOffset);
        change.NewTail = std::string_view(tagged).substr(kOffset);
        RangesChange ranges =
            TailAsRanges(kOffset, old.size(), change.OldTail, std::string(change.NewTail));
        ranges.Ranges.insert(ranges.Ranges.begin(),
                             ByteRange{kFront, old.substr(kFront, front.size()), front});
        const auto stamp = OpenFile(files[i], FileAccess::Read)->Stamp();
        ASSERT_TRUE(cases[i].Ranges ? journal->BeginRanges(files[i], stamp, ranges, reason)
                                    : journal->Begin(files[i], stamp, change, reason))
            << reason;
        dir_.WriteFile("mix/case" + std::to_string(i) + ".mp3", cases[i].Bytes);  // same file
        if (cases[i].Told) {
            expectedText += cases[i].PutBack
                                ? "Restored the old tail of " + files[i] + "\n"
                                : "Could not recover " + files[i] +
                                      ": it is no longer the file the journal recorded\n";
        }
    }
    const std::string journalFile = journal->File();
    journal.reset();  // the run ends here: no record marked done

    const std::string text = RecoveryText(RecoverUnfinished(journals_, OpenFile));
    const std::string damaged = "Could not use all of the journal " + journalFile + ": bytes ";
    EXPECT_TRUE(text.starts_with(damaged) && text.ends_with("are damaged\n" + expectedText))
        << text;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_TRUE(ReadFileBytes(files[i]) == (cases[i].PutBack ? old : cases[i].Bytes)) << i;
    }
}

// A copy write killed before its rename leaves its new file beside the old one.
// Recovery removes a file only when a record names it as such a copy and it is
// one (once written, the very file recorded): never another name, a folder, a
// file made since under the name, or a copy no record names.
TEST_F(CrashAndUndo, RecoveryRemovesOnlyTheCopiesTheJournalNames) {
    WriteOriginals("copies");
    const std::string named = dir_.WriteFile("copies/.versemark-abc123", "half a copy");
    const std::string written = dir_.WriteFile("copies/.versemark-abc456", "a whole copy");
    const std::string since = dir_.WriteFile("copies/.versemark-abc789", "a copy made since");
    const std::string unnamed = dir_.WriteFile("copies/.versemark-zzz999", "another run's copy");
    const std::string folder = dir_.MakeFolder("copies/.versemark-dir000");
    const auto StampOf = [](const std::string& path) {
        return OpenFile(path, FileAccess::Read)->Stamp().value();
    };
    {
        std::string reason;
        const auto journal = PassJournal::Create(journals_, PassHeader{}, reason);
        ASSERT_TRUE(journal) << reason;
        ASSERT_TRUE(journal->BeginCopy(paths_[0], named, reason));
        ASSERT_TRUE(journal->BeginCopy(paths_[1], paths_[1], reason));
        ASSERT_TRUE(journal->BeginCopy(paths_[2], folder, reason));
        ASSERT_TRUE(journal->BeginCopy(paths_[3], dir_ / "copies/.versemark-never0", reason));
        ASSERT_TRUE(journal->BeginCopy(paths_[0], written, reason));
        ASSERT_TRUE(journal->MarkCopyWritten(4, StampOf(written), nullptr));
        ASSERT_TRUE(journal->BeginCopy(paths_[1], since, reason));
        ASSERT_TRUE(journal->MarkCopyWritten(5, StampOf(named), nullptr));
    }  // the run ends here: no record marked done

    const std::vector<RecoveryNote> notes = RecoverUnfinished(journals_, OpenFile);
    EXPECT_FALSE(PathExists(named));
    EXPECT_FALSE(PathExists(written));
    EXPECT_EQ(ReadFileBytes(since), "a copy made since");
    EXPECT_EQ(ReadFileBytes(unnamed), "another run's copy");
    EXPECT_TRUE(IsFolder(folder));
    for (std::size_t i = 0; i < paths_.size(); ++i) {
        EXPECT_EQ(ReadFileBytes(paths_[i]), originals_[i]) << i;
    }
    const std::string leftAlone =
        ": its unfinished copy is no longer the file the journal recorded: left alone\n";
    EXPECT_EQ(RecoveryText(notes), "Removed the unfinished copy " + named + " of " + paths_[0] +
                                       "\nCould not recover " + paths_[2] + leftAlone +
                                       "Removed the unfinished copy " + written + " of " +
                                       paths_[0] + "\nCould not recover " + paths_[1] + leftAlone);
    EXPECT_TRUE(IsSettled(ListJournals(journals_).at(0)));
    EXPECT_TRUE(RecoverUnfinished(journals_, OpenFile).empty());

    // Lyrics files beside songs: one made new and cut short (the beginning of what
    // was to be written) is removed, a whole one stays, and so does one of other
    // content (the name was taken); a replacement's new file goes, whole or not.
    const std::string text = "the lyrics as written";
    const std::string cut = dir_.WriteFile("copies/cut.txt", text.substr(0, 7));
    const std::string whole = dir_.WriteFile("copies/whole.txt", text);
    const std::string taken = dir_.WriteFile("copies/taken.txt", "the user's own");
    const std::string replaced = dir_.WriteFile("copies/replaced.txt", "old lyrics");
    const std::string replacement = dir_.WriteFile("copies/.versemark-txt001", text);
    {
        std::string reason;
        const auto journal = PassJournal::Create(journals_, PassHeader{}, reason);
        ASSERT_TRUE(journal) << reason;
        for (const std::string& path : {cut, whole, taken}) {
            ASSERT_TRUE(journal->BeginBeside(path, {}, text, std::nullopt, reason)) << reason;
        }
        ASSERT_TRUE(journal->BeginBeside(replaced, replacement, text, "old lyrics", reason));
    }
    EXPECT_EQ(RecoveryText(RecoverUnfinished(journals_, OpenFile)),
              "Removed the unfinished file " + cut + "\nRemoved the unfinished copy " +
                  replacement + " of " + replaced + "\n");
    EXPECT_FALSE(PathExists(cut));
    EXPECT_FALSE(PathExists(replacement));
    EXPECT_EQ(ReadFileBytes(whole), text);
    EXPECT_EQ(ReadFileBytes(taken), "the user's own");
    EXPECT_EQ(ReadFileBytes(replaced), "old lyrics");
    EXPECT_TRUE(RecoverUnfinished(journals_, OpenFile).empty());

    // A name cannot forge a line of the text.
    RecoveryNote forged;
    forged.Path = "a\r\nRestored the old tail of b";
    forged.Repaired = true;
    EXPECT_EQ(RecoveryText({forged}),
              "Restored the old tail of a\\x0D\\x0ARestored the old tail of b\n");
}

// The lyrics file beside each song tagged: made where nothing has its name; a
// file of the user's is left byte for byte (the song is tagged, the log says
// why); one an earlier pass wrote and nobody changed is replaced, one changed
// since is not. Undo removes what a pass made and gives a replaced file its old
// content back.
TEST_F(CrashAndUndo, LyricsFilesBesideAreWrittenWhereVersemarkMayAndUndone) {
    WriteOriginals("beside");
    TaggingOptions options = Options();
    options.Tag.BesideFile = true;
    const auto Beside = [&](std::size_t i) {
        return dir_ / ("beside/song" + std::to_string(i) + ".txt");
    };
    // The lyrics, ASCII, stored with the credit line: the same bytes in UTF-8.
    const std::string first = Stored(std::string(3000, 'w'));
    const std::string users = "the user's own notes\n";
    dir_.WriteFile("beside/song1.txt", users);

    const auto pass = TagCheckedRows(Rows(), options);
    ASSERT_TRUE(pass && AllTagged(pass->Results));
    EXPECT_EQ(ReadFileBytes(Beside(0)), first);
    EXPECT_EQ(ReadFileBytes(Beside(1)), users);
    const std::string log = TaggingLog(pass->Results);
    EXPECT_NE(log.find("File tagged..: " + paths_[1] + "\r\nLyrics file not written: " + Beside(1) +
                       ": " + std::string(kBesideForeign) + "\r\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("Lyrics file not written: " + Beside(0)), std::string::npos) << log;

    // The next pass, with other lyrics: what the first one wrote is replaced,
    // unless it was changed meanwhile; the user's file is still left alone.
    WriteOriginals("beside");
    dir_.WriteFile("A - T.txt", "other words");
    const std::string second = Stored("other words");
    const std::string edited = first + "my own line\n";
    dir_.WriteFile("beside/song2.txt", edited);
    const auto again = TagCheckedRows(Rows(), options);
    ASSERT_TRUE(again && AllTagged(again->Results));
    EXPECT_EQ(ReadFileBytes(Beside(0)), second);
    EXPECT_EQ(ReadFileBytes(Beside(1)), users);
    EXPECT_EQ(ReadFileBytes(Beside(2)), edited);
    EXPECT_EQ(ReadFileBytes(Beside(3)), second);
    EXPECT_EQ(again->Results[2].BesideNote, kBesideForeign);
    EXPECT_EQ(again->Results[3].BesideNote, "");

    // Undo takes back the second pass, then the first.
    const UndoOutcome undoSecond = UndoPass(journals_, "", OpenFile);
    EXPECT_TRUE(undoSecond.Error.empty()) << undoSecond.Error;
    EXPECT_TRUE(AllTagged(undoSecond.Results));
    EXPECT_EQ(ReadFileBytes(Beside(0)), first);
    EXPECT_EQ(ReadFileBytes(Beside(3)), first);
    EXPECT_EQ(ReadFileBytes(Beside(2)), edited);
    const UndoOutcome undoFirst = UndoPass(journals_, "", OpenFile);
    for (const TagResult& result : undoFirst.Results) {
        // The songs hold their old bytes already; the lyrics file changed since
        // the first pass is left with its reason.
        if (!result.Mp3Path.ends_with(".txt")) {
            continue;
        }
        EXPECT_EQ(result.Tagged, result.Mp3Path != Beside(2)) << result.Mp3Path;
        if (result.Mp3Path == Beside(2)) {
            EXPECT_EQ(result.Reason, "changed since the pass");
        }
    }
    for (std::size_t i = 0; i < paths_.size(); ++i) {
        EXPECT_TRUE(ReadFileBytes(paths_[i]) == originals_[i]) << i;
    }
    EXPECT_FALSE(PathExists(Beside(0)));
    EXPECT_FALSE(PathExists(Beside(3)));
    EXPECT_EQ(ReadFileBytes(Beside(1)), users);
    EXPECT_EQ(ReadFileBytes(Beside(2)), edited);
}

// The journal's file, whose append numbered `failAt` stores only the first half
// of its bytes and fails, as a full disk does; every append after it fails too.
class ShortAppendFile final : public LockedFile {
  public:
    ShortAppendFile(std::unique_ptr<LockedFile> inner, int failAt)
        : inner_(std::move(inner)), failAt_(failAt) {}

    bool Append(std::string_view bytes) override {
        if (++appends_ < failAt_) {
            return inner_->Append(bytes);
        }
        if (appends_ == failAt_) {
            inner_->Append(bytes.substr(0, bytes.size() / 2));
        }
        return false;
    }
    bool Sync() override { return inner_->Sync(); }
    bool Truncate(std::uint64_t length) override { return inner_->Truncate(length); }
    std::string ErrorText() const override { return "no room left"; }

  private:
    std::unique_ptr<LockedFile> inner_;
    int failAt_;
    int appends_ = 0;
};

// An append cut short (at the third file's record, or at the second file's mark
// of done) is taken back to the last whole entry and stops the pass: the files
// left fail with the journal's reason and keep their bytes, and undo takes back
// the files the pass wrote.
TEST_F(CrashAndUndo, AShortAppendStopsThePassAndLeavesAWholeJournal) {
    // Appends: the header, then a record and its mark of done for each file.
    for (const int failAt : {6, 5}) {
        const std::vector<std::string> tagged = TaggedBytes();
        WriteOriginals("short" + std::to_string(failAt));
        TaggingOptions options = Options();
        options.WrapJournal = [failAt](std::unique_ptr<LockedFile> file) {
            return std::make_unique<ShortAppendFile>(std::move(file), failAt);
        };
        const auto pass = TagCheckedRows(Rows(), options);
        ASSERT_TRUE(pass);
        ASSERT_EQ(pass->Results.size(), paths_.size());
        const std::string journal = ListJournals(journals_).back();
        for (std::size_t i = 0; i < paths_.size(); ++i) {
            EXPECT_EQ(pass->Results[i].Tagged, i < 2) << failAt << " " << i;
            EXPECT_EQ(pass->Results[i].Reason, i < 2 ? "" : "journal " + journal + ": no room left")
                << failAt << " " << i;
            EXPECT_TRUE(ReadFileBytes(paths_[i]) == (i < 2 ? tagged[i] : originals_[i])) << i;
        }
        const auto content = ReadJournal(journal);
        ASSERT_TRUE(content);
        EXPECT_TRUE(content->Problems.empty()) << failAt << " " << content->Problems.at(0);
        EXPECT_EQ(content->Records.size(), 2u);

        EXPECT_TRUE(RecoverUnfinished(journals_, OpenFile).empty());
        const UndoOutcome undo = UndoPass(journals_, "", OpenFile);
        EXPECT_EQ(undo.PassId, ListPasses(journals_).at(ListPasses(journals_).size() - 2).Id);
        EXPECT_EQ(undo.Results.size(), 2u);
        EXPECT_TRUE(AllTagged(undo.Results) && undo.Problems.empty());
        for (std::size_t i = 0; i < paths_.size(); ++i) {
            EXPECT_TRUE(ReadFileBytes(paths_[i]) == originals_[i]) << failAt << " " << i;
        }
    }
}

// An entry of the unversioned format, from its layout: the type, the payload's
// length (8 bytes, little-endian), the payload, the FNV-1a checksum of the rest.
std::string OldFormatEntry(char type, const std::string& payload) {
    const auto number = [](std::uint64_t value) {
        std::string bytes;
        for (int i = 0; i < 8; ++i) {
            bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
        }
        return bytes;
    };
    std::string entry = type + number(payload.size()) + payload;
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const char c : entry) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ull;
    }
    return entry + number(hash);
}

// A settled journal of the format before versions is listed with its header,
// refused by undo with the reason and never picked; recovery leaves it.
TEST_F(CrashAndUndo, AJournalOfTheOlderFormatIsListedButNotUndone) {
    const std::string started("\x10\x20\x30\x40\0\0\0\0", 8);
    const std::string folder = "/music";
    const std::string header =
        started + std::string("\x06\0\0\0\0\0\0\0", 8) + folder + std::string(8, '\0');
    dir_.WriteFile("state/20200101-000000.000000000-1.journal",
                   OldFormatEntry('H', header) + OldFormatEntry('C', ""));
    const std::vector<PassSummary> passes = ListPasses(journals_);
    ASSERT_EQ(passes.size(), 1u);
    EXPECT_EQ(passes[0].Started, 0x40302010);
    EXPECT_EQ(passes[0].Folder, folder);
    EXPECT_TRUE(passes[0].OtherFormat.starts_with("written by an older version"))
        << passes[0].OtherFormat;
    EXPECT_TRUE(passes[0].Problems.empty());
    EXPECT_EQ(UndoPass(journals_, "", OpenFile).Error, "no tagging pass to undo");
    EXPECT_EQ(UndoPass(journals_, passes[0].Id, OpenFile).Error,
              "pass " + passes[0].Id + ": its journal was " + passes[0].OtherFormat);
    EXPECT_TRUE(RecoverUnfinished(journals_, OpenFile, JournalCheck::Whole).empty());
    EXPECT_EQ(ListJournals(journals_).size(), 1u);
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
