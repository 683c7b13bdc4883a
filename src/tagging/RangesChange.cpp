// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagging/RangesChange.h"

#include <algorithm>

namespace versemark {
namespace {

std::uint64_t EndOf(const ByteRange& range) {
    return range.Offset + range.Old.size();
}

// True when the range runs to the old file's end, so it may change the length.
bool ReachesEnd(const ByteRange& range, std::uint64_t oldLength) {
    return EndOf(range) == oldLength;
}

// The change an edit list makes to the file as it is now; false when an edit
// lies beyond the file or the edits are out of order.
bool ReadOldBytes(RandomAccessFile& file, const std::vector<RangeEdit>& edits, RangesChange& change,
                  std::string& reason) {
    const auto length = file.Length();
    if (!length) {
        reason = file.ErrorText();
        return false;
    }
    change.OldLength = *length;
    std::uint64_t done = 0;
    for (std::size_t i = 0; i < edits.size(); ++i) {
        const RangeEdit& edit = edits[i];
        const bool last = i + 1 == edits.size();
        const std::uint64_t oldSize =
            edit.ToEnd && edit.Offset <= *length ? *length - edit.Offset : edit.New.size();
        if (edit.Offset < done || edit.Offset > *length || oldSize > *length - edit.Offset ||
            (edit.ToEnd && !last)) {
            reason = "a place to write lies beyond the end of the file";
            return false;
        }
        ByteRange range{edit.Offset, {}, edit.New};
        if (!file.ReadAt(edit.Offset, static_cast<std::size_t>(oldSize), range.Old)) {
            reason = file.ErrorText();
            return false;
        }
        done = EndOf(range);
        change.Ranges.push_back(std::move(range));
    }
    return true;
}

// Writes the old or the new bytes of every range, in order.
bool WriteBytes(RandomAccessFile& file, const RangesChange& change, bool newBytes) {
    for (const ByteRange& range : change.Ranges) {
        if (!file.WriteAt(range.Offset, newBytes ? range.New : range.Old)) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::uint64_t RangesChange::NewLength() const {
    if (Ranges.empty() || !ReachesEnd(Ranges.back(), OldLength)) {
        return OldLength;
    }
    return Ranges.back().Offset + Ranges.back().New.size();
}

bool RangesChange::HoldsTogether() const {
    std::uint64_t done = 0;
    for (std::size_t i = 0; i < Ranges.size(); ++i) {
        const ByteRange& range = Ranges[i];
        const bool last = i + 1 == Ranges.size();
        if (range.Offset < done || range.Offset > OldLength ||
            range.Old.size() > OldLength - range.Offset ||
            (range.Old.size() != range.New.size() && !(last && ReachesEnd(range, OldLength)))) {
            return false;
        }
        done = EndOf(range);
    }
    return true;
}

RangesChange RangesChange::Reversed() const {
    RangesChange back;
    back.OldLength = NewLength();
    for (const ByteRange& range : Ranges) {
        back.Ranges.push_back({range.Offset, range.New, range.Old});
    }
    return back;
}

std::vector<RangeEdit> RangesChange::Edits() const {
    std::vector<RangeEdit> edits;
    for (const ByteRange& range : Ranges) {
        const bool toEnd = ReachesEnd(range, OldLength) && range.Old.size() != range.New.size();
        edits.push_back({range.Offset, range.New, toEnd});
    }
    return edits;
}

RangesChange TailAsRanges(std::uint64_t offset, std::uint64_t oldLength, std::string oldTail,
                          std::string newTail) {
    RangesChange change;
    change.OldLength = oldLength;
    change.Ranges.push_back({offset, std::move(oldTail), std::move(newTail)});
    return change;
}

bool PutRangesBack(RandomAccessFile& file, const RangesChange& change) {
    // The cut comes after the writes so that a file growing back never holds a
    // gap of zeros, and the flush is tried even when a write failed.
    const bool written = WriteBytes(file, change, false) && file.Truncate(change.OldLength);
    return file.Flush() && written;
}

ReplaceResult ReplaceRanges(RandomAccessFile& file, const std::vector<RangeEdit>& edits,
                            const BeforeRangesWrite& beforeWrite) {
    RangesChange change;
    std::string reason;
    if (!ReadOldBytes(file, edits, change, reason)) {
        return {ReplaceStatus::NotStarted, reason};
    }
    if (beforeWrite && !beforeWrite(change, reason)) {
        return {ReplaceStatus::NotStarted, reason};
    }
    const std::uint64_t newLength = change.NewLength();
    const bool replaced = WriteBytes(file, change, true) &&
                          (newLength >= change.OldLength || file.Truncate(newLength)) &&
                          file.Flush();
    if (replaced) {
        return {ReplaceStatus::Replaced, {}};
    }
    const std::string failure = file.ErrorText();
    if (PutRangesBack(file, change)) {
        return {ReplaceStatus::PutBack, failure};
    }
    return {ReplaceStatus::LeftChanged, failure};
}

RangesMatch CompareRanges(RandomAccessFile& file, const RangesChange& change) {
    const auto length = file.Length();
    if (!length) {
        return RangesMatch::Unreadable;
    }
    const std::uint64_t newLength = change.NewLength();
    // A write of the new bytes and a put-back of the old ones both write the
    // ranges in order, then set the length: between, the length lies between the
    // two, and each byte of a range is the old or the new one at its place.
    if (*length < std::min(change.OldLength, newLength) ||
        *length > std::max(change.OldLength, newLength)) {
        return RangesMatch::Neither;
    }
    bool old = *length == change.OldLength;
    bool written = *length == newLength;
    std::string bytes;
    for (const ByteRange& range : change.Ranges) {
        const std::uint64_t wanted = std::max(range.Old.size(), range.New.size());
        const std::uint64_t count = std::min(wanted, *length - std::min(range.Offset, *length));
        if (!file.ReadAt(range.Offset, static_cast<std::size_t>(count), bytes)) {
            return RangesMatch::Unreadable;
        }
        old = old && bytes == range.Old;
        written = written && bytes == range.New;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const bool wasOld = i < range.Old.size() && bytes[i] == range.Old[i];
            const bool isNew = i < range.New.size() && bytes[i] == range.New[i];
            if (!wasOld && !isNew) {
                return RangesMatch::Neither;
            }
        }
    }
    if (old) {
        return RangesMatch::Old;
    }
    return written ? RangesMatch::New : RangesMatch::Mixed;
}

bool HoldsNewBytes(RandomAccessFile& file, const RangesChange& change) {
    const auto length = file.Length();
    std::string bytes;
    for (const ByteRange& range : change.Ranges) {
        if (!length || *length < range.Offset + range.New.size() ||
            !file.ReadAt(range.Offset, range.New.size(), bytes) || bytes != range.New) {
            return false;
        }
    }
    return true;
}

}  // namespace versemark
