// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "support/FailingFile.h"
#include "support/TagTestHelpers.h"
#include "support/TailBuilder.h"
#include "tags/TagWriter.h"

namespace versemark::testing {
namespace {

std::vector<std::string> Ids(const FieldList& fields) {
    std::vector<std::string> ids;
    for (const Lyrics3Field& field : fields) {
        ids.push_back(field.FieldId);
    }
    return ids;
}

TEST(SetLyrics3Field, AddsAtTheEnd) {
    FieldList fields;
    SetLyrics3Field(fields, "IND", "100");
    SetLyrics3Field(fields, "LYR", "abc");
    ASSERT_EQ(Ids(fields), (std::vector<std::string>{"IND", "LYR"}));
    EXPECT_EQ(fields[1].FieldData.size(), 3u);
    EXPECT_EQ(fields[1].FieldData, "abc");
}

TEST(SetLyrics3Field, ShorterDataIsPaddedWithNulsInPlace) {
    FieldList fields = {{"LYR", "abcdef"}, {"INF", "x"}};
    SetLyrics3Field(fields, "LYR", "xy");
    ASSERT_EQ(Ids(fields), (std::vector<std::string>{"LYR", "INF"}));
    EXPECT_EQ(fields[0].FieldData, std::string("xy\0\0\0\0", 6));
    EXPECT_EQ(fields[0].FieldData.size(), 6u);
    SetLyrics3Field(fields, "LYR", "longer text");
    EXPECT_EQ(fields[0].FieldData, "longer text");
    EXPECT_EQ(fields[0].FieldData.size(), 11u);
}

TEST(SetLyrics3Field, OnlyTheFirstFieldOfAnIdChanges) {
    FieldList fields = {{"LYR", "a"}, {"LYR", "b"}};
    SetLyrics3Field(fields, "LYR", "c");
    EXPECT_EQ(fields[0].FieldData, "c");
    EXPECT_EQ(fields[1].FieldData, "b");
}

TEST(SetLyrics3Field, CutsAt99999AndBlanksCharacterFF) {
    FieldList fields;
    SetLyrics3Field(fields, "LYR", std::string(99999, 'a') + "bc");
    EXPECT_EQ(fields[0].FieldData, std::string(99999, 'a'));
    EXPECT_EQ(fields[0].FieldData.size(), 99999u);
    SetLyrics3Field(fields, "INF",
                    "a\xFF\xFF"
                    "b");
    EXPECT_EQ(fields[1].FieldData, "a  b");
}

TEST(MoveIndFirst, ExchangesWithTheFirstField) {
    FieldList fields = {{"LYR", ""}, {"AUT", ""}, {"IND", ""}, {"EAL", ""}};
    MoveIndFirst(fields);
    EXPECT_EQ(Ids(fields), (std::vector<std::string>{"IND", "AUT", "LYR", "EAL"}));
    MoveIndFirst(fields);
    EXPECT_EQ(Ids(fields), (std::vector<std::string>{"IND", "AUT", "LYR", "EAL"}));
    FieldList none = {{"LYR", ""}, {"AUT", ""}};
    MoveIndFirst(none);
    EXPECT_EQ(Ids(none), (std::vector<std::string>{"LYR", "AUT"}));
    FieldList empty;
    MoveIndFirst(empty);
    EXPECT_TRUE(empty.empty());
}

TEST(BuildLyrics3v2Tag, ExampleTagBytes) {
    FieldList fields = {{"LYR", "abc"}, {"IND", "100"}};
    const auto tag = BuildLyrics3v2Tag(fields, "LYRICS200");
    ASSERT_TRUE(tag);
    EXPECT_EQ(*tag, "LYRICSBEGININD00003100LYR00003abc000033LYRICS200");
}

TEST(BuildLyrics3v2Tag, RefusesWhatTheLayoutCannotHold) {
    FieldList badId = {{"LYRX", "a"}};
    EXPECT_FALSE(BuildLyrics3v2Tag(badId, "LYRICS200"));
    FieldList tooLong = {{"LYR", std::string(100000, 'a')}};
    EXPECT_FALSE(BuildLyrics3v2Tag(tooLong, "LYRICS200"));
    FieldList ok = {{"LYR", "a"}};
    EXPECT_FALSE(BuildLyrics3v2Tag(ok, "LYRICS20"));
    // Ten full fields: the size would need seven digits.
    FieldList huge(10, {"XXX", std::string(99999, 'x')});
    EXPECT_FALSE(BuildLyrics3v2Tag(huge, "LYRICS200"));
    huge.pop_back();
    EXPECT_TRUE(BuildLyrics3v2Tag(huge, "LYRICS200"));
}

TEST(FitText, CutsPadsAndBlanksCharacterFF) {
    EXPECT_EQ(FitText("abcdef", 4), "abcd");
    EXPECT_EQ(FitText("ab", 4), std::string("ab\0\0", 4));
    EXPECT_EQ(FitText("a\xFF", 0), "a ");
    EXPECT_EQ(FitText("", 0), "");
    EXPECT_EQ(FitText("\xFF\xFF\xFF\xFF\xFF", 3), "   ");
}

TEST(LyricsName, ArtistAndTitle) {
    EXPECT_EQ(ArtistFromName("Some Band - Song - Live"), "Some Band");
    EXPECT_EQ(TitleFromName("Some Band - Song - Live"), "Song - Live");
    EXPECT_EQ(ArtistFromName("  Solo  "), "");
    EXPECT_EQ(TitleFromName("  Solo  "), "Solo");
    EXPECT_EQ(ArtistFromName("-Title"), "");
    EXPECT_EQ(TitleFromName("Artist-"), "");
    EXPECT_EQ(TitleFromName("\tA - B\t"), "B\t");  // only spaces are trimmed
}

TEST(BuildId3v1Tag, BlockAsLaidOut) {
    const Id3v1Tag tag = BuildId3v1Tag("Artist", "Title", "", "    ", "", 0, 255);
    EXPECT_EQ(Id3v1ToBytes(tag),
              TailBuilder::Id3v1Block("Title", "Artist", "", "    ", "", 0, 255));
    const Id3v1Tag long_ = BuildId3v1Tag("A\xFF", std::string(40, 't'), "Al", "19999", "c", 3, 7);
    EXPECT_EQ(Id3v1ToBytes(long_),
              TailBuilder::Id3v1Block(std::string(30, 't'), "A ", "Al", "1999", "c", 3, 7));
}

// WriteLyrics3Tag on an in-memory file.
class WriteTail : public ::testing::Test {
  protected:
    const std::string audio_ = TailBuilder().audio(700).bytes();
    const std::string block_ = TailBuilder::Id3v1Block("T", "A");
    const Id3v1Tag id3_ = Id3v1FromBytes(block_);

