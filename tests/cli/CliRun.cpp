// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CliRun.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "platform/FileSystem.h"
#include "support/TempDir.h"

namespace versemark::testing {

namespace fs = std::filesystem;

std::string BuildFolder() {
    const char* buildDir = std::getenv("VERSEMARK_BUILD_DIR");
    if (buildDir == nullptr || *buildDir == '\0') {
        throw std::runtime_error("VERSEMARK_BUILD_DIR is not set");
    }
    return buildDir;
}

CliRunResult RunCliProcess(const std::vector<std::string>& args, const EnvChanges& env) {
    return RunProcess(CliExecutable(), args, env);
}

std::map<std::string, std::string> SnapshotFiles(const std::string& folder) {
    std::map<std::string, std::string> files;
    const fs::path top = PathFromUtf8(folder);
    for (const auto& entry : fs::recursive_directory_iterator(top)) {
        if (entry.is_regular_file()) {
            files[Utf8FromPath(fs::relative(entry.path(), top).generic_u8string())] =
                ReadFileBytes(Utf8FromPath(entry.path()));
        }
    }
    return files;
}

}  // namespace versemark::testing
