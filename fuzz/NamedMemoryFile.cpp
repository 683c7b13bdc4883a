// SPDX-License-Identifier: GPL-3.0-or-later
#include "NamedMemoryFile.h"

#include <sys/mman.h>
#include <unistd.h>

#include "Check.h"

namespace versemark::fuzz {

NamedMemoryFile::NamedMemoryFile(const char* name) : fd_(memfd_create(name, 0)) {
    Check(fd_ >= 0, "a file in memory can be made");
    path_ = "/proc/self/fd/" + std::to_string(fd_);
}

NamedMemoryFile::~NamedMemoryFile() {
    close(fd_);
}

const std::string& NamedMemoryFile::Write(std::string_view bytes) {
    const bool written = ftruncate(fd_, 0) == 0 && pwrite(fd_, bytes.data(), bytes.size(), 0) ==
                                                       static_cast<ssize_t>(bytes.size());
    Check(written, "a file in memory can be written");
    return path_;
}

}  // namespace versemark::fuzz
