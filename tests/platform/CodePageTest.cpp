// SPDX-License-Identifier: GPL-3.0-or-later
// The one display-text conversion: valid UTF-8 kept, anything else read as
// Windows-1252 and written as UTF-8.
#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace versemark {
namespace {

TEST(DisplayUtf8Test, ValidUtf8StaysAsItIs) {
    EXPECT_EQ(DisplayUtf8("plain"), "plain");
    EXPECT_EQ(DisplayUtf8("Beyonc\xC3\xA9"), "Beyonc\xC3\xA9");
    EXPECT_EQ(DisplayUtf8("\xE2\x82\xAC \xF0\x9F\x8E\xB5"), "\xE2\x82\xAC \xF0\x9F\x8E\xB5");
    EXPECT_EQ(DisplayUtf8(""), "");
    // NUL and the other controls are valid UTF-8 too.
    EXPECT_EQ(DisplayUtf8(std::string("a\0b\r\n", 5)), std::string("a\0b\r\n", 5));
}

TEST(DisplayUtf8Test, OtherBytesAreReadAsWindows1252) {
    EXPECT_EQ(DisplayUtf8("Beyonc\xE9"), "Beyonc\xC3\xA9");
    EXPECT_EQ(DisplayUtf8("\x80"), "\xE2\x82\xAC");              // euro sign
    EXPECT_EQ(DisplayUtf8("\x9F"), "\xC5\xB8");                  // Y with diaeresis
    EXPECT_EQ(DisplayUtf8("\x8A\x9A"), "\xC5\xA0\xC5\xA1");      // S and s with caron
    EXPECT_EQ(DisplayUtf8("\x83\x99"), "\xC6\x92\xE2\x84\xA2");  // f with hook, trade mark
    EXPECT_EQ(DisplayUtf8("\xA0"), "\xC2\xA0");                  // no-break space
    EXPECT_EQ(DisplayUtf8("\xFF"), "\xC3\xBF");
    // Bytes the code page leaves undefined become the control of that value.
    EXPECT_EQ(DisplayUtf8("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
    // One invalid byte turns the whole text: the UTF-8 é is then two characters.
    EXPECT_EQ(DisplayUtf8("\xC3\xA9\xE9"), "\xC3\x83\xC2\xA9\xC3\xA9");
    EXPECT_EQ(Windows1252ToUtf8("/m\xC3\xBAsica"), "/m\xC3\x83\xC2\xBAsica");
}

TEST(DisplayUtf8Test, EveryLatin1ByteBecomesItsTwoByteSequence) {
    for (int byte = 0xA0; byte <= 0xFF; ++byte) {
        const std::string expected = {static_cast<char>(0xC0 | (byte >> 6)),
                                      static_cast<char>(0x80 | (byte & 0x3F))};
        EXPECT_EQ(Windows1252ToUtf8(std::string(1, static_cast<char>(byte))), expected) << byte;
    }
    for (int byte = 0x00; byte < 0x80; ++byte) {
        const std::string ascii(1, static_cast<char>(byte));
        EXPECT_EQ(Windows1252ToUtf8(ascii), ascii) << byte;
    }
}

TEST(DisplayUtf8Test, TheConvertedTextIsAlwaysValidUtf8) {
    std::string everyByte;
    for (int byte = 0; byte <= 0xFF; ++byte) {
        everyByte += static_cast<char>(byte);
    }
    const std::string shown = DisplayUtf8(everyByte);
    EXPECT_TRUE(IsValidUtf8(shown));
    EXPECT_EQ(DisplayUtf8(shown), shown);  // converting twice changes nothing more
}

TEST(IsValidUtf8Test, MalformedSequencesAreNotUtf8) {
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong slash
    EXPECT_FALSE(IsValidUtf8("\xC1\xBF"));          // overlong
    EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));      // overlong
    EXPECT_FALSE(IsValidUtf8("\xF0\x8F\xBF\xBF"));  // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xF5\x80\x80\x80"));
    EXPECT_FALSE(IsValidUtf8("\x80"));  // a continuation byte alone
    EXPECT_FALSE(IsValidUtf8("\xC3"));  // cut short at the end
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));
    EXPECT_FALSE(IsValidUtf8("\xF0\x9F\x8E"));
    EXPECT_FALSE(IsValidUtf8("\xC3("));
    EXPECT_FALSE(IsValidUtf8("\xE2\x82("));
    EXPECT_TRUE(IsValidUtf8("\xED\x9F\xBF\xF4\x8F\xBF\xBF"));          // the last ones allowed
    EXPECT_TRUE(IsValidUtf8("\xC2\x80\xE0\xA0\x80\xF0\x90\x80\x80"));  // the first ones
}

