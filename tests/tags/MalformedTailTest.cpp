// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "support/FailingFile.h"
#include "support/TagTestHelpers.h"
#include "support/TailBuilder.h"
#include "support/TempDir.h"
#include "tagging/TaggingPass.h"
#include "tags/TagReaders.h"

namespace versemark::testing {
namespace {

// Reads a tail through an in-memory file that counts reads past its end.
struct CheckedRead {
    TailRead Read;
    int ReadsPastEnd = 0;
};

CheckedRead ReadChecked(const std::string& bytes) {
    auto store = MakeStore(bytes);
    FailingFile file(store);
    CheckedRead result{ReadTail(file), 0};
    result.ReadsPastEnd = store->ReadsPastEnd;
    return result;
}

// The version 2 tag ending at E (in front of a "TAG" block when there is one)
// read as unreadable: the start is E and only the fields read before the fault
// are in the list.
void ExpectUnreadableV2(const std::string& bytes, const FieldList& keptFields = {}) {
    const bool hasBlock = bytes.size() >= 128 && bytes.compare(bytes.size() - 128, 3, "TAG") == 0;
    const std::uint64_t end = hasBlock ? bytes.size() - 128 : bytes.size();
    auto store = MakeStore(bytes);
    FailingFile file(store);
    FieldList fields;
    EXPECT_EQ(ReadLyrics3v2Fields(fields, file, end), end);
    EXPECT_EQ(store->ReadsPastEnd, 0);
    ASSERT_EQ(fields.size(), keptFields.size());
    for (std::size_t i = 0; i < keptFields.size(); ++i) {
        EXPECT_EQ(fields[i].FieldId, keptFields[i].FieldId);
        EXPECT_EQ(fields[i].FieldData, keptFields[i].FieldData);
    }
}

// A tag (well formed or not) between audio and an ID3v1 block.
std::string TailWithTag(std::string_view tag) {
    return TailBuilder().audio(300).raw(tag).id3v1("T", "A").bytes();
}

TEST(MalformedTail, SizeDigitsThatAreNotANumber) {
    for (const char* digits :
         {"00003a", " 00033", "00033 ", "+00033", "-00033", "0x0021", "00 033", "\0\0\0\0\0\0"}) {
        const std::string size(digits, 6);
        SCOPED_TRACE(size);
        ExpectUnreadableV2(TailWithTag("LYRICSBEGININD00003100LYR00003abc" + size + "LYRICS200"));
    }
}

TEST(MalformedTail, FieldSizeThatIsNotANumberKeepsFieldsBefore) {
    const std::string body = "LYRICSBEGININD00003100LYR0000xabc";
    ExpectUnreadableV2(TailWithTag(body + TailBuilder::Digits(body.size(), 6) + "LYRICS200"),
                       {{"IND", "100"}});
}

TEST(MalformedTail, TagSizePointingBeforeTheFileStart) {
    // The tag fills the file exactly: readable at S = 0.
    const std::string tag = TailBuilder::Lyrics3v2Tag({{"IND", "100"}, {"LYR", "abc"}});
    FailingFile exact(MakeStore(tag));
    FieldList fields;
    EXPECT_EQ(ReadLyrics3v2Fields(fields, exact, tag.size()), 0u);
    EXPECT_EQ(fields.size(), 2u);
    // One byte more than the file holds, and the largest size, in a small file.
    std::string oneMore = tag;
    oneMore.replace(33, 6, "000034");
    ExpectUnreadableV2(oneMore);
    ExpectUnreadableV2("LYRICSBEGININD00003100999999LYRICS200");
    ExpectUnreadableV2(TailWithTag("LYRICSBEGININD00003100999999LYRICS200"));
}

TEST(MalformedTail, TagSizeSmallerThanTheBeginMarker) {
    for (int size = 0; size < 11; ++size) {
        ExpectUnreadableV2(TailWithTag("LYRICSBEGIN" + TailBuilder::Digits(size, 6) + "LYRICS200"));
    }
}

TEST(MalformedTail, MissingOrShiftedBeginMarker) {
    ExpectUnreadableV2(TailWithTag("LYRICSBEGIXIND00003100000022LYRICS200"));
    // Size one too large: S lands one byte in front of "LYRICSBEGIN".
    ExpectUnreadableV2(TailWithTag("LYRICSBEGININD00003100000023LYRICS200"));
    // Size one too small: S lands one byte behind it.
    ExpectUnreadableV2(TailWithTag("LYRICSBEGININD00003100000021LYRICS200"));
}

TEST(MalformedTail, FieldsOverrunningTheTag) {
    // Data size reaching past the size digits.
    std::string body = "LYRICSBEGININD00003100LYR00050abc";
    ExpectUnreadableV2(TailWithTag(body + TailBuilder::Digits(body.size(), 6) + "LYRICS200"),
                       {{"IND", "100"}});
    // A field header cut short by the end of the tag (it would run into the digits).
    body = "LYRICSBEGININD00003100LYR00";
    ExpectUnreadableV2(TailWithTag(body + TailBuilder::Digits(body.size(), 6) + "LYRICS200"),
                       {{"IND", "100"}});
    // A field that would read its id from the tag and its size from the digits.
    body = "LYRICSBEGININD00003100LYR";
    ExpectUnreadableV2(TailWithTag(body + TailBuilder::Digits(body.size(), 6) + "LYRICS200"),
                       {{"IND", "100"}});
}

TEST(MalformedTail, EndMarkerWithoutBegin) {
    const std::string bytes =
        TailBuilder().audio(6000).raw("words LYRICSEND").id3v1("T", "A").bytes();
    const CheckedRead checked = ReadChecked(bytes);
    EXPECT_EQ(checked.ReadsPastEnd, 0);
    EXPECT_EQ(checked.Read.Kind, "Lyrics3v1");
    EXPECT_EQ(checked.Read.Start, checked.Read.End);
    EXPECT_TRUE(checked.Read.Fields.empty());
}

TEST(MalformedTail, FailingReadsGiveNoTag) {
    const std::string bytes =
        TailBuilder().audio(6000).lyrics3v2({{"LYR", "abc"}}).id3v1("T", "A").bytes();
    auto store = MakeStore(bytes);
    FailingFile file(store);
    store->FailReads = true;
    EXPECT_FALSE(ReadId3v1Tag(file));
    EXPECT_FALSE(GetLyricsTagKind(file, 6000 + 37));
    FieldList fields;
    EXPECT_FALSE(ReadLyrics3v2Fields(fields, file, 6000 + 37));
    EXPECT_FALSE(ReadLyrics3v1Field(fields, file, 6000 + 37));
    EXPECT_TRUE(fields.empty());
}

// Every file of 0 to 200 bytes from several sources: tails of tagged files cut
// from the front (sizes then point before the start), and strings of markers,
// digits and field ids in pseudo-random order. Nothing may read past the end,
// a start is never behind E, and a failed tagging leaves the bytes as they were.
class ShortFiles : public ::testing::Test {
  protected:
    static std::vector<std::string> Sources() {
        const std::string v2 = TailBuilder()
                                   .audio(400)
                                   .lyrics3v2({{"IND", "100"}, {"LYR", "abc"}, {"INF", "x"}})
                                   .id3v1("T", "A")
                                   .bytes();
        const std::string v2Bare = TailBuilder().audio(400).lyrics3v2({{"LYR", "abc"}}).bytes();
        const std::string v1 = TailBuilder().audio(400).lyrics3v1("words").id3v1("T", "A").bytes();
        std::vector<std::string> sources = {v2, v2Bare, v1};

        static constexpr std::array<std::string_view, 12> kTokens = {
            "LYRICSBEGIN", "LYRICSEND", "LYRICS200", "LYRICS3", "TAG",  "000033",
            "99999",       "IND",       "LYR00003",  "0",       "\xFF", "\0"};
        std::uint32_t seed = 12345;
        for (int s = 0; s < 8; ++s) {
            std::string text;
            while (text.size() < 200) {
                seed = seed * 1103515245u + 12345u;
                const std::string_view token = kTokens[(seed >> 16) % kTokens.size()];
                text += token.empty() ? std::string_view("\0", 1) : token;
            }
            sources.push_back(text.substr(0, 200));
        }
        return sources;
    }
};

TEST_F(ShortFiles, ReadersStayInsideTheFile) {
    for (const std::string& source : Sources()) {
        for (std::size_t n = 0; n <= 200 && n <= source.size(); ++n) {
            const std::string bytes = source.substr(source.size() - n);
            const CheckedRead checked = ReadChecked(bytes);
            SCOPED_TRACE(::testing::Message() << "length " << n);
            EXPECT_EQ(checked.ReadsPastEnd, 0);
            if (n < 128) {
                EXPECT_FALSE(checked.Read.Id3);
                continue;
            }
            ASSERT_TRUE(checked.Read.Id3);
            EXPECT_LE(checked.Read.End, n);
            EXPECT_LE(checked.Read.Start, checked.Read.End);
            if (checked.Read.Start < checked.Read.End) {
                EXPECT_EQ(bytes.substr(checked.Read.Start, 11), "LYRICSBEGIN");
            }
        }
    }
}

TEST_F(ShortFiles, TaggingSucceedsOrLeavesTheFileAlone) {
    TempDir dir;
    const std::string lyrics = dir.WriteFile("A - B.txt", "la la");
    int tagged = 0;
    int refused = 0;
    for (const std::string& source : Sources()) {
        for (std::size_t n = 0; n <= 200 && n <= source.size(); ++n) {
            const std::string bytes = source.substr(source.size() - n);
            auto store = MakeStore(bytes);
            const bool ok = TagFile("song.mp3", lyrics, "A - B", OpenerServing("song.mp3", store));
            SCOPED_TRACE(::testing::Message() << "length " << n);
            EXPECT_EQ(store->ReadsPastEnd, 0);
            if (n < 128) {
                EXPECT_FALSE(ok);
            }
            if (ok) {
                ++tagged;
                EXPECT_EQ(store->Bytes.substr(store->Bytes.size() - 128, 3), "TAG");
            } else {
                ++refused;
                EXPECT_EQ(store->Bytes, bytes);
            }
        }
    }
    EXPECT_GT(tagged, 0);
    EXPECT_GT(refused, 0);
}

}  // namespace
}  // namespace versemark::testing
