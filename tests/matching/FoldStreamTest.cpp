// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "matching/ByteClasses.h"
#include "matching/FoldStream.h"
#include "matching/TextFold.h"

namespace versemark {
namespace {

std::string Streamed(std::string_view text) {
    std::string out;
    ForEachFoldedByte(text, [&](unsigned char b) { out += static_cast<char>(b); });
    return out;
}

// Texts rich in what makes the fold hard: UTF-8 leads with and without their
// continuation bytes, Latin-1 capitals in both encodings, bytes that fold alone.
std::string TrickyText(std::mt19937& random, std::size_t length) {
    static const std::vector<std::string> pieces = {"A",
                                                    "z",
                                                    " ",
                                                    "\xC3",
                                                    "\x80",
                                                    "\x89",
                                                    "\x97",
                                                    "\x9E",
                                                    "\x9F",
                                                    "\xBF",
                                                    "\xC2",
                                                    "\xDF",
                                                    "\xE0",
                                                    "\xEF",
                                                    "\xF0",
                                                    "\xF4",
                                                    "\xF5",
                                                    "\x8A",
                                                    "\x8C",
                                                    "\x8E",
                                                    "\xC0",
                                                    "\xD7",
                                                    "\xDE",
                                                    "\xC3\x89",
                                                    "\xC3\x97",
                                                    "\xE2\x82\xAC",
                                                    "\xF0\x9F\x8E\xB5",
                                                    "\xC3\xC3\x89",
                                                    "\xFF"};
    std::string text;
    while (text.size() < length) {
        text += pieces[random() % pieces.size()];
    }
    return text;
}

TEST(FoldStream, GivesExactlyTheBytesOfFoldCase) {
    EXPECT_EQ(Streamed("BEYONC\xC3\x89 Beyonc\xC9"), FoldCase("BEYONC\xC3\x89 Beyonc\xC9"));
    std::mt19937 random(5);
    for (int i = 0; i < 3000; ++i) {
        const std::string text = TrickyText(random, random() % 40);
        ASSERT_EQ(Streamed(text), FoldCase(text)) << "case " << i;
    }
}

TEST(ByteClasses, ClassesOfATextAreTheClassesOfItsFold) {
    std::mt19937 random(6);
    for (int round = 0; round < 300; ++round) {
        std::string wordBytes;
        for (int w = 0; w < 5; ++w) {
            wordBytes += FoldCase(TrickyText(random, 3));
        }
        const ByteClasses classes(wordBytes);
        for (int t = 0; t < 20; ++t) {
            const std::string text = TrickyText(random, random() % 60);
            const std::string folded = FoldCase(text);
            std::vector<std::uint8_t> expected;
            for (unsigned char b : folded) {
                expected.push_back(classes.OfFolded(b));
            }
            std::vector<std::uint8_t> actual;
            classes.OfText(text, actual);
            ASSERT_EQ(actual, expected) << "round " << round << " text " << t;
        }
    }
}

TEST(ByteClasses, BytesOfNoWordShareClassZero) {
    const ByteClasses classes("ab\xC3\xA9");
    EXPECT_EQ(classes.Count(), 5u);
    EXPECT_EQ(classes.OfFolded('x'), 0);
    EXPECT_NE(classes.OfFolded('a'), classes.OfFolded('b'));
    std::vector<std::uint8_t> out;
    classes.OfText("AxB\xC3\x89", out);  // É in UTF-8 folds to é
    EXPECT_EQ(out, (std::vector<std::uint8_t>{classes.OfFolded('a'), 0, classes.OfFolded('b'),
                                              classes.OfFolded(0xC3), classes.OfFolded(0xA9)}));
}

TEST(ByteClasses, SeesAFoldedContinuationByteEvenWhenItsLeadIsInNoWord) {
    // The fold of UTF-8 "\xC3\x89" (capital E acute) is "\xC3\xA9": its second byte
    // becomes A9, the byte of a word here, though neither C3 nor 89 is.
    const ByteClasses classes("\xA9");
    std::vector<std::uint8_t> out;
    classes.OfText("\xC3\x89", out);
    EXPECT_EQ(out, (std::vector<std::uint8_t>{0, classes.OfFolded(0xA9)}));
}

}  // namespace
}  // namespace versemark