    static FieldList Fields(std::string_view lyrics) {
        FieldList fields;
        SetLyrics3Field(fields, "IND", "100");
        SetLyrics3Field(fields, "LYR", lyrics);
        return fields;
    }
};

TEST_F(WriteTail, NewTailAtEnd) {
    auto store = MakeStore(audio_ + block_);
    FailingFile file(store);
    FieldList fields = Fields("abc");
    EXPECT_TRUE(WriteLyrics3Tag(fields, id3_, file, 700, "LYRICS200"));
    EXPECT_EQ(store->Bytes,
              audio_ + TailBuilder::Lyrics3v2Tag({{"IND", "100"}, {"LYR", "abc"}}) + block_);
}

TEST_F(WriteTail, ShorterTailCutsTheFile) {
    const std::string old =
        audio_ + TailBuilder::Lyrics3v2Tag({{"IND", "100"}, {"EAL", ""}, {"LYR", "abc"}}) + block_;
    auto store = MakeStore(old);
    FailingFile file(store);
    FieldList fields = Fields("abc");
    EXPECT_TRUE(WriteLyrics3Tag(fields, id3_, file, 700, "LYRICS200"));
    EXPECT_EQ(store->Bytes,
              audio_ + TailBuilder::Lyrics3v2Tag({{"IND", "100"}, {"LYR", "abc"}}) + block_);
}

TEST_F(WriteTail, WriteFailingAtAnyByteLeavesTheFileUnchanged) {
    const std::string old =
        audio_ + TailBuilder::Lyrics3v2Tag({{"IND", "100"}, {"LYR", "old"}}) + block_;
    const std::size_t newTailSize = 11 + 11 + 8 + 20 + 15 + 128;
    for (std::size_t limit = 0; limit < newTailSize; ++limit) {
        auto store = MakeStore(old);
        store->WriteLimit = limit;
        FailingFile file(store);
        FieldList fields = Fields(std::string(20, 'n'));
        EXPECT_FALSE(WriteLyrics3Tag(fields, id3_, file, 700, "LYRICS200")) << limit;
        EXPECT_EQ(store->Bytes, old) << limit;
        EXPECT_EQ(store->FailedWrites, 1);
    }
}

TEST_F(WriteTail, FailingTruncateLeavesTheFileUnchanged) {
    const std::string old =
        audio_ + TailBuilder::Lyrics3v2Tag({{"IND", "100"}, {"EAL", ""}, {"LYR", "abc"}}) + block_;
    auto store = MakeStore(old);
    store->FailTruncate = true;
    FailingFile file(store);
    FieldList fields = Fields("abc");
    EXPECT_FALSE(WriteLyrics3Tag(fields, id3_, file, 700, "LYRICS200"));
    EXPECT_EQ(store->Bytes, old);
}

TEST_F(WriteTail, UnreadableOldTailMeansNothingIsWritten) {
    auto store = MakeStore(audio_ + block_);
    store->FailReads = true;
    FailingFile file(store);
    FieldList fields = Fields("abc");
    EXPECT_FALSE(WriteLyrics3Tag(fields, id3_, file, 700, "LYRICS200"));
    EXPECT_EQ(store->BytesWritten, 0u);

    store->FailReads = false;
    store->FailLength = true;
    EXPECT_FALSE(WriteLyrics3Tag(fields, id3_, file, 700, "LYRICS200"));
    store->FailLength = false;
    EXPECT_FALSE(WriteLyrics3Tag(fields, id3_, file, audio_.size() + 129, "LYRICS200"));
    EXPECT_EQ(store->BytesWritten, 0u);
    EXPECT_EQ(store->Bytes, audio_ + block_);
}

TEST_F(WriteTail, FileThatStaysBrokenIsReportedAsFailed) {
    auto store = MakeStore(audio_ + block_);
    store->WriteLimit = 10;
    store->KeepFailing = true;
    FailingFile file(store);
    FieldList fields = Fields("abc");
    EXPECT_FALSE(WriteLyrics3Tag(fields, id3_, file, 700, "LYRICS200"));
}

}  // namespace
}  // namespace versemark::testing