TEST(Utf8SequenceLengthTest, MeasuresOneSequenceAndNeverReadsPastTheEnd) {
    const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8E\xB5\xE9";
    EXPECT_EQ(Utf8SequenceLength(text, 0), 1u);
    EXPECT_EQ(Utf8SequenceLength(text, 1), 2u);
    EXPECT_EQ(Utf8SequenceLength(text, 2), 0u);  // inside a sequence
    EXPECT_EQ(Utf8SequenceLength(text, 3), 3u);
    EXPECT_EQ(Utf8SequenceLength(text, 6), 4u);
    EXPECT_EQ(Utf8SequenceLength(text, 10), 0u);  // Windows-1252 é
    EXPECT_EQ(Utf8SequenceLength(text, text.size()), 0u);
    EXPECT_EQ(Utf8SequenceLength(text, text.size() + 5), 0u);
    // A lead whose sequence the view cuts short.
    const std::string_view cut(text.data(), 8);
    EXPECT_EQ(Utf8SequenceLength(cut, 6), 0u);
}

TEST(Utf8ToWindows1252Test, EveryCharacterOfTheCodePageGoesBackToItsByte) {
    for (int byte = 0; byte <= 0xFF; ++byte) {
        const std::string one(1, static_cast<char>(byte));
        const bool undefined =
            byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
        // The undefined bytes show as C1 controls, which have no byte of their own.
        EXPECT_EQ(Utf8ToWindows1252(Windows1252ToUtf8(one)),
                  undefined ? std::nullopt : std::optional<std::string>(one))
            << byte;
    }
    EXPECT_EQ(Utf8ToWindows1252("Zo\xC3\xAB \xC3\x89lan \xE2\x82\xAC\xE2\x84\xA2\xC5\xB8"),
              "Zo\xEB \xC9lan \x80\x99\x9F");
    EXPECT_EQ(Utf8ToWindows1252(""), "");
}

TEST(Utf8ToWindows1252Test, NothingIsReplacedOrDropped) {
    EXPECT_EQ(Utf8ToWindows1252("Bj\xC3\xB6rk \xC4\x80"), std::nullopt);  // A with macron
    EXPECT_EQ(Utf8ToWindows1252("\xEF\xBB\xBF"
                                "abc"),
              std::nullopt);                                         // byte-order mark
    EXPECT_EQ(Utf8ToWindows1252("\xF0\x9F\x8E\xB5"), std::nullopt);  // outside the BMP
    EXPECT_EQ(Utf8ToWindows1252("\xC2\x80"), std::nullopt);          // a C1 control
    EXPECT_EQ(Utf8ToWindows1252("Bj\xF6rk"), std::nullopt);          // not UTF-8
    EXPECT_EQ(Utf8ToWindows1252("\xC3"), std::nullopt);              // cut short
}

TEST(CutLengthTest, Utf8IsNeverCutInsideACharacter) {
    // "\xC3\xA9" is two bytes, "\xE2\x82\xAC" three.
    const std::string utf8 = "ab\xC3\xA9\xE2\x82\xAC";
    EXPECT_EQ(CutLength(utf8, 2), 2u);
    EXPECT_EQ(CutLength(utf8, 3), 2u);
    EXPECT_EQ(CutLength(utf8, 4), 4u);
    EXPECT_EQ(CutLength(utf8, 5), 4u);
    EXPECT_EQ(CutLength(utf8, 6), 4u);
    EXPECT_EQ(CutLength(utf8, 7), 7u);
    EXPECT_EQ(CutLength(utf8, 100), 7u);
    EXPECT_EQ(CutLength("\xC3\xA9", 1), 0u);
    // Windows-1252 bytes are one character each.
    EXPECT_EQ(CutLength("ab\xC3\xA9\xE9", 3), 3u);
    EXPECT_EQ(CutLength("\xE9\xE9\xE9", 2), 2u);
}

}  // namespace
}  // namespace versemark
