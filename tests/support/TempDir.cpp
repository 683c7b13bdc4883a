// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TempDir.h"

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "platform/FileSystem.h"
#include "support/ScopedEnv.h"

namespace versemark::testing {
namespace fs = std::filesystem;

namespace {
constexpr int kNameAttempts = 100;
}  // namespace

TempDir::TempDir() {
    // A new folder with a random name; creating it fails when the name is taken.
    // Seeded from the clock: std::random_device may wait long for the processor's
    // entropy on a busy virtual machine.
    std::mt19937_64 random(static_cast<std::uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count()));
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const fs::path candidate =
            fs::temp_directory_path() / ("versemark-test-" + std::to_string(random()));
        std::error_code ec;
        if (fs::create_directory(candidate, ec)) {
            path_ = Utf8FromPath(candidate);
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ec;
    // Give back permissions a test may have taken away, then remove everything.
    for (auto it = fs::recursive_directory_iterator(PathFromUtf8(path_), ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(PathFromUtf8(path_), ec);
}

std::string TempDir::operator/(std::string_view relative) const {
    return Utf8FromPath((PathFromUtf8(path_) / PathFromUtf8(relative)).make_preferred());
}

std::string TempDir::WriteFile(std::string_view relative, std::string_view bytes) const {
    const fs::path full = (PathFromUtf8(path_) / PathFromUtf8(relative)).make_preferred();
    fs::create_directories(full.parent_path());
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + Utf8FromPath(full));
    }
    return Utf8FromPath(full);
}

std::string TempDir::MakeFolder(std::string_view relative) const {
    const fs::path full = (PathFromUtf8(path_) / PathFromUtf8(relative)).make_preferred();
    fs::create_directories(full);
    return Utf8FromPath(full);
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

namespace {

// Tagging journals the old tails of the files it changes in the user's state
// folder, and one pass at a time holds a lock there. Each test program (and the
// programs it starts) keeps its state in a folder of its own, removed when the
// program ends, so test programs run side by side never wait for each other.
// Every test program links this file.
const TempDir kTestStateHome;
const bool kTestStateHomeSet = [] {
    SetEnvironmentValue(kStateFolderVariable, kTestStateHome.Path());
    return true;
}();

}  // namespace

}  // namespace versemark::testing
