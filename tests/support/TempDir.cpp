#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace versemark::testing {
namespace fs = std::filesystem;

namespace {

// Tagging journals the old tails of the files it changes in the user's state
// folder; the tests (and the programs they start) keep theirs in a folder of
// their own instead. Every test program links this file.
const bool kTestStateFolder = [] {
    const std::string folder = (fs::temp_directory_path() / "versemark-test-state").string();
    return ::setenv("XDG_STATE_HOME", folder.c_str(), 1) == 0;
}();

}  // namespace

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "versemark-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    // Give back permissions a test may have taken away, then remove everything.
    for (auto it = fs::recursive_directory_iterator(path_, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(path_, ec);
}

std::string TempDir::operator/(std::string_view relative) const {
    return (fs::path(path_) / fs::path(relative)).string();
}

std::string TempDir::WriteFile(std::string_view relative, std::string_view bytes) const {
    const fs::path full = fs::path(path_) / fs::path(relative);
    fs::create_directories(full.parent_path());
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + full.string());
    }
    return full.string();
}

std::string TempDir::MakeFolder(std::string_view relative) const {
    const fs::path full = fs::path(path_) / fs::path(relative);
    fs::create_directories(full);
    return full.string();
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace versemark::testing
