// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TextLines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace versemark {
namespace {

std::vector<std::string> AllLines(std::string_view text) {
    LineReader reader(text);
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.Next(line)) {
        lines.emplace_back(line);
    }
    return lines;
}

using Lines = std::vector<std::string>;

TEST(LineReader, SplitsAtEveryKindOfLineEnd) {
    EXPECT_EQ(AllLines("a\r\nb\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(AllLines("a\nb\n"), (Lines{"a", "b"}));
    EXPECT_EQ(AllLines("a\rb\r"), (Lines{"a", "b"}));
    EXPECT_EQ(AllLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
}

TEST(LineReader, KeepsEmptyLinesAndALastLineWithoutEnd) {
    EXPECT_EQ(AllLines("\r\n\r\nx"), (Lines{"", "", "x"}));
    EXPECT_EQ(AllLines("a\n\rb"), (Lines{"a", "", "b"}));  // LF then a lone CR
    EXPECT_EQ(AllLines("a\r\r\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(AllLines("\r\n"), (Lines{""}));
}

TEST(LineReader, EmptyTextHasNoLines) {
    EXPECT_TRUE(AllLines("").empty());
}

TEST(LineReader, KeepsNulAndHighBytesInsideLines) {
    const std::string text("a\0b\xFF\r\n\x80", 7);
    EXPECT_EQ(AllLines(text), (Lines{std::string("a\0b\xFF", 4), "\x80"}));
}

}  // namespace
}  // namespace versemark
