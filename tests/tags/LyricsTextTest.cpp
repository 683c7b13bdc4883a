// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "support/TagTestHelpers.h"
#include "tags/LyricsText.h"

namespace versemark::testing {
namespace {

const std::string kFooter = "----------------\r\n* Downloaded from: somewhere\r\n";
const std::string kSeparator = "----------------";

std::string Prepared(std::string text) {
    PrepareLyricsText(text);
    return text;
}

// The stored form of lyrics that had a footer: lyrics, empty line, separator, credit.
std::string WithSeparator(std::string_view lyrics) {
    return std::string(lyrics) + "\r\n\r\n" + kSeparator + "\r\n" + Credit();
}

TEST(PrepareLyricsText, TextWithoutFooterIsKeptAsRead) {
    EXPECT_EQ(Prepared("  one\r\ntwo\r\n"), "  one\r\ntwo\r\n\r\n" + Credit());
    EXPECT_EQ(Prepared("one"), "one\r\n" + Credit());
}

TEST(PrepareLyricsText, EmptyText) {
    EXPECT_EQ(Prepared(""), "\r\n" + Credit());
}

TEST(PrepareLyricsText, FooterIsDroppedAndEmptyLinesBeforeItRemoved) {
    EXPECT_EQ(Prepared("one\r\ntwo\r\n\r\n\r\n" + kFooter), WithSeparator("one\r\ntwo"));
}

TEST(PrepareLyricsText, LeadingTabsSpacesAndEmptyLinesAreRemoved) {
    EXPECT_EQ(Prepared("\t \r\n\r\n  \tone\r\ntwo \t\r\n" + kFooter), WithSeparator("one\r\ntwo"));
}

TEST(PrepareLyricsText, OnlyTheLastFooterIsDropped) {
    EXPECT_EQ(Prepared("one\r\n" + kFooter + "two\r\n" + kFooter),
              WithSeparator("one\r\n" + kFooter + "two"));
}

TEST(PrepareLyricsText, FooterMustMatchExactly) {
    for (const std::string& footer : {std::string("----------------\r\n* downloaded from: x"),
                                      std::string("---------------\r\n* Downloaded from: x"),
                                      std::string("----------------\n* Downloaded from: x")}) {
        const std::string text = "one\r\n" + footer;
        EXPECT_EQ(Prepared(text), text + "\r\n" + Credit());
    }
}

TEST(PrepareLyricsText, LoneLineFeedAtTheStartStays) {
    EXPECT_EQ(Prepared("\none\r\n" + kFooter), WithSeparator("\none"));
}

TEST(PrepareLyricsText, FooterAloneLeavesOnlySeparatorAndCredit) {
    EXPECT_EQ(Prepared(kFooter), WithSeparator(""));
}

TEST(PrepareLyricsText, CharacterFFIsNotReplacedHere) {
    EXPECT_EQ(Prepared("\xFF"), "\xFF\r\n" + Credit());
}

TEST(TrimBlanks, OnlyTabsSpacesAndPairsAreBlanks) {
    EXPECT_EQ(TrimBlanks(" \t\r\nx\r\n \t"), "x");
    EXPECT_EQ(TrimBlanks("\rx\n"), "\rx\n");
    EXPECT_EQ(TrimBlanks("x \n"), "x \n");
    EXPECT_EQ(TrimBlanks("\r\r\nx"), "\r\r\nx");
    EXPECT_EQ(TrimTrailingBlanks("x\r\r\n"), "x\r");
    EXPECT_EQ(TrimLeadingBlanks("\r\n\n x"), "\n x");
    EXPECT_EQ(TrimBlanks(" \r\n\t "), "");
    EXPECT_EQ(TrimBlanks(""), "");
}

}  // namespace
}  // namespace versemark::testing
