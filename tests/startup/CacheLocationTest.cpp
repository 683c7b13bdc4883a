// SPDX-License-Identifier: GPL-3.0-or-later
#include "startup/CacheLocation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "support/NativePath.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"

namespace versemark {
namespace {

using testing::NativePath;
using testing::ScopedEnv;
using testing::TempDir;

// A registry lookup that remembers whether it was asked.
struct FakeRegistry {
    std::optional<std::string> Value;
    mutable int Calls = 0;
    RegistryLookup Lookup() const {
        return [this] {
            ++Calls;
            return Value;
        };
    }
};

TEST(LocateLyricsCache, TheCompanionBesideTheProgramWinsWithoutAskingTheRegistry) {
    TempDir program;
    program.WriteFile("Songleaf.exe", "MZ");
    FakeRegistry registry{NativePath("/elsewhere")};
    CacheConfig config;
    LocateLyricsCache(config, program.Path(), registry.Lookup());
    EXPECT_EQ(config.SongleafPath, program.Path() + NativePath("/"));
    EXPECT_EQ(config.CachePath, program.Path() + NativePath("/lyrics/"));
    EXPECT_EQ(registry.Calls, 0);
}

TEST(LocateLyricsCache, TheExecutableNameMustMatchExactly) {
    for (const char* name : {"songleaf.exe", "Songleaf.EXE", "Songleaf.exe.bak"}) {
        TempDir program;
        program.WriteFile(name, "MZ");
        FakeRegistry registry{std::nullopt};
        CacheConfig config;
        LocateLyricsCache(config, program.Path(), registry.Lookup());
        EXPECT_EQ(registry.Calls, 1) << name;
        EXPECT_EQ(config.SongleafPath, "") << name;
    }
    TempDir program;
    program.MakeFolder("Songleaf.exe");  // a folder is not the program
    CacheConfig config;
    LocateLyricsCache(config, program.Path(), FakeRegistry{std::nullopt}.Lookup());
    EXPECT_EQ(config.SongleafPath, "");
}

TEST(LocateLyricsCache, ARegistryFolderGetsOneTrailingSeparator) {
    TempDir program;
    CacheConfig config;
    LocateLyricsCache(config, program.Path(),
                      FakeRegistry{NativePath("/opt/Tools/Lyrics")}.Lookup());
    EXPECT_EQ(config.SongleafPath, NativePath("/opt/Tools/Lyrics/"));
    EXPECT_EQ(config.CachePath, NativePath("/opt/Tools/Lyrics/lyrics/"));

    LocateLyricsCache(config, program.Path(), FakeRegistry{NativePath("/opt/Songleaf/")}.Lookup());
    EXPECT_EQ(config.SongleafPath, NativePath("/opt/Songleaf/"));
    EXPECT_EQ(config.CachePath, NativePath("/opt/Songleaf/lyrics/"));
}

TEST(LocateLyricsCache, WithoutTheCompanionTheCacheLiesBesideTheProgram) {
    TempDir program;
    for (const std::optional<std::string>& value :
         {std::optional<std::string>(), std::optional<std::string>("")}) {
        CacheConfig config;
        config.SongleafPath = NativePath("/stale/");
        LocateLyricsCache(config, program.Path(), FakeRegistry{value}.Lookup());
        EXPECT_EQ(config.SongleafPath, "");
        EXPECT_EQ(config.CachePath, program.Path() + NativePath("/lyrics/"));
    }
    CacheConfig root;
    LocateLyricsCache(root, NativePath("/"), FakeRegistry{std::nullopt}.Lookup());
    EXPECT_EQ(root.CachePath, NativePath("/lyrics/"));
}

TEST(CompanionRegistryValue, IsReadFromWineAndMappedToANativeFolder) {
    TempDir prefix;
    TempDir program;
    ScopedEnv env("WINEPREFIX", prefix.Path());
    prefix.WriteFile("system.reg",
                     "WINE REGISTRY Version 2\n\n[Software\\\\Kestrel Works\\\\Songleaf] 1\n"
                     "\"InstallDir\"=\"C:\\\\Tools\\\\Lyrics\"\n\"Other\"=\"D:\\\\x\"\n");
    EXPECT_EQ(ReadCompanionRegistryValue(), prefix.Path() + "/dosdevices/c:/Tools/Lyrics");

    CacheConfig config;
    LocateLyricsCache(config, program.Path());
    EXPECT_EQ(config.SongleafPath, prefix.Path() + "/dosdevices/c:/Tools/Lyrics/");
    EXPECT_EQ(config.CachePath, prefix.Path() + "/dosdevices/c:/Tools/Lyrics/lyrics/");
}

TEST(CompanionRegistryValue, NativeFoldersStayAndEmptyValuesAreNotTaken) {
    TempDir prefix;
    ScopedEnv env("WINEPREFIX", prefix.Path());
    prefix.WriteFile("system.reg",
                     "[Software\\\\Kestrel Works\\\\Songleaf] 1\n\"Path\"=\"/tmp/x/sl\"\n");
    EXPECT_EQ(ReadCompanionRegistryValue(), "/tmp/x/sl");
    prefix.WriteFile("system.reg", "[Software\\\\Kestrel Works\\\\Songleaf] 1\n\"Path\"=\"\"\n");
    EXPECT_EQ(ReadCompanionRegistryValue(), std::nullopt);
}

TEST(CompanionRegistryValue, TheThirtyTwoBitViewComesBeforeThePlainKey) {
    TempDir prefix;
    ScopedEnv env("WINEPREFIX", prefix.Path());
    const std::string wow64 = "[Software\\\\Wow6432Node\\\\Kestrel Works\\\\Songleaf] 1\n";
    const std::string plain = "[Software\\\\Kestrel Works\\\\Songleaf] 1\n";
    const struct {
        std::string SystemReg;
        std::optional<std::string> Expected;
    } cases[] = {
        {wow64 + "\"InstallDir\"=\"/opt/sl32\"\n", "/opt/sl32"},
        {plain + "\"P\"=\"/opt/sl64\"\n" + wow64 + "\"P\"=\"/opt/sl32\"\n", "/opt/sl32"},
        {wow64 + "\"P\"=\"\"\n" + plain + "\"P\"=\"/opt/sl64\"\n", "/opt/sl64"},
        {wow64 + "\"P\"=dword:00000001\n" + plain + "\"P\"=\"/opt/sl64\"\n", "/opt/sl64"},
        {"[Software\\\\Wow6432Node\\\\Kestrel Works] 1\n\"P\"=\"/no\"\n", std::nullopt},
    };
    for (const auto& c : cases) {
        prefix.WriteFile("system.reg", c.SystemReg);
        EXPECT_EQ(ReadCompanionRegistryValue(), c.Expected) << c.SystemReg;
    }
}

// A companion folder holding settings.txt with the given bytes.
class ReadSettingsTest : public ::testing::Test {
  protected:
    CacheConfig Read(const std::string& settings) {
        companion_.WriteFile("settings.txt", settings);
        CacheConfig config;
        config.SongleafPath = companion_.Path() + "/";
        config.CachePath = kDefaultCache;
        ReadSettings(config);
        return config;
    }

