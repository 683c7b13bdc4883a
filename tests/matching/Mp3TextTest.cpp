// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "matching/Mp3Sample.h"
#include "matching/Mp3Text.h"
#include "support/TailBuilder.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"

namespace versemark {
namespace {

using testing::TailBuilder;
using testing::TempDir;

TEST(BuildMp3Text, JoinsBaseHeadAndTheUsedId3v1Fields) {
    const std::string block =
        TailBuilder::Id3v1Block("Title", "Artist", "Album", "1999", "Comment", 7, 12);
    const std::string expected =
        "/music/Song" + std::string("HEAD\0BYTES", 10) + TailBuilder::Padded("Artist", 30) +
        TailBuilder::Padded("Title", 30) + "7" + "1999" + TailBuilder::Padded("Comment", 28);
    EXPECT_EQ(BuildMp3Text("/music/Song", std::string("HEAD\0BYTES", 10), block), expected);
}

TEST(BuildMp3Text, WritesTheTrackInDecimalAndSkipsAMissingBlock) {
    const std::string block = TailBuilder::Id3v1Block("", "", "", "", "", 255);
    EXPECT_EQ(BuildMp3Text("b", "h", block),
              "bh" + std::string(60, '\0') + "255" + std::string(32, '\0'));
    EXPECT_EQ(BuildMp3Text("b", "h", ""), "bh");
    std::string notATag = block;
    notATag[0] = 'X';
    EXPECT_EQ(BuildMp3Text("b", "h", notATag), "bh");
}

TEST(NormaliseMp3Text, RemovesNulsThenTheFirstMarkers) {
    EXPECT_EQ(NormaliseMp3Text(std::string("a\0b\0", 4)), "ab");
    EXPECT_EQ(NormaliseMp3Text("ID3 LAME3.99 ID3 LAME3"), " .99 ID3 LAME3");
    // Each removal works on the result of the one before.
    EXPECT_EQ(NormaliseMp3Text("IDLAME33"), "");
    EXPECT_EQ(NormaliseMp3Text(std::string("LA\0ME3x", 7)), "x");
    EXPECT_EQ(NormaliseMp3Text("id3 lame3"), "id3 lame3") << "markers compare exactly";

    // Long texts: NULs at every place of an eight-byte word, beside bytes 01, 80, FF.
    const std::string others = std::string("b\x01\x80\xFF", 4);
    std::string text;
    std::string kept;
    for (int i = 0; i < 83; ++i) {
        const bool nul = i % 3 == 0 || i % 8 == 7 || (i >= 40 && i < 52);
        text += nul ? '\0' : others[static_cast<std::size_t>(i) % others.size()];
        if (!nul) {
            kept += text.back();
        }
    }
    EXPECT_EQ(NormaliseMp3Text(text), kept);
}

TEST(NormaliseMp3Text, RemovesOnlyTheFirstFiveApostrophesAndUnderscores) {
    EXPECT_EQ(NormaliseMp3Text("a'b'c'd'e'f'g"), "abcdef'g");
    EXPECT_EQ(NormaliseMp3Text("a_b_c_d_e_f_g"), "abcdef_g");
    EXPECT_EQ(NormaliseMp3Text("Don't_Stop"), "DontStop");
}

TEST(NormaliseMp3Text, ThePathLosesItsId3BeforeTheHeader) {
    const std::string text = BuildMp3Text("/m/ID3 Song", "ID3\x03", "");
    EXPECT_EQ(NormaliseMp3Text(text),
              "/m/ Song"
              "ID3\x03");
}

TEST(NormalisedMp3Text, EqualsBuildingThenNormalising) {
    const std::string block = TailBuilder::Id3v1Block("Ti_tle'", "ID3", "", "1999", "LAME3");
    const std::vector<std::string> pieces = {
        "a",  "'",   "_",   std::string("\0", 1), "LAME3", "ID", "ID3", "3", "LA", "ME3",
        "x_", "'y'", "\xC9"};
    std::mt19937 random(3);
    for (int i = 0; i < 2000; ++i) {
        std::string base;
        std::string head;
        for (int k = 0; k < static_cast<int>(random() % 8); ++k) {
            base += pieces[random() % pieces.size()];
            head += pieces[random() % pieces.size()];
        }
        const std::string id3 = random() % 2 == 0 ? block : std::string();
        ASSERT_EQ(NormalisedMp3Text(base, head, id3),
                  NormaliseMp3Text(BuildMp3Text(base, head, id3)))
            << "case " << i;
    }
}

class Mp3SampleFiles : public ::testing::Test {
  protected:
    TempDir dir;

