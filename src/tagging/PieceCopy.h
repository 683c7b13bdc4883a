// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/RandomAccessFile.h"
#include "tagging/Journal.h"
#include "tagging/TagResult.h"
#include "tags/PieceTable.h"

namespace versemark {

// Writes the file at `path` (open as `source`, which really lies at `realPath`
// when that is given, as WriteCopyJournaled takes it) anew as `table`, pieces
// over its bytes: streamed into a copy beside it, flushed and renamed over it.
// The journal keeps the old file as pieces over the new one (the stretches the
// new file still holds, and the old bytes it lacks) with the new file's length
// and checksum, so that undo can give the old bytes back. `source` is closed
// before the rename.
TagResult WritePiecesByCopy(RandomAccessFile& source, const std::string& path,
                            const std::string& realPath, const PieceTable& table,
                            PassJournal* journal);

// The checksum (TailChecksum) of the first `length` bytes of `file`, read a
// block at a time; nullopt when a read fails.
std::optional<std::uint64_t> FileChecksum(RandomAccessFile& file, std::uint64_t length);

}  // namespace versemark
