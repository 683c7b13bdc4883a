// SPDX-License-Identifier: GPL-3.0-or-later
// Which paths reach the system in the extended-length form, and how.
#include "platform/win32/SystemPath.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace versemark::win32 {
namespace {

// `count` folder names of ten characters ("folder0001" ...), each followed by `separator`.
std::wstring Folders(int count, wchar_t separator = L'\\') {
    std::wstring text;
    for (int i = 1; i <= count; ++i) {
        const std::wstring number = std::to_wstring(i);
        text += L"folder" + std::wstring(4 - number.size(), L'0') + number;
        text += separator;
    }
    return text;
}

std::string Narrow(const std::wstring& wide) {
    return std::string(wide.begin(), wide.end());  // the cases are ASCII
}

// The current folder with its separator at the end.
std::wstring CurrentFolder() {
    wchar_t folder[MAX_PATH];
    const DWORD length = GetCurrentDirectoryW(MAX_PATH, folder);
    std::wstring text(folder, length);
    if (text.back() != L'\\') {
        text += L'\\';
    }
    return text;
}

TEST(SystemPath, OnlyPathsTooLongForThePlainFormGetTheExtendedFormAndBack) {
    // 22 names of 11 characters: 242 after the drive, 30 of them 330.
    const std::wstring shortFolders = Folders(22);
    const std::wstring longFolders = Folders(30);
    const std::wstring here = CurrentFolder();
    // "C:\" + 244 = 247 characters, the longest plain path; one more is too long.
    const std::wstring longest = L"C:\\" + shortFolders + L"ab";
    ASSERT_EQ(longest.size(), kLongestPlainPath);
    struct Case {
        std::wstring Given;
        std::wstring Expected;
    };
    const Case cases[] = {
        {L"", L""},
        {L"C:\\Music\\a.mp3", L"C:\\Music\\a.mp3"},
        {L"C:/Music/a.mp3", L"C:/Music/a.mp3"},  // short paths reach the system as given
        {longest, longest},
        {longest + L"c", L"\\\\?\\" + longest + L"c"},
        {L"C:\\" + longFolders + L"a.mp3", L"\\\\?\\C:\\" + longFolders + L"a.mp3"},
        // Separators, "." and ".." are resolved first: the extended form takes the
        // path literally.
        {L"C:/" + Folders(30, L'/') + L"a.mp3", L"\\\\?\\C:\\" + longFolders + L"a.mp3"},
        {L"C:\\" + longFolders + L".\\x\\..\\a.mp3", L"\\\\?\\C:\\" + longFolders + L"a.mp3"},
        // A share: the leading two separators become "UNC".
        {L"\\\\server\\share\\" + longFolders + L"a.mp3",
         L"\\\\?\\UNC\\server\\share\\" + longFolders + L"a.mp3"},
        // Already extended, or a device: as given, however long.
        {L"\\\\?\\C:\\" + longFolders + L"a.mp3", L"\\\\?\\C:\\" + longFolders + L"a.mp3"},
        {L"\\\\?\\UNC\\server\\share\\" + longFolders,
         L"\\\\?\\UNC\\server\\share\\" + longFolders},
        {L"\\\\.\\C:", L"\\\\.\\C:"},
        // Relative: short ones as given, long ones made full from the current folder.
        {L"a.mp3", L"a.mp3"},
        {longFolders + L"a.mp3", L"\\\\?\\" + here + longFolders + L"a.mp3"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SystemPath(Narrow(c.Given)), c.Expected) << Narrow(c.Given);
        // What the system gives back in the extended form reads plain, and goes
        // back to the same system form.
        const std::string plain = WithoutExtendedPrefix(Narrow(c.Expected));
        EXPECT_NE(plain.rfind("\\\\?\\", 0), 0u) << plain;
        EXPECT_EQ(SystemPath(plain), c.Expected) << plain;
    }
}

TEST(SystemPath, NamesOutsideAsciiAreCountedInUtf16) {
    // 130 "ä" (two bytes each in UTF-8, one character in UTF-16): 263 bytes but
    // 133 characters stay short; twice that is long.
    std::string name;
    std::wstring wide;
    for (int i = 0; i < 130; ++i) {
        name += "\xC3\xA4";
        wide += L'\u00E4';
    }
    EXPECT_EQ(SystemPath("C:\\" + name), L"C:\\" + wide);
    EXPECT_EQ(SystemPath("C:\\" + name + "\\" + name), L"\\\\?\\C:\\" + wide + L"\\" + wide);
}

}  // namespace
}  // namespace versemark::win32
