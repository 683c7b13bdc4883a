// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "matching/RowList.h"
#include "support/PassLog.h"
#include "support/TagTestHelpers.h"
#include "support/TailBuilder.h"
#include "support/TempDir.h"
#include "tagging/TaggingPass.h"
#include "tags/SavedLyrics.h"

namespace versemark::testing {
namespace {

using Fields = TailBuilder::Fields;

// An MP3 file and a lyrics file in a temporary folder, tagged through TagFile;
// every expected file is built from the layout with TailBuilder.
class TagOneFile : public ::testing::Test {
  protected:
    TempDir dir_;
    const std::string audio_ = TailBuilder().audio(1000).bytes();
    // The block made for a file without one, from the name "Artist - Title".
    const std::string newBlock_ =
        TailBuilder::Id3v1Block("Title", "Artist", "", "    ", "", 0, 255);
    const std::string oldBlock_ =
        TailBuilder::Id3v1Block("Old title", "Old artist", "Album", "1999", "Note", 4, 17);

    std::string Mp3(const std::string& bytes) { return dir_.WriteFile("song.mp3", bytes); }

    // Tags the file with lyrics of this text and returns its bytes afterwards.
    std::string Tag(const std::string& mp3, const std::string& lyricsText,
                    const std::string& name = "Artist - Title") {
        const std::string lyrics = dir_.WriteFile(name + ".txt", lyricsText);
        EXPECT_TRUE(TagFile(mp3, lyrics, name));
        return ReadFileBytes(mp3);
    }

    // Tags the file again with the lyrics file beside it asked for; the bytes of
    // that file, which is then removed.
    std::string TagBeside(const std::string& mp3, const std::string& name) {
        RowList rows;
        rows.Add(CheckedRow(mp3, dir_ / (name + ".txt"), name));
        TaggingOptions options;
        options.JournalFolder = std::nullopt;
        options.Tag.BesideFile = true;
        const auto outcome = TagCheckedRows(rows, options);
        EXPECT_TRUE(outcome && AllTagged(outcome->Results));
        const std::string beside = dir_ / "song.txt";
        const std::string bytes = ReadFileBytes(beside);
        std::filesystem::remove(beside);
        return bytes;
    }

