// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "support/WineRegistryText.h"

namespace versemark {
namespace {

constexpr std::string_view kKey = "Software\\Kestrel Works\\Songleaf";

using testing::RegistryFile;
using testing::Section;

TEST(RegistryText, TakesTheFirstStringValueOfTheKey) {
    const std::string reg = RegistryFile(Section("\"Path\"=\"C:\\\\Program Files\\\\Songleaf\"\n"));
    EXPECT_EQ(FirstValueInRegistryText(reg, kKey), "C:\\Program Files\\Songleaf");
}

TEST(RegistryText, ComparesTheKeyPathWithoutRegardToCase) {
    const std::string reg = "[SOFTWARE\\\\kestrel works\\\\songLEAF] 1\n\"p\"=\"/opt/songleaf\"\n";
    EXPECT_EQ(FirstValueInRegistryText(reg, kKey), "/opt/songleaf");
}

TEST(RegistryText, OnlyTheExactKeyOpens) {
    EXPECT_EQ(FirstValueInRegistryText(
                  "[Software\\\\Kestrel Works\\\\Songleaf\\\\Sub] 1\n\"p\"=\"x\"\n", kKey),
              std::nullopt);
    EXPECT_EQ(
        FirstValueInRegistryText("[Software\\\\Kestrel Works\\\\Songleaf2] 1\n\"p\"=\"x\"\n", kKey),
        std::nullopt);
    EXPECT_EQ(FirstValueInRegistryText(RegistryFile(""), kKey), std::nullopt);
}

TEST(RegistryText, OfSeveralValuesTheFirstInFileOrderCountsWhateverItsName) {
    const std::string reg =
        RegistryFile(Section("\"Zeta\"=\"/first\"\n"
                             "\"Alpha\"=\"/second\"\n"
                             "@=\"/default\"\n"));
    EXPECT_EQ(FirstValueInRegistryText(reg, kKey), "/first");
    EXPECT_EQ(
        FirstValueInRegistryText(RegistryFile(Section("@=\"/default\"\n\"A\"=\"/b\"\n")), kKey),
        "/default");
}

TEST(RegistryText, AFirstValueThatIsNotAStringIsNotTaken) {
    for (const char* value : {"\"Count\"=dword:00000001\n", "\"Bin\"=hex:43,3a,5c,00\n",
                              "\"Exp\"=str(2):\"C:\\\\x\"\n", "\"Multi\"=str(7):\"a\\0b\\0\"\n"}) {
        const std::string reg = RegistryFile(Section(std::string(value) + "\"Path\"=\"/later\"\n"));
        EXPECT_EQ(FirstValueInRegistryText(reg, kKey), std::nullopt) << value;
    }
}

TEST(RegistryText, AKeyWithoutValuesGivesNothing) {
    EXPECT_EQ(FirstValueInRegistryText(RegistryFile(Section("")), kKey), std::nullopt);
    // The next section's values are not the key's.
    EXPECT_EQ(FirstValueInRegistryText(
                  "[Software\\\\Kestrel Works\\\\Songleaf] 1\n[Other] 2\n\"p\"=\"x\"\n", kKey),
              std::nullopt);
}

TEST(RegistryText, AnEmptyStringIsAnEmptyValue) {
    EXPECT_EQ(FirstValueInRegistryText(RegistryFile(Section("\"Path\"=\"\"\n")), kKey), "");
}

TEST(RegistryText, UnescapesBackslashAndQuoteOnlyAndRejectsBrokenStrings) {
    EXPECT_EQ(FirstValueInRegistryText(Section("\"p\"=\"a\\\\b\\\"c\\qd\\x00e9\"\n"), kKey),
              "a\\b\"c\\qd\\x00e9");
    EXPECT_EQ(FirstValueInRegistryText(Section("\"p\"=\"unterminated\\\"\n"), kKey), std::nullopt);
    EXPECT_EQ(FirstValueInRegistryText(Section("\"p\"=\"ends in a backslash\\"), kKey),
              std::nullopt);
    EXPECT_EQ(FirstValueInRegistryText(Section("\"p\"=\"x\" trailing\n"), kKey), std::nullopt);
    EXPECT_EQ(FirstValueInRegistryText(Section("\"name with \\\" quote\"=\"/v\"\n"), kKey), "/v");
    EXPECT_EQ(FirstValueInRegistryText(Section("\"p\" = \"/spaced\"\n"), kKey), "/spaced");
}

TEST(RegistryText, ReadsFilesWithLoneCrOrCrLfLineEnds) {
    std::string crOnly = RegistryFile(Section("\"Path\"=\"/cr\"\n"));
    for (char& c : crOnly) {
        if (c == '\n') {
            c = '\r';
        }
    }
    EXPECT_EQ(FirstValueInRegistryText(crOnly, kKey), "/cr");
    EXPECT_EQ(FirstValueInRegistryText(
                  "[Software\\\\Kestrel Works\\\\Songleaf] 1\r\n\"P\"=\"/crlf\"\r\n", kKey),
              "/crlf");
}

TEST(RegistryText, DataThatDoesNotFitTheBufferIsNotUsable) {
    const std::string fits(kRegistryBufferSize - 1, 'x');
    const std::string tooLong(kRegistryBufferSize, 'x');
    EXPECT_EQ(FirstValueInRegistryText(Section("\"p\"=\"" + fits + "\"\n"), kKey), fits);
    EXPECT_EQ(FirstValueInRegistryText(Section("\"p\"=\"" + tooLong + "\"\n"), kKey), std::nullopt);
    EXPECT_EQ(FirstValueInRegistryText(Section("\"" + tooLong + "\"=\"/v\"\n"), kKey),
              std::nullopt);
}

TEST(RegistryText, BinaryBytesNeitherCrashNorConfuse) {
    const std::string garbage("\0\xFF\x80[\\\"=\0", 8);
    const std::string reg =
        garbage + "\n" + Section("\"p\"=\"/m\xE9lodie\xFF" + std::string(1, '\0') + "z\"\n");
    EXPECT_EQ(FirstValueInRegistryText(reg, kKey), std::string("/m\xE9lodie\xFF\0z", 11));

    // Random bytes with brackets, quotes and backslashes thrown in: any answer,
    // but no crash and no read past the text.
    std::mt19937 random(12345);
    const std::string alphabet = std::string("[]\"\\@=\r\n \0\xFF", 11) + "abcSoftware";
    for (int round = 0; round < 2000; ++round) {
        std::string text = round % 2 == 0 ? Section("") : std::string();
        const std::size_t length = random() % 80;
        for (std::size_t i = 0; i < length; ++i) {
            text += alphabet[random() % alphabet.size()];
        }
        const auto value = FirstValueInRegistryText(text, kKey);
        if (value) {
            EXPECT_LT(value->size(), kRegistryBufferSize);
        }
    }
}

TEST(WindowsPaths, RecognisesADriveLetterFollowedByASeparatorOrNothing) {
    EXPECT_TRUE(IsWindowsFormPath("C:\\Lyrics"));
    EXPECT_TRUE(IsWindowsFormPath("d:"));
    EXPECT_TRUE(IsWindowsFormPath("Z:/mixed"));
    EXPECT_FALSE(IsWindowsFormPath("C:relative"));
    EXPECT_FALSE(IsWindowsFormPath("/home/x"));
    EXPECT_FALSE(IsWindowsFormPath("1:\\x"));
    EXPECT_FALSE(IsWindowsFormPath("C"));
    EXPECT_FALSE(IsWindowsFormPath(""));
}

TEST(WindowsPaths, MapsThroughDosDevicesAndKeepsNativePaths) {
    EXPECT_EQ(NativeFromWindowsPath("C:\\Program Files\\Songleaf", "/p"),
              "/p/dosdevices/c:/Program Files/Songleaf");
    EXPECT_EQ(NativeFromWindowsPath("D:\\Lyrics\\", "/p/"), "/p/dosdevices/d:/Lyrics/");
    EXPECT_EQ(NativeFromWindowsPath("E:", "/p"), "/p/dosdevices/e:");
    EXPECT_EQ(NativeFromWindowsPath("C:\\Bj\xF6rk \\ x", "/p"), "/p/dosdevices/c:/Bj\xF6rk / x");
    EXPECT_EQ(NativeFromWindowsPath("/srv/lyrics\\odd", "/p"), "/srv/lyrics\\odd");
    EXPECT_EQ(NativeFromWindowsPath("lyrics", "/p"), "lyrics");
}

TEST(RegistryViews, TheThirtyTwoBitViewOfSoftwareLiesUnderWow6432Node) {
    EXPECT_EQ(Wow64KeyPath(kKey), "Software\\Wow6432Node\\Kestrel Works\\Songleaf");
    EXPECT_EQ(Wow64KeyPath("SOFTWARE\\x"), "SOFTWARE\\Wow6432Node\\x");
    EXPECT_EQ(Wow64KeyPath("System\\x"), "System\\x");
    EXPECT_EQ(Wow64KeyPath("Software\\"), "Software\\");
    EXPECT_EQ(Wow64KeyPath("Softwarex\\y"), "Softwarex\\y");
}

}  // namespace
}  // namespace versemark
