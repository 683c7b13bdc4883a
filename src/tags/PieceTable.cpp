// SPDX-License-Identifier: GPL-3.0-or-later
#include "tags/PieceTable.h"

#include <algorithm>

namespace versemark {
namespace {

// Two changed stretches of one piece closer than this are journaled as one: a
// record per byte would cost more than the equal bytes between.
constexpr std::uint64_t kJoinGap = 16;

Piece SourcePiece(std::uint64_t start, std::uint64_t length) {
    return Piece{true, start, length, {}};
}

Piece NewBytesPiece(std::string bytes) {
    const std::uint64_t length = bytes.size();
    return Piece{false, 0, length, std::move(bytes)};
}

// The stretches where `oldBytes` and `newBytes` (of one length) differ, at
// `offset`, added to `ranges`.
void AddDifferences(std::uint64_t offset, std::string_view oldBytes, std::string_view newBytes,
                    std::vector<ChangedRange>& ranges) {
    std::size_t at = 0;
    const std::size_t size = newBytes.size();
    while (at < size) {
        if (oldBytes[at] == newBytes[at]) {
            ++at;
            continue;
        }
        const std::size_t begin = at;
        std::size_t end = at + 1;
        std::size_t equal = 0;
        for (std::size_t i = end; i < size && equal < kJoinGap; ++i) {
            if (oldBytes[i] != newBytes[i]) {
                end = i + 1;
                equal = 0;
            } else {
                ++equal;
            }
        }
        ranges.push_back({offset + begin, std::string(oldBytes.substr(begin, end - begin)),
                          std::string(newBytes.substr(begin, end - begin))});
        at = end;
    }
}

// Appends the source bytes [begin, end) to `pieces` as new bytes, joined with
// new bytes just before them.
bool AddSourceBytes(std::uint64_t begin, std::uint64_t end, const SourceReader& readSource,
                    std::vector<Piece>& pieces) {
    std::string bytes;
    if (!readSource(begin, static_cast<std::size_t>(end - begin), bytes)) {
        return false;
    }
    if (!pieces.empty() && !pieces.back().FromSource) {
        pieces.back().Bytes += bytes;
        pieces.back().Length += bytes.size();
    } else {
        pieces.push_back(NewBytesPiece(std::move(bytes)));
    }
    return true;
}

}  // namespace

PieceTable::PieceTable(std::uint64_t sourceLength) : length_(sourceLength) {
    if (sourceLength > 0) {
        pieces_.push_back(SourcePiece(0, sourceLength));
    }
}

PieceTable::PieceTable(std::vector<Piece> pieces) : pieces_(std::move(pieces)) {
    for (const Piece& piece : pieces_) {
        length_ += piece.Length;
    }
}

std::size_t PieceTable::SplitAt(std::uint64_t at) {
    std::uint64_t start = 0;
    for (std::size_t i = 0; i < pieces_.size(); ++i) {
        if (start == at) {
            return i;
        }
        const std::uint64_t end = start + pieces_[i].Length;
        if (at < end) {
            const std::uint64_t keep = at - start;
            Piece rest = pieces_[i];
            rest.Length -= keep;
            if (rest.FromSource) {
                rest.SourceStart += keep;
            } else {
                rest.Bytes.erase(0, static_cast<std::size_t>(keep));
                pieces_[i].Bytes.resize(static_cast<std::size_t>(keep));
            }
            pieces_[i].Length = keep;
            pieces_.insert(pieces_.begin() + static_cast<std::ptrdiff_t>(i) + 1, std::move(rest));
            return i + 1;
        }
        start = end;
    }
    return pieces_.size();
}

void PieceTable::InsertPiece(std::size_t index, Piece piece) {
    // New bytes beside new bytes become one piece, so that a writer's many
    // small writes keep the list short.
    if (index > 0 && !pieces_[index - 1].FromSource) {
        Piece& before = pieces_[index - 1];
        before.Bytes += piece.Bytes;
        before.Length += piece.Length;
        return;
    }
    if (index < pieces_.size() && !pieces_[index].FromSource) {
        Piece& after = pieces_[index];
        after.Bytes.insert(0, piece.Bytes);
        after.Length += piece.Length;
        return;
    }
    pieces_.insert(pieces_.begin() + static_cast<std::ptrdiff_t>(index), std::move(piece));
}

void PieceTable::Write(std::uint64_t at, std::string_view bytes) {
    if (at > length_) {
        Truncate(at);
    }
    Remove(at, std::min<std::uint64_t>(bytes.size(), length_ - at));
    Insert(at, bytes);
}

void PieceTable::Insert(std::uint64_t at, std::string_view bytes) {
    if (bytes.empty() || at > length_) {
        return;
    }
    InsertPiece(SplitAt(at), NewBytesPiece(std::string(bytes)));
    length_ += bytes.size();
}

void PieceTable::Remove(std::uint64_t at, std::uint64_t count) {
    if (at >= length_) {
        return;
    }
    count = std::min(count, length_ - at);
    const std::size_t first = SplitAt(at);
    const std::size_t last = SplitAt(at + count);
    pieces_.erase(pieces_.begin() + static_cast<std::ptrdiff_t>(first),
                  pieces_.begin() + static_cast<std::ptrdiff_t>(last));
    length_ -= count;
}

void PieceTable::Truncate(std::uint64_t length) {
    if (length < length_) {
        Remove(length, length_ - length);
    } else if (length > length_) {
        Insert(length_, std::string(static_cast<std::size_t>(length - length_), '\0'));
    }
}

bool PieceTable::Read(std::uint64_t at, std::size_t count, std::string& out,
                      const SourceReader& readSource) const {
    out.clear();
    std::uint64_t start = 0;
    for (const Piece& piece : pieces_) {
        const std::uint64_t end = start + piece.Length;
        if (out.size() == count) {
            break;
        }
        if (at < end) {
            const std::uint64_t from = at - start;
            const auto take = static_cast<std::size_t>(
                std::min<std::uint64_t>(piece.Length - from, count - out.size()));
            if (piece.FromSource) {
                std::string bytes;
                if (!readSource(piece.SourceStart + from, take, bytes)) {
                    return false;
                }
                out += bytes;
            } else {
                out.append(piece.Bytes, static_cast<std::size_t>(from), take);
            }
            at += take;
        }
        start = end;
    }
    return true;
}

bool PieceTable::KeepsSourceLayout(std::uint64_t sourceLength) const {
    std::uint64_t start = 0;
    for (const Piece& piece : pieces_) {
        if (piece.FromSource && piece.SourceStart != start) {
            return false;
        }
        start += piece.Length;
    }
    return length_ == sourceLength;
}

std::optional<std::vector<ChangedRange>> ChangedRanges(const PieceTable& table,
                                                       const SourceReader& readSource) {
    std::vector<ChangedRange> ranges;
    std::uint64_t start = 0;
    for (const Piece& piece : table.Pieces()) {
        if (!piece.FromSource) {
            std::string old;
            if (!readSource(start, piece.Bytes.size(), old)) {
                return std::nullopt;
            }
            AddDifferences(start, old, piece.Bytes, ranges);
        }
        start += piece.Length;
    }
    return ranges;
}

std::optional<std::vector<Piece>> InversePieces(const PieceTable& table, std::uint64_t sourceLength,
                                                const SourceReader& readSource) {
    // Each source piece of the content with where it lies in the content.
    struct Found {
        std::uint64_t SourceStart = 0;
        std::uint64_t Length = 0;
        std::uint64_t At = 0;
    };
    std::vector<Found> found;
    std::uint64_t at = 0;
    for (const Piece& piece : table.Pieces()) {
        if (piece.FromSource) {
            found.push_back({piece.SourceStart, piece.Length, at});
        }
        at += piece.Length;
    }
    std::sort(found.begin(), found.end(),
              [](const Found& a, const Found& b) { return a.SourceStart < b.SourceStart; });
    std::vector<Piece> pieces;
    std::uint64_t next = 0;  // the first source byte not described yet
    for (const Found& stretch : found) {
        const std::uint64_t end = std::min(stretch.SourceStart + stretch.Length, sourceLength);
        if (end <= next) {
            continue;
        }
        const std::uint64_t begin = std::max(next, stretch.SourceStart);
        if (begin > next && !AddSourceBytes(next, begin, readSource, pieces)) {
            return std::nullopt;
        }
        pieces.push_back(SourcePiece(stretch.At + (begin - stretch.SourceStart), end - begin));
        next = end;
    }
    if (next < sourceLength && !AddSourceBytes(next, sourceLength, readSource, pieces)) {
        return std::nullopt;
    }
    return pieces;
}

}  // namespace versemark
