// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RandomAccessFile.h"
#include "tags/TailReplace.h"

// Changing a file in place at several places at once: each range's bytes are
// replaced by as many new ones, and the last range may instead run to the file's
// end and be replaced by a tail of another length. The old bytes are known before
// the first byte changes, so the file can always be given back its old state.
namespace versemark {

// One place of the file: its old and its new bytes.
struct ByteRange {
    std::uint64_t Offset = 0;
    std::string Old;
    std::string New;  // as long as Old, unless the range runs to the file's old end
};

// One range to write: `New` at `Offset`; with `ToEnd`, the bytes from `Offset` to
// the file's end are replaced by `New` (only the last edit may do that).
struct RangeEdit {
    std::uint64_t Offset = 0;
    std::string New;
    bool ToEnd = false;
};

// The change of one file: its ranges in ascending order, none overlapping.
struct RangesChange {
    std::vector<ByteRange> Ranges;
    std::uint64_t OldLength = 0;

    // The length after the change: another only when the last range reaches the end.
    std::uint64_t NewLength() const;
    // True when the ranges lie in order within the old file, and only one that
    // reaches its end changes its length.
    bool HoldsTogether() const;
    // The change that takes this one back.
    RangesChange Reversed() const;
    // The edits that make this change: the new bytes at each place, the last
    // range to the file's end when it changes the length.
    std::vector<RangeEdit> Edits() const;
};

// The same change seen as ranges: one range, from the tail's offset to the end.
RangesChange TailAsRanges(std::uint64_t offset, std::uint64_t oldLength, std::string oldTail,
                          std::string newTail);

// Called with the change before the first byte is written; false stops the
// write with nothing written (the reason given in `reason`).
using BeforeRangesWrite = std::function<bool(const RangesChange& change, std::string& reason)>;

// Reads the old bytes of every edit, calls `beforeWrite` (when set), writes each
// range, sets the new length and flushes. When a write, the cut or the flush
// fails, the old bytes and length are put back.
ReplaceResult ReplaceRanges(RandomAccessFile& file, const std::vector<RangeEdit>& edits,
                            const BeforeRangesWrite& beforeWrite = {});

// Puts the old bytes of every range back, sets the old length and flushes.
bool PutRangesBack(RandomAccessFile& file, const RangesChange& change);

// How a file compares with a change: exactly the old or the new state, a mix of
// the two that only a write or put-back cut short leaves (each byte of each range
// old or new at its place, the length between the two), or something else.
enum class RangesMatch { Old, New, Mixed, Neither, Unreadable };
RangesMatch CompareRanges(RandomAccessFile& file, const RangesChange& change);

// True when every range still holds its new bytes, whatever the file's length.
bool HoldsNewBytes(RandomAccessFile& file, const RangesChange& change);

}  // namespace versemark
