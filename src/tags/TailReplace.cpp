// SPDX-License-Identifier: GPL-3.0-or-later
#include "tags/TailReplace.h"

namespace versemark {

bool PutTailBack(RandomAccessFile& file, std::uint64_t offset, std::string_view oldTail,
                 std::uint64_t oldLength) {
    // The cut comes after the write so that a file growing back never holds a
    // gap of zeros, and the flush is tried even when the write failed.
    const bool written = file.WriteAt(offset, oldTail);
    const bool cut = written && file.Truncate(oldLength);
    return file.Flush() && cut;
}

ReplaceResult ReplaceTail(RandomAccessFile& file, std::uint64_t offset, std::string_view newTail,
                          const BeforeTailWrite& beforeWrite) {
    const auto oldLength = file.Length();
    if (!oldLength) {
        return {ReplaceStatus::NotStarted, file.ErrorText()};
    }
    if (offset > *oldLength) {
        return {ReplaceStatus::NotStarted, "the tag's place lies beyond the end of the file"};
    }
    TailChange change;
    change.Offset = offset;
    change.OldLength = *oldLength;
    change.NewTail = newTail;
    if (!file.ReadAt(offset, static_cast<std::size_t>(*oldLength - offset), change.OldTail)) {
        return {ReplaceStatus::NotStarted, file.ErrorText()};
    }
    std::string reason;
    if (beforeWrite && !beforeWrite(change, reason)) {
        return {ReplaceStatus::NotStarted, reason};
    }

    const std::uint64_t newLength = change.NewLength();
    const bool replaced = file.WriteAt(offset, newTail) &&
                          (newLength >= *oldLength || file.Truncate(newLength)) && file.Flush();
    if (replaced) {
        return {ReplaceStatus::Replaced, {}};
    }
    const std::string failure = file.ErrorText();
    if (PutTailBack(file, offset, change.OldTail, *oldLength)) {
        return {ReplaceStatus::PutBack, failure};
    }
    return {ReplaceStatus::LeftChanged, failure};
}

}  // namespace versemark
