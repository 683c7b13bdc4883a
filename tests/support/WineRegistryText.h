// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Text of a Wine system.reg for the registry tests.
namespace versemark::testing {

// A system.reg as Wine writes it, with `section` somewhere in the middle.
inline std::string RegistryFile(const std::string& section) {
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

// The companion's section holding `values`.
inline std::string Section(const std::string& values) {
    return "[Software\\\\Kestrel Works\\\\Songleaf] 1700000002\n"
           "#time=1da0f2b3c4d5e70\n" +
           values;
}

}  // namespace versemark::testing
