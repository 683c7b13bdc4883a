// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "matching/RowList.h"
#include "matching/TextFold.h"

namespace versemark {
namespace {

TEST(TextFold, FoldsAsciiAndWindows1252Capitals) {
    EXPECT_EQ(FoldCase("Don'T STOP"), "don't stop");
    // Windows-1252: É (0xC9) -> é (0xE9); × (0xD7) stays; Š (0x8A) -> š (0x9A); Ÿ (0x9F) -> ÿ
    // (0xFF).
    EXPECT_EQ(FoldCase("\xC9\xD7-\x8A\x8C\x8E\x9F"), "\xE9\xD7-\x9A\x9C\x9E\xFF");
    // D7 8A is a well-formed UTF-8 sequence (a Hebrew letter): taken whole, unchanged.
    EXPECT_EQ(FoldCase("\xD7\x8A"), "\xD7\x8A");
    EXPECT_EQ(FoldCase("\xDF\xDE"), "\xDF\xFE");  // ß has no capital; Þ -> þ
}

TEST(TextFold, FoldsUtf8LatinCapitalsAsWholeSequences) {
    EXPECT_EQ(FoldCase("BEYONC\xC3\x89"), "beyonc\xC3\xA9");  // É -> é in UTF-8
    EXPECT_EQ(FoldCase("\xC3\x97"), "\xC3\x97");              // × stays
    EXPECT_EQ(FoldCase("\xC3\x9F"), "\xC3\x9F") << "U+00DF is outside the folded range";
    // A sequence's continuation bytes are not Windows-1252 capitals: C3 8A is Ê, not C3 + Š.
    EXPECT_EQ(FoldCase("\xC3\x8A"), "\xC3\xAA");
    // Three-byte sequences pass unchanged even where a byte would fold alone.
    EXPECT_EQ(FoldCase("\xE2\x82\xAC"
                       "A"),
              "\xE2\x82\xAC"
              "a");
}

TEST(TextFold, TreatsBrokenSequencesAsSingleBytes) {
    // C3 without a continuation byte is Windows-1252 Ã and folds to ã (0xE3).
    EXPECT_EQ(FoldCase("\xC3"
                       "A"),
              "\xE3"
              "a");
    EXPECT_EQ(FoldCase("\xC3"), "\xE3");
    // A lone continuation byte is a character of its own.
    EXPECT_EQ(FoldCase("\x8A"), "\x9A");
    // Lead and continuation bytes that make no valid sequence (an overlong form, a
    // surrogate, above U+10FFFF) are Windows-1252 text: "à€Š" folds its Š.
    EXPECT_EQ(FoldCase("\xE0\x80\x8A"), "\xE0\x80\x9A");
    EXPECT_EQ(FoldCase("\xED\xA0\x8C"), "\xED\xA0\x9C");
    EXPECT_EQ(FoldCase("\xF4\x90\x80\x9F"), "\xF4\x90\x80\xFF");
}

TEST(TextFold, FoldKeepsLengthSoPositionsStayValid) {
    const std::string text =
        "Ma\xC3\x8Etre \xC9t\xC3"
        "\xE2\x82";
    EXPECT_EQ(FoldCase(text).size(), text.size());
}

TEST(TextFold, FindsBeyonceWhicheverEncodingEachSideUses) {
    const std::string utf8Upper = FoldCase("BEYONC\xC3\x89");
    const std::string utf8Lower = FoldCase("Beyonc\xC3\xA9");
    const std::string cp1252Upper = FoldCase("BEYONC\xC9");
    const std::string cp1252Lower = FoldCase("Beyonc\xE9");
    EXPECT_EQ(utf8Upper, utf8Lower);
    EXPECT_EQ(cp1252Upper, cp1252Lower);
}

ResultRow RowWith(std::string mp3, bool checked) {
    ResultRow row;
    row.Mp3Name = std::move(mp3);
    row.Checked = checked;
    return row;
}

TEST(RowList, SortsByFoldedTextBothWaysAndKeepsTiesInOrder) {
    RowList list;
    list.Add(RowWith("beta.mp3", false));
    list.Add(RowWith("Alpha.mp3", true));
    list.Add(RowWith("ALPHA.mp3", false));
    list.Add(RowWith("\xC3\x89t\xC3\xA9.mp3", false));  // Été
    list.Sort(kColumnMp3, SortOrder::Ascending);
    ASSERT_EQ(list.Count(), 4u);
    EXPECT_EQ(list.Row(0).Mp3Name, "Alpha.mp3");
    EXPECT_EQ(list.Row(1).Mp3Name, "ALPHA.mp3");
    EXPECT_EQ(list.Row(2).Mp3Name, "beta.mp3");
    list.Sort(kColumnMp3, SortOrder::Descending);
    EXPECT_EQ(list.Row(0).Mp3Name, "\xC3\x89t\xC3\xA9.mp3");
    EXPECT_EQ(list.Row(3).Mp3Name, "ALPHA.mp3");
}

TEST(RowList, SortingOnTheRowTextPutsUncheckedRowsFirst) {
    RowList list;
    list.Add(RowWith("a", true));
    list.Add(RowWith("b", false));
    list.Add(RowWith("c", true));
    list.Sort(kColumnRowText, SortOrder::Ascending);
    EXPECT_FALSE(list.Row(0).Checked);
    EXPECT_TRUE(list.Row(1).Checked);
    EXPECT_EQ(list.CheckedCount(), 2u);
}

}  // namespace
}  // namespace versemark