    Mp3Sample Sample(const std::string& bytes) {
        return ReadMp3Sample(dir.WriteFile("song.mp3", bytes));
    }
};

TEST_F(Mp3SampleFiles, ReadsTheHeadTheBlockAndTheTagKind) {
    const TailBuilder file = TailBuilder()
                                 .audio(1000)
                                 .lyrics3v2({{"IND", "100"}, {"LYR", "abc"}})
                                 .id3v1("Title", "Artist");
    const Mp3Sample sample = Sample(file.bytes());
    EXPECT_EQ(sample.Head, file.bytes().substr(0, 500));
    EXPECT_EQ(sample.Id3Block, TailBuilder::Id3v1Block("Title", "Artist"));
    EXPECT_EQ(sample.Kind, "LYRICS200");
}

TEST_F(Mp3SampleFiles, FindsATrailerAtTheVeryEndWithoutABlock) {
    const Mp3Sample sample =
        Sample(TailBuilder().audio(700).lyrics3v2({{"LYR", "x"}}, "LYRICS201").bytes());
    EXPECT_TRUE(sample.Id3Block.empty());
    EXPECT_EQ(sample.Kind, "LYRICS201");
}

TEST_F(Mp3SampleFiles, ClassifiesOtherTrailers) {
    EXPECT_EQ(Sample(TailBuilder().audio(900).lyrics3v1("la la").id3v1("t", "a").bytes()).Kind,
              "Lyrics3v1");
    EXPECT_EQ(Sample(TailBuilder().audio(900).raw("xLYRICS300").id3v1("t", "a").bytes()).Kind,
              "LyricsVersionHigher");
    EXPECT_EQ(Sample(TailBuilder().audio(900).id3v1("t", "a").bytes()).Kind, "NoLyrics");
}

TEST_F(Mp3SampleFiles, EmptyFileGivesNothing) {
    const Mp3Sample sample = Sample("");
    EXPECT_TRUE(sample.Head.empty());
    EXPECT_TRUE(sample.Id3Block.empty());
    EXPECT_EQ(sample.Kind, "NoLyrics");
}

TEST_F(Mp3SampleFiles, ShortFileGivesWhatThereIs) {
    const std::string bytes = TailBuilder().audio(91).raw("LYRICSEND").bytes();
    ASSERT_EQ(bytes.size(), 100u);
    const Mp3Sample sample = Sample(bytes);
    EXPECT_EQ(sample.Head, bytes);
    EXPECT_TRUE(sample.Id3Block.empty());
    EXPECT_EQ(sample.Kind, "Lyrics3v1");
}

TEST_F(Mp3SampleFiles, BlockWithTooLittleInFrontHasNoTrailer) {
    // 130 bytes: a block and two bytes before it; E = 2 leaves no room for a trailer.
    const std::string bytes = "LY" + TailBuilder::Id3v1Block("t", "a");
    const Mp3Sample sample = Sample(bytes);
    EXPECT_EQ(sample.Id3Block, TailBuilder::Id3v1Block("t", "a"));
    EXPECT_EQ(sample.Kind, "NoLyrics");
    EXPECT_EQ(Sample(TailBuilder::Id3v1Block("LYRICS200", "")).Kind, "NoLyrics");
}

TEST_F(Mp3SampleFiles, MissingFileGivesNothing) {
    const Mp3Sample sample = ReadMp3Sample(dir / "gone.mp3");
    EXPECT_TRUE(sample.Head.empty());
    EXPECT_TRUE(sample.Id3Block.empty());
    EXPECT_EQ(sample.Kind, "NoLyrics");
}

TEST_F(Mp3SampleFiles, UnreadableFileGivesNothing) {
    const std::string path = dir.WriteFile(
        "locked.mp3", TailBuilder().audio(900).lyrics3v1("x").id3v1("t", "a").bytes());
    testing::OpenToOthers(dir.Path());
    std::filesystem::permissions(path, std::filesystem::perms::none);
    const testing::Unprivileged unprivileged;
    ASSERT_TRUE(unprivileged.Active());
    const Mp3Sample sample = ReadMp3Sample(path);
    EXPECT_TRUE(sample.Head.empty());
    EXPECT_TRUE(sample.Id3Block.empty());
    EXPECT_EQ(sample.Kind, "NoLyrics");
}

TEST(Mp3SampleFromBytes, IgnoresATailThatDoesNotFitTheLength) {
    // A tail read that came back short (the file shrank) must not be taken at the
    // wrong offsets.
    const std::string block = TailBuilder::Id3v1Block("t", "a");
    const Mp3Sample sample = Mp3SampleFromBytes("head", block, 5000);
    EXPECT_TRUE(sample.Id3Block.empty());
    EXPECT_EQ(sample.Kind, "NoLyrics");
    EXPECT_EQ(sample.Head, "head");
}

}  // namespace
}  // namespace versemark
