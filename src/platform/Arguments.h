// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace versemark {

// The program's arguments after its own path, as UTF-8 on both systems: on Linux
// argv as it is, on Windows the wide-character command line split by the system
// (argv there holds the 8-bit code page, which cannot carry every name).
std::vector<std::string> ProgramArguments(int argc, char* argv[]);

}  // namespace versemark
