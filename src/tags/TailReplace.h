// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/RandomAccessFile.h"

// Replacing the tail of a file (from a write offset to the end) so that, as far
// as the file itself allows, it ends up with either the old tail or the new one.
namespace versemark {

// The old and the new tail of one file, known before its first byte changes.
struct TailChange {
    std::uint64_t Offset = 0;
    std::uint64_t OldLength = 0;
    std::string OldTail;  // the bytes from Offset to OldLength
    std::string_view NewTail;

    std::uint64_t NewLength() const { return Offset + NewTail.size(); }
};

enum class ReplaceStatus {
    Replaced,     // the new tail is in place and flushed
    NotStarted,   // nothing was written: the old tail could not be read or was not to be changed
    PutBack,      // a write or the flush failed; the old tail and length are back
    LeftChanged,  // a write failed and putting the old tail back failed too
};

struct ReplaceResult {
    ReplaceStatus Status = ReplaceStatus::NotStarted;
    std::string Reason;  // the system's words for the failure; empty when replaced
};

// Called with the change before the first byte is written; false stops the
// replacement with nothing written (the reason given in `reason`).
using BeforeTailWrite = std::function<bool(const TailChange& change, std::string& reason)>;

// Reads the old tail at `offset`, calls `beforeWrite` (when set), writes
// `newTail`, cuts the file when it is shorter and flushes it. When a write, the
// cut or the flush fails, the old tail and length are put back.
ReplaceResult ReplaceTail(RandomAccessFile& file, std::uint64_t offset, std::string_view newTail,
                          const BeforeTailWrite& beforeWrite = {});

// Puts `oldTail` back at `offset`, sets the length to `oldLength` and flushes.
bool PutTailBack(RandomAccessFile& file, std::uint64_t offset, std::string_view oldTail,
                 std::uint64_t oldLength);

}  // namespace versemark
