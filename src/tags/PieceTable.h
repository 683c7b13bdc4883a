// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A file's new content described as a list of pieces over its unchanged source:
// stretches of the source's bytes and new bytes in between. Writes, inserts,
// removals and cuts change only the list, so a writer's edits can be looked at
// (and the source left alone) before any byte of the real file changes.
namespace versemark {

// One stretch of the content: `Length` bytes of the source from `SourceStart`,
// or the new bytes `Bytes` (then Length == Bytes.size()).
struct Piece {
    bool FromSource = true;
    std::uint64_t SourceStart = 0;
    std::uint64_t Length = 0;
    std::string Bytes;

    bool operator==(const Piece&) const = default;
};

// Reads exactly `count` source bytes at `offset` into `out`; false when it cannot.
using SourceReader = std::function<bool(std::uint64_t offset, std::size_t count, std::string& out)>;

class PieceTable {
  public:
    // The content equal to a source of `sourceLength` bytes.
    explicit PieceTable(std::uint64_t sourceLength);
    // The content made of `pieces`.
    explicit PieceTable(std::vector<Piece> pieces);

    std::uint64_t Length() const { return length_; }
    const std::vector<Piece>& Pieces() const { return pieces_; }

    // Overwrites from `at`, growing the content where the bytes reach past its end;
    // a gap between the end and `at` is filled with zero bytes.
    void Write(std::uint64_t at, std::string_view bytes);
    // Puts `bytes` in front of the byte at `at` (at most Length()).
    void Insert(std::uint64_t at, std::string_view bytes);
    // Takes out `count` bytes from `at` (what lies past the end is ignored).
    void Remove(std::uint64_t at, std::uint64_t count);
    // Cuts the content to `length` bytes, or grows it with zero bytes.
    void Truncate(std::uint64_t length);

    // Reads up to `count` bytes from `at` (fewer at the end) into `out`; false when
    // a source read fails.
    bool Read(std::uint64_t at, std::size_t count, std::string& out,
              const SourceReader& readSource) const;

    // True when the content has the source's length and every source piece lies
    // at its own offset: only bytes were overwritten, none moved.
    bool KeepsSourceLayout(std::uint64_t sourceLength) const;

  private:
    // Splits the piece that holds `at` so that one begins there; the index of the
    // piece that begins at `at` (pieces_.size() at the end).
    std::size_t SplitAt(std::uint64_t at);
    void InsertPiece(std::size_t index, Piece piece);

    std::vector<Piece> pieces_;
    std::uint64_t length_ = 0;
};

// One stretch of a file that a same-length rewrite changes: its old and new bytes.
struct ChangedRange {
    std::uint64_t Offset = 0;
    std::string OldBytes;
    std::string NewBytes;

    bool operator==(const ChangedRange&) const = default;
};

// The stretches of the source that `table` (which keeps the source's layout)
// really changes: new bytes equal to the source's are left out. Stretches closer
// together than a few bytes are joined. nullopt when a source read fails.
std::optional<std::vector<ChangedRange>> ChangedRanges(const PieceTable& table,
                                                       const SourceReader& readSource);

// The source described as pieces over the content of `table`: each stretch of
// the source still found in the content refers to where it lies there, and what
// the content lacks is kept as literal bytes read from the source. So the source
// can be rebuilt from the content and these pieces alone. nullopt when a source
// read fails.
std::optional<std::vector<Piece>> InversePieces(const PieceTable& table, std::uint64_t sourceLength,
                                                const SourceReader& readSource);

}  // namespace versemark
