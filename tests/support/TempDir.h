// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace versemark::testing {

// A fresh folder under the system's temporary folder, removed with everything in
// it when the object goes away.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    // Path() joined with a relative path.
    std::string operator/(std::string_view relative) const;

    // Writes `bytes` to the relative path, making its folders; returns the full path.
    std::string WriteFile(std::string_view relative, std::string_view bytes) const;
    // Makes a folder (and its parents); returns the full path.
    std::string MakeFolder(std::string_view relative) const;

private:
    std::string path_;
};

// The whole content of a file ("" when it cannot be read).
std::string ReadFileBytes(const std::string& path);

}  // namespace versemark::testing
