// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace versemark::fuzz {

// A file in memory that has a path, for code that opens files by name: one per
// process, rewritten for every input (a file on disk costs more than the rest of
// a run). Linux only, as the fuzz targets are.
class NamedMemoryFile {
  public:
    explicit NamedMemoryFile(const char* name);
    ~NamedMemoryFile();
    NamedMemoryFile(const NamedMemoryFile&) = delete;
    NamedMemoryFile& operator=(const NamedMemoryFile&) = delete;

    // Replaces the content and returns the path that opens it.
    const std::string& Write(std::string_view bytes);

  private:
    int fd_;
    std::string path_;
};

}  // namespace versemark::fuzz
