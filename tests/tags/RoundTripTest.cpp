// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "support/FailingFile.h"
#include "support/TagTestHelpers.h"
#include "support/TailBuilder.h"
#include "support/TempDir.h"
#include "tagging/TaggingPass.h"
#include "tags/TagWriter.h"

namespace versemark::testing {
namespace {

// Lyrics of every length class: empty, short, around the 5120 window and the
// old 32767 limit, up to the 99999 limit of a field.
std::vector<std::size_t> Lengths() {
    std::vector<std::size_t> lengths = {0,     1,     2,     100,   5100, 5120,
                                        32767, 32768, 65535, 99998, 99999};
    for (std::size_t n = 3; n < 99999; n += 4099) {
        lengths.push_back(n);
    }
    return lengths;
}

// Text with every byte value except 0xFF, which the writer turns into a blank.
std::string Lyrics(std::size_t length) {
    std::string text(length, '\0');
    for (std::size_t i = 0; i < length; ++i) {
        text[i] = static_cast<char>(i % 255);
    }
    return text;
}

TEST(RoundTrip, WrittenTagsAreReadBack) {
    const std::string audio = TailBuilder().audio(800).bytes();
    const std::string block = TailBuilder::Id3v1Block("T", "A");
    for (const std::size_t length : Lengths()) {
        for (const char* trailer : {"LYRICS200", "LYRICS201"}) {
            SCOPED_TRACE(::testing::Message() << length << " " << trailer);
            auto store = MakeStore(audio + block);
            FailingFile file(store);
            FieldList fields;
            SetLyrics3Field(fields, "LYR", Lyrics(length));
            SetLyrics3Field(fields, "INF", "extra");
            SetLyrics3Field(fields, "IND", "100");
            ASSERT_TRUE(WriteLyrics3Tag(fields, Id3v1FromBytes(block), file, 800, trailer));
            ASSERT_EQ(store->Bytes.substr(0, 800), audio);

            const TailRead read = ReadTail(file);
            EXPECT_EQ(read.Kind, std::string(trailer));
            EXPECT_EQ(read.Start, 800u);
            ASSERT_EQ(read.Fields.size(), length == 0 ? 2u : 3u);
            EXPECT_EQ(read.Fields[0].FieldId, "IND");
            EXPECT_EQ(GetLyrics3Field(read.Fields, "LYR"), Lyrics(length));
            EXPECT_EQ(GetLyrics3Field(read.Fields, "INF"), "extra");
            EXPECT_EQ(store->Bytes.substr(store->Bytes.size() - 128), block);
        }
    }
}

TEST(RoundTrip, TaggedFilesAreReadBack) {
    TempDir dir;
    const std::string audio = TailBuilder().audio(3000).bytes();
    const std::string mp3 = dir.WriteFile("song.mp3", audio);
    for (const std::size_t length : Lengths()) {
        SCOPED_TRACE(length);
        const std::string text(length, 'w');
        const std::string lyrics = dir.WriteFile("A - B.txt", text);
        dir.WriteFile("song.mp3", audio);
        ASSERT_TRUE(TagFile(mp3, lyrics, "A - B"));
        // And once more, over its own tag.
        ASSERT_TRUE(TagFile(mp3, lyrics, "A - B"));

        auto file = OpenFile(mp3, FileAccess::Read);
        ASSERT_TRUE(file);
        const TailRead read = ReadTail(*file);
        EXPECT_EQ(read.Kind, "LYRICS200");
        EXPECT_EQ(read.Start, audio.size());
        EXPECT_EQ(GetLyrics3Field(read.Fields, "LYR"), Stored(text).substr(0, 99999));
        EXPECT_EQ(GetLyrics3Field(read.Fields, "IND"), "100");
    }
}

}  // namespace
}  // namespace versemark::testing
