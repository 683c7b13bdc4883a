// SPDX-License-Identifier: GPL-3.0-or-later
// The user's remembered choices in HKEY_CURRENT_USER, in the Wine prefix the
// build script makes for the tests (VERSEMARK_REGISTRY_WRITTEN tells so), so that
// a real user's choice is never touched.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <utility>

#include "platform/UserChoices.h"

namespace versemark {
namespace {

constexpr wchar_t kKey[] = L"Software\\Versemark\\Versemark\\Tagging";
constexpr wchar_t kValue[] = L"AlsoId3v2";

class UserChoices : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::getenv("VERSEMARK_REGISTRY_WRITTEN") == nullptr) {
            GTEST_SKIP() << "runs in the Wine prefix of scripts/build-windows.sh only";
        }
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, kValue);
    }
    void TearDown() override { RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, kValue); }

    static void SetText(const wchar_t* text) {
        const auto bytes = static_cast<DWORD>((std::wcslen(text) + 1) * sizeof(wchar_t));
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kKey, kValue, REG_SZ, text, bytes),
                  ERROR_SUCCESS);
    }
};

TEST_F(UserChoices, OffUntilChosenThenAsLastRemembered) {
    EXPECT_FALSE(RememberedChoice(UserChoice::AlsoId3v2));
    ASSERT_TRUE(RememberChoice(UserChoice::AlsoId3v2, true));
    EXPECT_TRUE(RememberedChoice(UserChoice::AlsoId3v2));
    DWORD number = 2;
    DWORD size = sizeof(number);
    EXPECT_EQ(
        RegGetValueW(HKEY_CURRENT_USER, kKey, kValue, RRF_RT_REG_DWORD, nullptr, &number, &size),
        ERROR_SUCCESS);
    EXPECT_EQ(number, 1U);
    ASSERT_TRUE(RememberChoice(UserChoice::AlsoId3v2, false));
    EXPECT_FALSE(RememberedChoice(UserChoice::AlsoId3v2));

    // Each choice has a value of its own.
    for (const auto& [choice, value] : {std::pair{UserChoice::AllFormats, L"AllFormats"},
                                        std::pair{UserChoice::BesideFile, L"BesideFile"}}) {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, value);
        EXPECT_FALSE(RememberedChoice(choice));
        ASSERT_TRUE(RememberChoice(choice, true));
        EXPECT_TRUE(RememberedChoice(choice));
        EXPECT_FALSE(RememberedChoice(UserChoice::AlsoId3v2));
        number = 2;
        size = sizeof(number);
        EXPECT_EQ(
            RegGetValueW(HKEY_CURRENT_USER, kKey, value, RRF_RT_REG_DWORD, nullptr, &number, &size),
            ERROR_SUCCESS);
        EXPECT_EQ(number, 1U);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, value);
    }
}

// Qt's settings write a choice as the text "true" or "false".
TEST_F(UserChoices, TextAsQtWritesItIsRead) {
    SetText(L"true");
    EXPECT_TRUE(RememberedChoice(UserChoice::AlsoId3v2));
    SetText(L"false");
    EXPECT_FALSE(RememberedChoice(UserChoice::AlsoId3v2));
    SetText(L"a longer text than any choice");
    EXPECT_FALSE(RememberedChoice(UserChoice::AlsoId3v2));
}

}  // namespace
}  // namespace versemark
