// SPDX-License-Identifier: GPL-3.0-or-later
// The system's registry in both views, as the build script writes it with
// "wine reg add" before the tests run (VERSEMARK_REGISTRY_WRITTEN tells so):
//   HKLM\Software\Kestrel Works\Songleaf  InstallDir = C:\Program Files (x86)\Songleaf  /reg:32
//   HKLM\Software\Kestrel Works\Songleaf  InstallDir = C:\Songleaf64                    /reg:64
//   HKLM\Software\Versemark Test\Only64   Path = C:\Only64                              /reg:64
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/Registry.h"
#include "startup/CacheLocation.h"

namespace versemark {
namespace {

constexpr std::string_view kCompanionKey = "Software\\Kestrel Works\\Songleaf";

class SystemRegistry : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::getenv("VERSEMARK_REGISTRY_WRITTEN") == nullptr) {
            GTEST_SKIP() << "the values are written by scripts/build-windows.sh";
        }
    }
};

TEST_F(SystemRegistry, ReadsEachViewOfTheKey) {
    EXPECT_EQ(ReadMachineKeyFirstValue(kCompanionKey, RegistryView::Bits32),
              "C:\\Program Files (x86)\\Songleaf");
    EXPECT_EQ(ReadMachineKeyFirstValue(kCompanionKey, RegistryView::Native), "C:\\Songleaf64");
    EXPECT_EQ(ReadMachineKeyFirstValue("Software\\Versemark Test\\Only64", RegistryView::Bits32),
              std::nullopt);
    EXPECT_EQ(ReadMachineKeyFirstValue("Software\\Versemark Test\\Only64", RegistryView::Native),
              "C:\\Only64");
    EXPECT_EQ(ReadMachineKeyFirstValue("Software\\Versemark Test\\Missing"), std::nullopt);
}

TEST_F(SystemRegistry, TheCompanionIsFoundInTheThirtyTwoBitViewFirst) {
    EXPECT_EQ(ReadCompanionRegistryValue(), "C:\\Program Files (x86)\\Songleaf");
}

}  // namespace
}  // namespace versemark
