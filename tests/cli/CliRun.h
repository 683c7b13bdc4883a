// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

// Runs the built versemark-cli as its own process, as a user or a script would.
namespace versemark::testing {

struct CliRunResult {
    int Status = -1;  // exit status; -1 when it did not exit normally
    std::string Out;
    std::string Err;
};

// Environment changes for the child: a value sets the variable, nullopt removes it.
using EnvChanges = std::map<std::string, std::optional<std::string>>;

// The build folder that VERSEMARK_BUILD_DIR names; throws when it is not set.
std::string BuildFolder();

// The versemark-cli executable in that folder.
std::string CliExecutable();

// Runs it with `args`, standard input empty, and waits for it.
CliRunResult RunCliProcess(const std::vector<std::string>& args, const EnvChanges& env = {});

// The same for another program, looked up on PATH when `program` has no "/".
CliRunResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                        const EnvChanges& env = {});

// Every regular file below `folder` with its bytes, keyed by relative path.
std::map<std::string, std::string> SnapshotFiles(const std::string& folder);

}  // namespace versemark::testing