    static std::string V2(const Fields& fields, std::string_view trailer = "LYRICS200") {
        return TailBuilder::Lyrics3v2Tag(fields, trailer);
    }
};

TEST_F(TagOneFile, FileWithoutTags) {
    const std::string mp3 = Mp3(audio_);
    EXPECT_EQ(Tag(mp3, "words"),
              audio_ + V2({{"IND", "100"}, {"LYR", Stored("words")}}) + newBlock_);
}

TEST_F(TagOneFile, Id3v1BlockIsKeptAsItWas) {
    const std::string mp3 = Mp3(audio_ + oldBlock_);
    EXPECT_EQ(Tag(mp3, "words"),
              audio_ + V2({{"IND", "100"}, {"LYR", Stored("words")}}) + oldBlock_);
}

TEST_F(TagOneFile, ExampleTagIsReplacedAtItsStart) {
    const std::string mp3 = Mp3(TailBuilder()
                                    .raw(audio_)
                                    .lyrics3v2({{"IND", "100"}, {"LYR", "abc"}})
                                    .raw(oldBlock_)
                                    .bytes());
    ASSERT_EQ(ReadFileBytes(mp3).size(), 1176u);
    EXPECT_EQ(Tag(mp3, "words"),
              audio_ + V2({{"IND", "100"}, {"LYR", Stored("words")}}) + oldBlock_);
}

TEST_F(TagOneFile, OtherFieldsAreKeptAndIndComesFirst) {
    const std::string mp3 = Mp3(TailBuilder()
                                    .raw(audio_)
                                    .lyrics3v2({{"LYR", "old"}, {"INF", "info"}, {"IND", "110"}})
                                    .raw(oldBlock_)
                                    .bytes());
    EXPECT_EQ(Tag(mp3, "words"),
              audio_ + V2({{"IND", "100"}, {"INF", "info"}, {"LYR", Stored("words")}}) + oldBlock_);
}

// Repeated IND and LYR fields: the first of each takes the new value and the
// later ones go, so every reader reads the new lyrics; other repeats stay.
TEST_F(TagOneFile, RepeatedFieldsOfTheIdsSetAreDroppedOthersKept) {
    const std::string mp3 = Mp3(TailBuilder()
                                    .raw(audio_)
                                    .lyrics3v2({{"IND", "110"},
                                                {"LYR", "old one"},
                                                {"INF", "a"},
                                                {"LYR", "old two"},
                                                {"IND", "101"},
                                                {"INF", "b"}})
                                    .raw(oldBlock_)
                                    .bytes());
    EXPECT_EQ(Tag(mp3, "words"),
              audio_ + V2({{"IND", "100"}, {"LYR", Stored("words")}, {"INF", "a"}, {"INF", "b"}}) +
                  oldBlock_);
    EXPECT_EQ(ReadSavedLyrics(mp3), Stored("words"));
}

TEST_F(TagOneFile, Version2TrailerIsKept) {
    const std::string mp3 = Mp3(
        TailBuilder().raw(audio_).lyrics3v2({{"IND", "100"}, {"LYR", "abc"}}, "LYRICS201").bytes());
    EXPECT_EQ(Tag(mp3, "words"),
              audio_ + V2({{"IND", "100"}, {"LYR", Stored("words")}}, "LYRICS201") + newBlock_);
}

TEST_F(TagOneFile, Version1TagIsConvertedAndPaddedToTheOldLyrics) {
    const std::string audio = TailBuilder().audio(6000).bytes();
    const std::string oldLyrics(300, 'o');
    const std::string mp3 =
        Mp3(TailBuilder().raw(audio).lyrics3v1(oldLyrics).raw(oldBlock_).bytes());
    std::string padded = Stored("new");
    padded.resize(300, '\0');
    EXPECT_EQ(Tag(mp3, "new"), audio + V2({{"IND", "100"}, {"LYR", padded}}) + oldBlock_);
}

TEST_F(TagOneFile, HigherVersionTagStaysWithTheNewTagBehindIt) {
    const std::string higher = "LYRICSBEGINsomething000022LYRICS300";
    const std::string mp3 = Mp3(audio_ + higher + oldBlock_);
    EXPECT_EQ(Tag(mp3, "words"),
              audio_ + higher + V2({{"IND", "100"}, {"LYR", Stored("words")}}) + oldBlock_);
}

TEST_F(TagOneFile, UnreadableVersion2TagStaysWithFieldsReadBeforeTheFault) {
    // The LYR size runs past the tag: INF was read before the fault.
    const std::string body = "LYRICSBEGININF00004infoLYR00090abc";
    const std::string broken = body + TailBuilder::Digits(body.size(), 6) + "LYRICS200";
    const std::string mp3 = Mp3(audio_ + broken + oldBlock_);
    EXPECT_EQ(Tag(mp3, "words"),
              audio_ + broken + V2({{"IND", "100"}, {"INF", "info"}, {"LYR", Stored("words")}}) +
                  oldBlock_);
}

TEST_F(TagOneFile, SameLyricsTwiceKeepsTheLength) {
    const std::string mp3 = Mp3(audio_);
    const std::string once = Tag(mp3, "words");
    EXPECT_EQ(Tag(mp3, "words"), once);
}

TEST_F(TagOneFile, ShorterLyricsArePaddedWithNuls) {
    const std::string mp3 = Mp3(audio_ + oldBlock_);
    const std::string once = Tag(mp3, "a longer first text");
    std::string padded = Stored("short");
    padded.resize(Stored("a longer first text").size(), '\0');
    const std::string twice = Tag(mp3, "short");
    EXPECT_EQ(twice.size(), once.size());
    EXPECT_EQ(twice, audio_ + V2({{"IND", "100"}, {"LYR", padded}}) + oldBlock_);
}

TEST_F(TagOneFile, LongerLyricsGrowTheFile) {
    const std::string mp3 = Mp3(audio_ + oldBlock_);
    const std::string once = Tag(mp3, "short");
    const std::string twice = Tag(mp3, "a longer second text");
    EXPECT_EQ(twice.size(), once.size() + 15);
    EXPECT_EQ(twice,
              audio_ + V2({{"IND", "100"}, {"LYR", Stored("a longer second text")}}) + oldBlock_);
}

// Repeated saves with texts of changing length: the audio is never touched and
// every tail is the layout of the last save (padded to the longest text so far).
TEST_F(TagOneFile, BytesInFrontOfTheTailStayAfterEverySave) {
    const std::string mp3 = Mp3(audio_ + oldBlock_);
    std::size_t longest = 0;
    for (const std::size_t length : {10u, 2000u, 1u, 500u, 5000u, 0u}) {
        const std::string text(length, 'x');
        std::string data = Stored(text);
        longest = std::max(longest, data.size());
        data.resize(longest, '\0');
        const std::string bytes = Tag(mp3, text);
        ASSERT_EQ(bytes.substr(0, audio_.size()), audio_);
        EXPECT_EQ(bytes, audio_ + V2({{"IND", "100"}, {"LYR", data}}) + oldBlock_) << length;
    }
}

TEST_F(TagOneFile, EmptyFieldsDroppedOnRewriteCutTheFile) {
    const std::string mp3 = Mp3(TailBuilder()
                                    .raw(audio_)
                                    .lyrics3v2({{"IND", "100"}, {"EAL", ""}, {"LYR", Stored("w")}})
                                    .raw(oldBlock_)
                                    .bytes());
    EXPECT_EQ(Tag(mp3, "w"), audio_ + V2({{"IND", "100"}, {"LYR", Stored("w")}}) + oldBlock_);
}

TEST_F(TagOneFile, LyricsOver99999CharactersAreCut) {
    std::string text;
    for (int i = 0; text.size() < 120000; ++i) {
        text += "line " + std::to_string(i) + "\r\n";
    }
    const std::string mp3 = Mp3(audio_);
    EXPECT_EQ(Tag(mp3, text),
              audio_ + V2({{"IND", "100"}, {"LYR", text.substr(0, 99999)}}) + newBlock_);
}

TEST_F(TagOneFile, CharacterFFIsStoredAsBlank) {
    const std::string mp3 = Mp3(audio_);
    EXPECT_EQ(Tag(mp3,
                  "a\xFF"
                  "b",
                  "Art\xFF - Ti\xFF"),
              audio_ + V2({{"IND", "100"}, {"LYR", Stored("a b")}}) +
                  TailBuilder::Id3v1Block("Ti ", "Art ", "", "    ", "", 0, 255));
}

TEST_F(TagOneFile, NameWithoutHyphenIsAllTitle) {
    const std::string mp3 = Mp3(audio_);
    EXPECT_EQ(Tag(mp3, "w", "Just a title"),
              audio_ + V2({{"IND", "100"}, {"LYR", Stored("w")}}) +
                  TailBuilder::Id3v1Block("Just a title", "", "", "    ", "", 0, 255));
}

TEST_F(TagOneFile, TitleOver30CharactersIsCut) {
    const std::string mp3 = Mp3(audio_);
    const std::string title = "A title that is much longer than thirty characters";
    EXPECT_EQ(Tag(mp3, "w", "Band - " + title),
              audio_ + V2({{"IND", "100"}, {"LYR", Stored("w")}}) +
                  TailBuilder::Id3v1Block(title.substr(0, 30), "Band", "", "    ", "", 0, 255));
}

TEST_F(TagOneFile, LyricsFooterIsDroppedWhenStored) {
    const std::string mp3 = Mp3(audio_);
    EXPECT_EQ(
        Tag(mp3, "one\r\ntwo\r\n\r\n----------------\r\n* Downloaded from: x\r\n"),
        audio_ +
            V2({{"IND", "100"}, {"LYR", "one\r\ntwo\r\n\r\n----------------\r\n" + Credit()}}) +
            newBlock_);
}

// Names and lyrics in UTF-8 are stored in Windows-1252 when every character has a
// byte there; anything else keeps its bytes and is never cut inside a character.
// The lyrics file beside the song holds the same text as UTF-8, without a
// byte-order mark.
TEST_F(TagOneFile, TextIsStoredInTheCompanionsCodePage) {
    const std::string aMacron = "\xC4\x80";  // Ā: no Windows-1252 byte
    std::string thirtyOneBytes = "a";
    for (int i = 0; i < 15; ++i) {
        thirtyOneBytes += aMacron;
    }
    struct Case {
        const char* What;
        std::string Name;
        std::string LyricsText;
        std::string Artist;  // as stored, before the padding
        std::string Title;
        std::string Lyr;
        std::string Beside;  // the lyrics file beside the song
    };
    const std::vector<Case> cases = {
        {"UTF-8 with accents", "Zo\xC3\xAB Vance - \xC3\x89lan", "Avec \xC3\xA9lan \xE2\x82\xAC",
         "Zo\xEB Vance", "\xC9lan", Stored("Avec \xE9lan \x80"),
         Stored("Avec \xC3\xA9lan \xE2\x82\xAC")},
        {"a character Windows-1252 lacks, cut before it", aMacron + "nna - " + thirtyOneBytes,
         aMacron + " \xC3\xA9", aMacron + "nna", thirtyOneBytes.substr(0, 29),
         Stored(aMacron + " \xC3\xA9"), Stored(aMacron + " \xC3\xA9")},
        {"Windows-1252 as it is", "Caf\xE9 - Cr\xE8me", "Caf\xE9 cr\xE8me\r\n", "Caf\xE9",
         "Cr\xE8me", Stored("Caf\xE9 cr\xE8me\r\n"), Stored("Caf\xC3\xA9 cr\xC3\xA8me\r\n")},
        {"a byte-order mark is dropped", "A - B", "\xEF\xBB\xBFna\xC3\xAFve", "A", "B",
         Stored("na\xEFve"), Stored("na\xC3\xAFve")},
        {"a byte-order mark before ASCII", "A - B", "\xEF\xBB\xBFplain", "A", "B", Stored("plain"),
         Stored("plain")},
        {"a byte-order mark stays with text that cannot be converted", "A - B",
         "\xEF\xBB\xBF" + aMacron, "A", "B", Stored("\xEF\xBB\xBF" + aMacron), Stored(aMacron)},
        {"UTF-16 little-endian is read as its characters", "A - B",
         std::string("\xFF\xFEn\0a\0\xEF\0v\0e\0", 12), "A", "B", Stored("na\xEFve"),
         Stored("na\xC3\xAFve")},
        {"UTF-16 big-endian is read as its characters", "A - B",
         std::string("\xFE\xFF\0n\0a\0\xEF\0v\0e", 12), "A", "B", Stored("na\xEFve"),
         Stored("na\xC3\xAFve")},
        {"UTF-16 with characters Windows-1252 lacks is stored as UTF-8", "A - B",
         std::string("\xFF\xFE\x00\x01\x3C\xD8\xB5\xDF", 8), "A", "B",
         Stored(aMacron + "\xF0\x9F\x8E\xB5"), Stored(aMacron + "\xF0\x9F\x8E\xB5")},
        {"a lone UTF-16 surrogate keeps the bytes", "A - B", std::string("\xFF\xFE\x3C\xD8", 4),
         "A", "B", Stored(std::string(" \xFE\x3C\xD8", 4)),  // byte 0xFF stored as a blank
         Stored("\xC3\xBF\xC3\xBE\x3C\xC3\x98")},
        {"the cut to 30 counts stored bytes", "Band - " + std::string(35, 'e') + "\xC3\xA9", "w",
         "Band", std::string(30, 'e'), Stored("w"), Stored("w")},
        {"converted text is cut as bytes", "Band - " + std::string(29, 'e') + "\xC3\xA9\xC3\xA9",
         "w", "Band", std::string(29, 'e') + "\xE9", Stored("w"), Stored("w")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        const std::string mp3 = Mp3(audio_);
        EXPECT_EQ(Tag(mp3, c.LyricsText, c.Name),
                  audio_ + V2({{"IND", "100"}, {"LYR", c.Lyr}}) +
                      TailBuilder::Id3v1Block(c.Title, c.Artist, "", "    ", "", 0, 255));
        Mp3(audio_);
        EXPECT_EQ(TagBeside(mp3, c.Name), c.Beside);
    }
}

TEST_F(TagOneFile, Utf8LyricsAreNotCutInsideACharacterAt99999) {
    std::string text;
    while (text.size() < 120000) {
        text += "\xC4\x80";  // two bytes: byte 99999 is the second of one
    }
    const std::string mp3 = Mp3(audio_);
    EXPECT_EQ(Tag(mp3, text),
              audio_ + V2({{"IND", "100"}, {"LYR", text.substr(0, 99998)}}) + newBlock_);
}

TEST(TagCheckedRowsLog, EmptyListDoesNothing) {
    EXPECT_FALSE(TagCheckedRowsLog(RowList()));
}

TEST(TagCheckedRowsLog, UncheckedRowsAreSkippedWithoutLogLines) {
    TempDir dir;
    const std::string audio = TailBuilder().audio(500).bytes();
    const std::string mp3 = dir.WriteFile("a.mp3", audio);
    const std::string lyrics = dir.WriteFile("A - B.txt", "w");
    RowList rows;
    rows.Add(CheckedRow(mp3, lyrics, "A - B", false));
    EXPECT_EQ(TagCheckedRowsLog(rows), "");
    EXPECT_EQ(ReadFileBytes(mp3), audio);
}

TEST(TagCheckedRowsLog, ExtraFieldsOfOneFileDoNotReachTheNext) {
    TempDir dir;
    const std::string audio = TailBuilder().audio(500).bytes();
    const std::string block = TailBuilder::Id3v1Block("T", "A");
    const std::string first =
        dir.WriteFile("first.mp3", TailBuilder()
                                       .raw(audio)
                                       .lyrics3v2({{"IND", "100"}, {"AUT", "me"}, {"LYR", "x"}})
                                       .raw(block)
                                       .bytes());
    const std::string second = dir.WriteFile("second.mp3", audio);
    const std::string skipped = dir.WriteFile("skipped.mp3", audio);
    const std::string lyrics = dir.WriteFile("Band - Song.txt", "words");
    RowList rows;
    rows.Add(CheckedRow(first, lyrics, "Band - Song"));
    rows.Add(CheckedRow(skipped, lyrics, "Band - Song", false));
    rows.Add(CheckedRow(second, lyrics, "Band - Song"));

    EXPECT_EQ(TagCheckedRowsLog(rows),
              "File tagged..: " + first + "\r\nFile tagged..: " + second + "\r\n");
    EXPECT_EQ(
        ReadFileBytes(first),
        audio +
            TailBuilder::Lyrics3v2Tag({{"IND", "100"}, {"AUT", "me"}, {"LYR", Stored("words")}}) +
            block);
    EXPECT_EQ(ReadFileBytes(second),
              audio + TailBuilder::Lyrics3v2Tag({{"IND", "100"}, {"LYR", Stored("words")}}) +
                  TailBuilder::Id3v1Block("Song", "Band", "", "    ", "", 0, 255));
    EXPECT_EQ(ReadFileBytes(skipped), audio);
}

}  // namespace
}  // namespace versemark::testing
