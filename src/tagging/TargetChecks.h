// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "platform/RandomAccessFile.h"
#include "tags/ContentKind.h"

namespace versemark {

inline constexpr std::string_view kReasonLinkOut = "reached through a link out of the folder";
inline constexpr std::string_view kReasonNotMpeg = "not an MPEG audio file";
inline constexpr std::string_view kReasonNoWritePermission = "no write permission";
inline constexpr std::string_view kReasonLyricsNoReadPermission =
    "the lyrics file has no read permission for this user";

// Where a row's MP3 file really lies: the path to open (every link resolved,
// or the path as given when it cannot be resolved: the open then fails), and
// whether it lies outside the folder tagged, reached through a link.
struct TaggingTarget {
    std::string OpenPath;
    bool OutOfFolder = false;
};

// Resolves `mp3Path` against `folder`, the folder tagged (for one file without
// a folder: the file's own folder).
TaggingTarget ResolveTaggingTarget(const std::string& mp3Path, const std::string& folder);

// Why the target, open as `file`, may not be tagged; empty when it may. A file
// reached through a link out of the folder is written only when the running
// user owns it and is not the administrator; a file whose permissions deny this
// user writing is left alone even where the administrator could write it; and
// only MPEG audio is tagged, or with `allFormats` also FLAC, Ogg and MP4 files
// (whatever the file's name). The kind of a file that may be tagged goes to
// `kind` when given.
std::string TargetRefusal(RandomAccessFile& file, const TaggingTarget& target, bool allFormats,
                          ContentKind* kind = nullptr);

}  // namespace versemark
