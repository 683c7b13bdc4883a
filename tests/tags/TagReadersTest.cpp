// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "support/FailingFile.h"
#include "support/TagTestHelpers.h"
#include "support/TailBuilder.h"
#include "tags/TagReaders.h"

namespace versemark::testing {
namespace {

using Fields = TailBuilder::Fields;

TailRead ReadBytes(const std::string& bytes) {
    FailingFile file(MakeStore(bytes));
    return ReadTail(file);
}

void ExpectFields(const FieldList& fields, const Fields& expected) {
    ASSERT_EQ(fields.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(fields[i].FieldId, expected[i].first) << "field " << i;
        EXPECT_EQ(fields[i].FieldData, expected[i].second) << "field " << i;
    }
}

TEST(Id3v1Reading, BlockIsTakenByteForByte) {
    const std::string block =
        TailBuilder::Id3v1Block("Title\xFF", "Artist", "Album", "1999", "Note", 7, 17);
    const TailRead read = ReadBytes(TailBuilder().audio(500).raw(block).bytes());
    ASSERT_TRUE(read.Id3);
    EXPECT_TRUE(read.Id3->IsPresent());
    EXPECT_EQ(read.Id3->Title, TailBuilder::Padded("Title\xFF", 30));
    EXPECT_EQ(read.Id3->Artist, TailBuilder::Padded("Artist", 30));
    EXPECT_EQ(read.Id3->Year, "1999");
    EXPECT_EQ(read.Id3->Track, 7);
    EXPECT_EQ(read.Id3->Genre, 17);
    EXPECT_EQ(Id3v1ToBytes(*read.Id3), block);  // written back unchanged, 0xFF included
    EXPECT_EQ(read.End, 500u);
}

TEST(Id3v1Reading, LastBytesWithoutTagMeanNoBlock) {
    std::string bytes = TailBuilder().audio(300).bytes();
    const TailRead read = ReadBytes(bytes);
    ASSERT_TRUE(read.Id3);
    EXPECT_FALSE(read.Id3->IsPresent());
    EXPECT_EQ(read.End, 300u);
    // "tag" in lower case is not a block.
    bytes.replace(bytes.size() - 128, 3, "tag");
    EXPECT_EQ(ReadBytes(bytes).End, 300u);
}

TEST(Id3v1Reading, FileShorterThanBlockCannotBeInspected) {
    FailingFile file(MakeStore(std::string(127, 'T')));
    EXPECT_FALSE(ReadId3v1Tag(file));
}

TEST(TagKindTable, TrailersAreClassifiedExactly) {
    EXPECT_EQ(TagKindFromTrailer("LYRICSEND"), "Lyrics3v1");
    EXPECT_EQ(TagKindFromTrailer("LYRICS200"), "LYRICS200");
    EXPECT_EQ(TagKindFromTrailer("LYRICS201"), "LYRICS201");
    EXPECT_EQ(TagKindFromTrailer("LYRICS2xy"), "LYRICS2xy");
    EXPECT_EQ(TagKindFromTrailer("LYRICS300"), "LyricsVersionHigher");
    EXPECT_EQ(TagKindFromTrailer("LYRICS100"), "LyricsVersionHigher");
    EXPECT_EQ(TagKindFromTrailer("LYRICSend"), "LyricsVersionHigher");
    EXPECT_EQ(TagKindFromTrailer("lyrics200"), "NoLyrics");
    EXPECT_EQ(TagKindFromTrailer("xxxxxxxxx"), "NoLyrics");
    EXPECT_TRUE(IsLyrics3v2Kind("LYRICS200"));
    EXPECT_TRUE(IsLyrics3v2Kind("LYRICS201"));
    EXPECT_FALSE(IsLyrics3v2Kind("LyricsVersionHigher"));
    EXPECT_FALSE(IsLyrics3v2Kind("Lyrics3v1"));
}

TEST(TagKindTable, EndBelowNineCannotBeInspected) {
    FailingFile file(MakeStore("LYRICS200"));
    EXPECT_TRUE(GetLyricsTagKind(file, 9));
    EXPECT_FALSE(GetLyricsTagKind(file, 8));
}

TEST(Lyrics3v2Reading, ExampleTagBehindThousandBytes) {
    const std::string bytes = TailBuilder()
                                  .audio(1000)
                                  .lyrics3v2({{"IND", "100"}, {"LYR", "abc"}})
                                  .id3v1("Title", "Artist")
                                  .bytes();
    ASSERT_EQ(bytes.size(), 1176u);
    // The size digits as laid out: 11 + 11 + 11.
    EXPECT_EQ(bytes.substr(1000 + 33, 15), "000033LYRICS200");
    const TailRead read = ReadBytes(bytes);
    EXPECT_EQ(read.End, 1048u);
    EXPECT_EQ(read.Kind, "LYRICS200");
    EXPECT_EQ(read.Start, 1000u);
    ExpectFields(read.Fields, {{"IND", "100"}, {"LYR", "abc"}});
    EXPECT_EQ(GetLyrics3Field(read.Fields, "LYR"), "abc");
    EXPECT_EQ(GetLyrics3Field(read.Fields, "lyr"), "");
}

TEST(Lyrics3v2Reading, TagAtTheVeryEndWithoutId3v1) {
    const std::string bytes =
        TailBuilder().audio(200).lyrics3v2({{"LYR", "abc"}, {"IND", "100"}}).bytes();
    const TailRead read = ReadBytes(bytes);
    EXPECT_EQ(read.End, bytes.size());
    EXPECT_EQ(read.Start, 200u);
    ExpectFields(read.Fields, {{"LYR", "abc"}, {"IND", "100"}});  // file order kept
}

TEST(Lyrics3v2Reading, OtherVersion2TrailerIsReadAlike) {
    const std::string bytes = TailBuilder()
                                  .audio(100)
                                  .lyrics3v2({{"IND", "100"}, {"LYR", "abc"}}, "LYRICS201")
                                  .id3v1("T", "A")
                                  .bytes();
    const TailRead read = ReadBytes(bytes);
    EXPECT_EQ(read.Kind, "LYRICS201");
    EXPECT_EQ(read.Start, 100u);
    ExpectFields(read.Fields, {{"IND", "100"}, {"LYR", "abc"}});
}

TEST(Lyrics3v2Reading, HigherVersionIsNotRead) {
    for (const char* trailer : {"LYRICS300", "LYRICS100"}) {
        const std::string bytes =
            TailBuilder().audio(100).lyrics3v2({{"LYR", "abc"}}, trailer).id3v1("T", "A").bytes();
        const TailRead read = ReadBytes(bytes);
        EXPECT_EQ(read.Kind, "LyricsVersionHigher");
        EXPECT_TRUE(read.Fields.empty());
        EXPECT_EQ(read.Start, read.End);
    }
}

TEST(Lyrics3v2Reading, EmptyFieldsAreSkipped) {
    const std::string bytes =
        TailBuilder().audio(200).lyrics3v2({{"IND", "100"}, {"AUT", ""}, {"LYR", "x"}}).bytes();
    const TailRead read = ReadBytes(bytes);
    EXPECT_EQ(read.Start, 200u);
    ExpectFields(read.Fields, {{"IND", "100"}, {"LYR", "x"}});
}

TEST(Lyrics3v2Reading, NulBytesInFieldDataAreKept) {
    const std::string data("ab\0\0\0", 5);
    const TailRead read = ReadBytes(TailBuilder().audio(200).lyrics3v2({{"LYR", data}}).bytes());
    ExpectFields(read.Fields, {{"LYR", data}});
}

// The reader takes every size the writer writes: no 32767 size or 255-field limit.
TEST(Lyrics3v2Reading, LargeSizesAndManyFieldsAreRead) {
    Fields fields = {{"IND", "100"}, {"LYR", std::string(99999, 'w')}};
    for (int i = 0; i < 300; ++i) {
        fields.push_back({"X" + TailBuilder::Digits(i % 100, 2), "d" + std::to_string(i)});
    }
    const std::string tag = TailBuilder::Lyrics3v2Tag(fields);
    ASSERT_GT(tag.size(), 32767u + 15);
    const std::string bytes = TailBuilder().audio(50).raw(tag).id3v1("T", "A").bytes();
    const TailRead read = ReadBytes(bytes);
    EXPECT_EQ(read.Start, 50u);
    ExpectFields(read.Fields, fields);
}

TEST(Lyrics3v2Reading, LargestTagSizeIsRead) {
    // "LYRICSBEGIN", nine full fields and one of 99917 bytes: 999999 bytes counted.
    Fields fields;
    for (int i = 0; i < 9; ++i) {
        fields.push_back({"F" + TailBuilder::Digits(i, 2), std::string(99999, 'a' + i)});
    }
    fields.push_back({"F09", std::string(99917, 'z')});
    const std::string tag = TailBuilder::Lyrics3v2Tag(fields);
    ASSERT_EQ(tag.substr(tag.size() - 15, 6), "999999");
    const TailRead read = ReadBytes(TailBuilder().audio(3).raw(tag).bytes());
    EXPECT_EQ(read.Start, 3u);
    ExpectFields(read.Fields, fields);
}

TEST(Lyrics3v1Reading, LyricsAreTakenFromTheLastBegin) {
    const std::string bytes = TailBuilder()
                                  .audio(6000)
                                  .raw("LYRICSBEGINearlier part ")
                                  .lyrics3v1("line one\r\nline two")
                                  .id3v1("T", "A")
                                  .bytes();
    const TailRead read = ReadBytes(bytes);
    EXPECT_EQ(read.Kind, "Lyrics3v1");
    EXPECT_EQ(read.Start, 6000u + 24);
    ExpectFields(read.Fields, {{"IND", "100"}, {"LYR", "line one\r\nline two"}});
}

TEST(Lyrics3v1Reading, CharacterFFBecomesBlank) {
    const std::string bytes = TailBuilder()
                                  .audio(6000)
                                  .lyrics3v1(
                                      "a\xFF"
                                      "b")
                                  .bytes();
    ExpectFields(ReadBytes(bytes).Fields, {{"IND", "100"}, {"LYR", "a b"}});
}

TEST(Lyrics3v1Reading, BeginAtTheEdgeOfTheWindow) {
    // "LYRICSBEGIN" starting exactly 5120 bytes before E is found; one byte
    // further out it is not.
    const std::string inside(5120 - 11 - 9, 'x');
    const std::string bytes = TailBuilder().audio(100).lyrics3v1(inside).bytes();
    const TailRead read = ReadBytes(bytes);
    EXPECT_EQ(read.Start, 100u);
    ExpectFields(read.Fields, {{"IND", "100"}, {"LYR", inside}});

    const std::string outside = TailBuilder().audio(100).lyrics3v1(inside + "y").bytes();
    const TailRead missed = ReadBytes(outside);
    EXPECT_EQ(missed.Kind, "Lyrics3v1");
    EXPECT_EQ(missed.Start, missed.End);
    EXPECT_TRUE(missed.Fields.empty());
}

TEST(Lyrics3v1Reading, EndBelowWindowSizeIsNotRead) {
    const std::string bytes = TailBuilder().audio(4000).lyrics3v1("words").id3v1("T", "A").bytes();
    const TailRead read = ReadBytes(bytes);
    EXPECT_EQ(read.Kind, "Lyrics3v1");
    EXPECT_EQ(read.Start, read.End);
    EXPECT_TRUE(read.Fields.empty());
}

TEST(FieldLookup, FirstMatchOrEmpty) {
    EXPECT_EQ(GetLyrics3Field({}, "LYR"), "");
    const FieldList fields = {{"LYR", "a"}, {"LYR", "b"}};
    EXPECT_EQ(GetLyrics3Field(fields, "LYR"), "a");
    EXPECT_EQ(GetLyrics3Field(fields, "INF"), "");
}

}  // namespace
}  // namespace versemark::testing
