// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/RandomAccessFile.h"

namespace versemark {

// A new file in the folder of an existing one, written whole and then put in its
// place by one rename, so that the name always leads to either the old or the
// new content, whatever happens in between. The new file has the old one's
// permission bits (and its owner and group where the system lets this program
// give them); on Windows its attributes (hidden, system, archive, not indexed).
// Going away without Commit removes the new file.
class ReplacementFile {
  public:
    virtual ~ReplacementFile() = default;

    // The new file, empty at first, for reads and writes.
    virtual RandomAccessFile& File() = 0;

    // Flushes the new file to the disk and renames it over the old one. On false
    // the old file is unchanged, the new one is gone and `reason` says why.
    virtual bool Commit(std::string& reason) = 0;
};

// The new file's name in the folder: hidden, this prefix and this many letters or
// digits, short enough for any file name limit.
inline constexpr std::string_view kReplacementNamePrefix = ".versemark-";
inline constexpr std::size_t kReplacementNameLetters = 6;

// Told the new file's full path before the file is made, so that a journal can
// name it; false makes nothing, and the creation fails with `reason`.
using BeforeReplacementCreate =
    std::function<bool(const std::string& newPath, std::string& reason)>;

// Whether a link as the replaced file's name is followed (the file it leads to
// is replaced, the link stays) or refused (the caller resolved the path itself).
enum class ReplacementLinks { Follow, Refuse };

// Creates the new file for `path` (a link as its name followed or refused as
// `links` says). nullptr, with `reason` set, when `path` is not a
// regular file this user may write (on Windows a read-only file counts as one
// this user may not write), or the folder takes no new file. A name is told to
// `beforeCreate` only when no file has it; should one get it before the new file
// is made, the creation fails rather than tell another name.
std::unique_ptr<ReplacementFile> CreateReplacementFile(
    const std::string& path, std::string& reason, const BeforeReplacementCreate& beforeCreate = {},
    ReplacementLinks links = ReplacementLinks::Follow);

}  // namespace versemark
