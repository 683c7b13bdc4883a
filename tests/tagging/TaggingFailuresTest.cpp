// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "TaggingFailures.h"
#include "support/FailingFile.h"
#include "tagging/TagResult.h"
#include "tagging/TargetChecks.h"

namespace versemark::testing {
namespace {

TEST_F(TaggingFailures, MissingMp3File) {
    const std::string missing = dir_ / "gone.mp3";
    ExpectLog(RunWithMiddle(missing, lyrics_), missing);
}

TEST_F(TaggingFailures, FolderGivenAsMp3Path) {
    const std::string folder = dir_.MakeFolder("folder.mp3");
    ExpectLog(RunWithMiddle(folder, lyrics_), folder);
}

TEST_F(TaggingFailures, MissingLyricsFile) {
    const std::string middle = dir_.WriteFile("middle.mp3", original_);
    ExpectLog(RunWithMiddle(middle, dir_ / "none.txt"), middle);
    EXPECT_EQ(ReadFileBytes(middle), original_);
}

TEST_F(TaggingFailures, UnreadableLyricsFile) {
    const std::string middle = dir_.WriteFile("middle.mp3", original_);
    ExpectLog(RunWithMiddle(middle, dir_.MakeFolder("lyrics.txt")), middle);
    EXPECT_EQ(ReadFileBytes(middle), original_);
}

TEST_F(TaggingFailures, FileThatCannotBeOpenedForWriting) {
    const std::string middle = dir_.WriteFile("middle.mp3", original_);
    const FileOpener refuseMiddle = [&](const std::string& path, FileAccess access) {
        return path == middle && access != FileAccess::Read ? nullptr : OpenFile(path, access);
    };
    ExpectLog(RunWithMiddle(middle, lyrics_, refuseMiddle), middle);
    EXPECT_EQ(ReadFileBytes(middle), original_);
}

TEST_F(TaggingFailures, FileShorterThanAnId3v1Block) {
    const std::string shortBytes = TailBuilder().lyrics3v2({{"LYR", "abc"}}).bytes();
    const std::string middle = dir_.WriteFile("middle.mp3", shortBytes);
    ExpectLog(RunWithMiddle(middle, lyrics_), middle);
    EXPECT_EQ(ReadFileBytes(middle), shortBytes);
}

// Only MPEG audio is tagged, whatever the file's name, written in place or as a
// copy: other content is left as it is.
TEST_F(TaggingFailures, ContentThatIsNoMpegAudio) {
    // A FLAC stream: its marker, the stream information block, frames.
    const std::string flac = std::string("fLaC\x80\x00\x00\x22", 8) + std::string(34, '\0') +
                             std::string("\xFF\xF8\xC9\x18", 4) + std::string(600, '\0');
    const std::string text = std::string(450, 'a');
    for (const bool alsoId3v2 : {false, true}) {
        for (const std::string& bytes : {text, flac, std::string(), std::string(28, 'x')}) {
            SCOPED_TRACE(bytes.substr(0, 4) + (alsoId3v2 ? ", as a copy" : ""));
            const std::string middle = dir_.WriteFile("middle.mp3", bytes);
            TagOptions tag;
            tag.AlsoId3v2 = alsoId3v2;
            const TaggingOutcome outcome =
                PassWithMiddle(CheckedRow(middle, lyrics_, "A - T"), OpenFile, tag);
            ASSERT_EQ(outcome.Results.size(), 3u);
            EXPECT_FALSE(outcome.Results[1].Tagged);
            EXPECT_EQ(outcome.Results[1].Reason, kReasonNotMpeg);
            EXPECT_EQ(ReadFileBytes(middle), bytes);
            dir_.WriteFile("before.mp3", original_);
            dir_.WriteFile("after.mp3", original_);
        }
    }
}

TEST_F(TaggingFailures, Id3v1BlockLeavingNoRoomForATrailer) {
    const std::string bytes = TailBuilder().raw("LYRICS2").id3v1("T", "A").bytes();
    const std::string middle = dir_.WriteFile("middle.mp3", bytes);
    ExpectLog(RunWithMiddle(middle, lyrics_), middle);
    EXPECT_EQ(ReadFileBytes(middle), bytes);
}

TEST_F(TaggingFailures, WriteFailingPartway) {
    const std::string middle = dir_ / "memory.mp3";
    for (const std::size_t limit : {0u, 1u, 40u, 100u, 150u}) {
        auto store = MakeStore(original_);
        store->WriteLimit = limit;
        ExpectLog(RunWithMiddle(middle, lyrics_, OpenerServing(middle, store)), middle);
        EXPECT_EQ(store->Bytes, original_) << limit;
        EXPECT_EQ(store->FailedWrites, 1);
        EXPECT_TRUE(store->Closed);
        // The next round starts from the untagged files again.
        dir_.WriteFile("before.mp3", original_);
        dir_.WriteFile("after.mp3", original_);
    }
}

// A read that fails once the tail is recognised: a tag that cannot be read
// because of the file must not be taken for a malformed one and buried behind
// the new tag.
TEST_F(TaggingFailures, ReadFailingAfterTheTrailer) {
    const std::string middle = dir_ / "memory.mp3";
    const std::string version1 =
        TailBuilder().audio(6000).lyrics3v1("old words").id3v1("T", "A").bytes();
    struct Case {
        const char* Read;  // the read that fails
        const std::string& Bytes;
        int ReadsBeforeFailure;
    };
    for (const Case& c :
         {Case{"version 2 size digits", original_, 2}, Case{"version 2 tag", original_, 3},
          Case{"old tail", original_, 4}, Case{"version 1 window", version1, 2},
          Case{"old tail after version 1", version1, 3}}) {
        SCOPED_TRACE(c.Read);
        auto store = MakeStore(c.Bytes);
        store->ReadsBeforeFailure = c.ReadsBeforeFailure;
        ExpectLog(RunWithMiddle(middle, lyrics_, OpenerServing(middle, store)), middle);
        EXPECT_TRUE(store->Bytes == c.Bytes);
        dir_.WriteFile("before.mp3", original_);
        dir_.WriteFile("after.mp3", original_);
    }
}

TEST_F(TaggingFailures, TagTooLargeForTheLayout) {
    // A readable tag of nearly 999999 bytes without lyrics: adding them would
    // need a seven-digit size.
    TailBuilder::Fields fields;
    for (int i = 0; i < 9; ++i) {
        fields.push_back({"X0" + std::to_string(i), std::string(99999, 'x')});
    }
    fields.push_back({"X09", std::string(99917, 'y')});  // 999999 counted
    const std::string bytes = TailBuilder().audio(100).lyrics3v2(fields).id3v1("T", "A").bytes();
    const std::string middle = dir_.WriteFile("middle.mp3", bytes);
    ExpectLog(RunWithMiddle(middle, lyrics_), middle);
    EXPECT_EQ(ReadFileBytes(middle), bytes);
}

// A flush or close that fails after the new tail was written counts as a
// failure: the old tail goes back. When putting it back fails too, the reason
// says where the old tail is kept.
TEST_F(TaggingFailures, FailuresAfterTheWritePutTheOldTailBack) {
    const std::string middle = dir_ / "memory.mp3";
    struct Case {
        const char* Name;
        void (*Break)(FailingFile::Store&);
        bool PutBack;
    };
    const Case cases[] = {
        {"flush fails once", [](FailingFile::Store& s) { s.FailingFlushes = 1; }, true},
        {"close fails once", [](FailingFile::Store& s) { s.FailingCloses = 1; }, true},
        {"every close fails", [](FailingFile::Store& s) { s.FailClose = true; }, false},
        {"every flush fails", [](FailingFile::Store& s) { s.FailingFlushes = 100; }, false},
        {"write and put-back fail",
         [](FailingFile::Store& s) {
             s.WriteLimit = 40;
             s.KeepFailing = true;
         },
         false},
    };
    for (const Case& c : cases) {
        auto store = MakeStore(original_);
        c.Break(*store);
        const TaggingOutcome outcome =
            PassWithMiddle(CheckedRow(middle, lyrics_, "A - T"), OpenerServing(middle, store));
        ExpectLog(TaggingLog(outcome.Results), middle);
        ASSERT_EQ(outcome.Results.size(), 3u) << c.Name;
        const std::string& reason = outcome.Results[1].Reason;
        EXPECT_FALSE(reason.empty()) << c.Name;
        EXPECT_EQ(reason.ends_with(kReasonKeptInJournal), !c.PutBack) << c.Name << ": " << reason;
        if (c.PutBack) {
            EXPECT_EQ(store->Bytes, original_) << c.Name;
        }
        dir_.WriteFile("before.mp3", original_);
        dir_.WriteFile("after.mp3", original_);
    }
}

}  // namespace
}  // namespace versemark::testing
