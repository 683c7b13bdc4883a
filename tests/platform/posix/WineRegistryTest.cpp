// The registry stand-in of Linux: system.reg of the Wine prefix.
#include <gtest/gtest.h>

#include <string>

#include "platform/Registry.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"

namespace versemark {
namespace {

using testing::ScopedEnv;
using testing::TempDir;

constexpr std::string_view kKey = "Software\\Kestrel Works\\Songleaf";

// A system.reg as Wine writes it, with `section` somewhere in the middle.
std::string RegistryFile(const std::string& section) {
    return "WINE REGISTRY Version 2\n"
           ";; All keys relative to \\\\Machine\n"
           "\n"
           "#arch=win64\n"
           "\n"
           "[Software\\\\Kestrel Works] 1700000000\n"
           "#time=1da0f2b3c4d5e6f\n"
           "\"Other\"=\"not this\"\n"
           "\n" +
           section +
           "\n"
           "[Software\\\\Microsoft\\\\Windows] 1700000001\n"
           "\"ProgramFilesDir\"=\"C:\\\\Program Files\"\n";
}

std::string Section(const std::string& values) {
    return "[Software\\\\Kestrel Works\\\\Songleaf] 1700000002\n"
           "#time=1da0f2b3c4d5e70\n" +
           values;
}

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
