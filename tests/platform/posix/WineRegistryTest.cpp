// SPDX-License-Identifier: GPL-3.0-or-later
// The registry stand-in of Linux: system.reg of the Wine prefix.
#include <gtest/gtest.h>

#include <string>

#include "platform/Registry.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"
#include "support/WineRegistryText.h"

namespace versemark {
namespace {

using testing::ScopedEnv;
using testing::TempDir;

constexpr std::string_view kKey = "Software\\Kestrel Works\\Songleaf";

using testing::RegistryFile;
using testing::Section;

TEST(RegistryFile, IsReadFromTheWinePrefix) {
    TempDir prefix;
    ScopedEnv env("WINEPREFIX", prefix.Path());
    EXPECT_EQ(ReadMachineKeyFirstValue(kKey), std::nullopt);  // no system.reg yet
    prefix.WriteFile("system.reg", RegistryFile(Section("\"Path\"=\"D:\\\\Tools\"\n")));
    EXPECT_EQ(ReadMachineKeyFirstValue(kKey), "D:\\Tools");
    EXPECT_EQ(ReadMachineKeyFirstValue("Software\\Nobody"), std::nullopt);
}

TEST(RegistryFile, DefaultsToDotWineInTheHomeFolder) {
    TempDir home;
    ScopedEnv prefix("WINEPREFIX", std::nullopt);
    ScopedEnv homeVar("HOME", home.Path());
    EXPECT_EQ(WinePrefix(), home / ".wine");
    home.WriteFile(".wine/system.reg", Section("\"Path\"=\"/home/songleaf\"\n"));
    EXPECT_EQ(ReadMachineKeyFirstValue(kKey), "/home/songleaf");
}

TEST(RegistryFile, AFolderNamedSystemRegDoesNotOpen) {
    TempDir prefix;
    ScopedEnv env("WINEPREFIX", prefix.Path());
    prefix.MakeFolder("system.reg");
    EXPECT_EQ(ReadMachineKeyFirstValue(kKey), std::nullopt);
}

TEST(WindowsPaths, UseTheWinePrefixOfTheEnvironment) {
    ScopedEnv env("WINEPREFIX", "/opt/wine-songleaf");
    EXPECT_EQ(NativeFromWindowsPath("C:\\x"), "/opt/wine-songleaf/dosdevices/c:/x");
}

}  // namespace
}  // namespace versemark