    static constexpr const char* kDefaultCache = "/default/lyrics/";
    TempDir companion_;
};

TEST_F(ReadSettingsTest, TheCachePathLineSetsTheCacheExactlyAsWritten) {
    EXPECT_EQ(Read("[CachePath] /srv/lyrics\r\n").CachePath, "/srv/lyrics");
    EXPECT_EQ(Read("[CachePath] /srv/my lyrics  \r\n").CachePath, "/srv/my lyrics  ");
    EXPECT_EQ(Read("[CachePath]=/srv/lyrics/\r\n").CachePath, "/srv/lyrics/");
    EXPECT_EQ(Read("[CachePath]/srv\r\n").CachePath, "srv");  // "/" was the separator
    EXPECT_TRUE(Read("[CachePath] /srv/lyrics\r\n").CacheFromSettings);
}

TEST_F(ReadSettingsTest, AWindowsFolderIsMappedThroughWine) {
    ScopedEnv env("WINEPREFIX", "/wine");
    EXPECT_EQ(Read("[CachePath] D:\\Lyrics\r\n").CachePath, "/wine/dosdevices/d:/Lyrics");
}

TEST_F(ReadSettingsTest, KeysAreCaseSensitive) {
    const CacheConfig config = Read("[cachepath] /x\r\n[singledir] 1\r\n");
    EXPECT_EQ(config.CachePath, kDefaultCache);
    EXPECT_FALSE(config.SingleDir);
    EXPECT_FALSE(config.CacheFromSettings);
}

TEST_F(ReadSettingsTest, SingleDirIsOnOnlyForAValueOfExactlyOne) {
    EXPECT_TRUE(Read("[SingleDir] 1\r\n").SingleDir);
    EXPECT_TRUE(Read("[SingleDir]=1\r\n").SingleDir);
    EXPECT_FALSE(Read("[SingleDir]1\r\n").SingleDir);  // the "1" is the separator
    EXPECT_FALSE(Read("[SingleDir] 0\r\n").SingleDir);
    EXPECT_FALSE(Read("[SingleDir] yes\r\n").SingleDir);
    EXPECT_FALSE(Read("[SingleDir] 1 \r\n").SingleDir);
    EXPECT_FALSE(Read("[SingleDir] 11\r\n").SingleDir);
}

TEST_F(ReadSettingsTest, TwoRecognisedLinesEndTheReading) {
    CacheConfig config = Read("[CachePath] A\r\n[CachePath] B\r\n[SingleDir] 1\r\n");
    EXPECT_EQ(config.CachePath, "B");
    EXPECT_FALSE(config.SingleDir);

    config = Read("[SingleDir] 1\r\n[SingleDir] 0\r\n[CachePath] /late\r\n");
    EXPECT_EQ(config.CachePath, kDefaultCache);
    EXPECT_FALSE(config.SingleDir);
}

TEST_F(ReadSettingsTest, OtherLinesAreSkippedAndDoNotCount) {
    const CacheConfig config = Read(
        "; Songleaf settings\r\n[Window] 10\r\n\r\n[CachePath] /a\r\n"
        " [SingleDir] 0\r\n[CachePat] x\r\n[SingleDir] 1\r\n[CachePath] /b\r\n");
    EXPECT_EQ(config.CachePath, "/a");
    EXPECT_TRUE(config.SingleDir);
}

TEST_F(ReadSettingsTest, AKeyWithoutSeparatorOrValueGivesAnEmptyValue) {
    EXPECT_EQ(Read("[CachePath]\r\n").CachePath, "");
    EXPECT_EQ(Read("[CachePath] ").CachePath, "");
    EXPECT_FALSE(Read("[SingleDir]").SingleDir);
}

TEST_F(ReadSettingsTest, ReadsLfOnlyAndLoneCrFiles) {
    CacheConfig config = Read("x\n[CachePath] /lf\n[SingleDir] 1\n");
    EXPECT_EQ(config.CachePath, "/lf");
    EXPECT_TRUE(config.SingleDir);
    config = Read("x\r[CachePath] /cr\r[SingleDir] 1");
    EXPECT_EQ(config.CachePath, "/cr");
    EXPECT_TRUE(config.SingleDir);
}

TEST_F(ReadSettingsTest, BinaryBytesAreKeptOrSkippedWithoutHarm) {
    const std::string value("/ly\0r\xFF\x81ics", 10);
    EXPECT_EQ(Read(std::string("\0\0\xFF\x01\r\n", 6) + "[CachePath] " + value + "\r\n").CachePath,
              value);

    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::string bytes = round % 3 == 0 ? "[CachePath] " : "";
        const std::size_t length = random() % 64;
        for (std::size_t i = 0; i < length; ++i) {
            bytes += static_cast<char>(random() % 256);
        }
        const CacheConfig config = Read(bytes);
        EXPECT_LE(config.CachePath.size(), bytes.size() + std::string(kDefaultCache).size());
    }
}

TEST_F(ReadSettingsTest, NoSettingsFileChangesNothing) {
    CacheConfig config;
    config.SongleafPath = companion_.Path() + "/";  // no settings.txt written
    config.CachePath = kDefaultCache;
    config.SingleDir = true;
    ReadSettings(config);
    EXPECT_EQ(config.CachePath, kDefaultCache);
    EXPECT_TRUE(config.SingleDir);

    companion_.MakeFolder("settings.txt");
    ReadSettings(config);
    EXPECT_EQ(config.CachePath, kDefaultCache);
}

TEST_F(ReadSettingsTest, AnEmptyCompanionFolderReadsNothing) {
    // A settings file in the working folder must not be taken for the companion's.
    TempDir cwd;
    cwd.WriteFile("settings.txt", "[CachePath] /should/not/be/read\r\n");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(cwd.Path());
    CacheConfig config;
    config.CachePath = kDefaultCache;
    ReadSettings(config);
    std::filesystem::current_path(before);
    EXPECT_EQ(config.CachePath, kDefaultCache);
}

TEST_F(ReadSettingsTest, AFolderWithoutTrailingSeparatorStillFindsTheFile) {
    companion_.WriteFile("settings.txt", "[SingleDir] 1\r\n");
    CacheConfig config;
    config.SongleafPath = companion_.Path();
    ReadSettings(config);
    EXPECT_TRUE(config.SingleDir);
}

}  // namespace
}  // namespace versemark
