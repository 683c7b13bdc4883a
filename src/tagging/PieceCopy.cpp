// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagging/PieceCopy.h"

#include <algorithm>

#include "tagging/JournaledCopy.h"

namespace versemark {
namespace {

// Stretches of the old file are copied in blocks of this size, so that memory
// stays flat whatever the file's size.
constexpr std::size_t kCopyBlockSize = std::size_t{1} << 20;
constexpr std::string_view kReasonUnreadable = "the file cannot be read";

// Streams the pieces into `copy` from its start, adding every byte written to
// `checksum`.
bool WritePieces(RandomAccessFile& source, const PieceTable& table, RandomAccessFile& copy,
                 std::uint64_t& checksum, std::string& reason) {
    std::uint64_t at = 0;
    std::string block;
    const auto write = [&](std::string_view bytes) {
        if (!copy.WriteAt(at, bytes)) {
            reason = "writing the new file failed: " + copy.ErrorText();
            return false;
        }
        checksum = ContinueChecksum(checksum, bytes);
        at += bytes.size();
        return true;
    };
    for (const Piece& piece : table.Pieces()) {
        if (!piece.FromSource) {
            if (!write(piece.Bytes)) {
                return false;
            }
            continue;
        }
        for (std::uint64_t done = 0; done < piece.Length; done += block.size()) {
            const auto count = static_cast<std::size_t>(
                std::min<std::uint64_t>(kCopyBlockSize, piece.Length - done));
            if (!source.ReadAt(piece.SourceStart + done, count, block)) {
                reason = kReasonUnreadable;
                return false;
            }
            if (!write(block)) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

TagResult WritePiecesByCopy(RandomAccessFile& source, const std::string& path,
                            const std::string& realPath, const PieceTable& table,
                            PassJournal* journal) {
    const auto length = source.Length();
    if (!length) {
        return {path, false, std::string(kReasonUnreadable)};
    }
    const SourceReader read = [&](std::uint64_t offset, std::size_t count, std::string& out) {
        return source.ReadAt(offset, count, out);
    };
    const PieceCopyFiller fill = [&](RandomAccessFile& copy, std::optional<PieceUndo>& undo,
                                     std::string& reason) {
        std::uint64_t checksum = TailChecksum({});
        if (!WritePieces(source, table, copy, checksum, reason)) {
            return false;
        }
        auto oldPieces = InversePieces(table, *length, read);
        if (!oldPieces) {
            reason = kReasonUnreadable;
            return false;
        }
        undo = PieceUndo{table.Length(), checksum, std::move(*oldPieces)};
        // Read whole: closed before the rename, which Windows refuses while the
        // file is open.
        source.Close();
        return true;
    };
    return WritePieceCopyJournaled(path, fill, journal, realPath);
}

std::optional<std::uint64_t> FileChecksum(RandomAccessFile& file, std::uint64_t length) {
    std::uint64_t checksum = TailChecksum({});
    std::string block;
    for (std::uint64_t done = 0; done < length; done += block.size()) {
        const auto count =
            static_cast<std::size_t>(std::min<std::uint64_t>(kCopyBlockSize, length - done));
        if (!file.ReadAt(done, count, block)) {
            return std::nullopt;
        }
        checksum = ContinueChecksum(checksum, block);
    }
    return checksum;
}

}  // namespace versemark
