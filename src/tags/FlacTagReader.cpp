// SPDX-License-Identifier: GPL-3.0-or-later
#include "tags/AudioTag.h"
#include "tags/ByteOrder.h"
#include "tags/FormatLayout.h"

namespace versemark {
namespace {

// Where the first metadata block starts: past "fLaC", itself past an ID3v2 tag
// where one starts the file.
std::optional<std::uint64_t> FirstBlock(RandomAccessFile& file, std::uint64_t length) {
    const std::optional<std::uint64_t> start = AudioStart(file);
    std::string marker;
    if (!start || *start + flac::kMarker.size() > length ||
        !file.ReadAt(*start, flac::kMarker.size(), marker) || marker != flac::kMarker) {
        return std::nullopt;
    }
    return *start + flac::kMarker.size();
}

}  // namespace

std::optional<AudioTag> ReadFlacTag(RandomAccessFile& file) {
    const std::optional<std::uint64_t> length = file.Length();
    if (!length) {
        return std::nullopt;
    }
    std::optional<std::uint64_t> at = FirstBlock(file, *length);
    std::string header;
    // Every block header moves on by at least its own size, so the walk ends.
    while (at && *at + flac::kBlockHeaderSize <= *length) {
        if (!file.ReadAt(*at, flac::kBlockHeaderSize, header)) {
            return std::nullopt;
        }
        const auto flags = static_cast<unsigned char>(header[0]);
        const std::uint64_t blockLength = BigEndian(
            std::string_view(header).substr(flac::kBlockLengthOffset), flac::kBlockLengthWidth);
        const std::uint64_t data = *at + flac::kBlockHeaderSize;
        if (blockLength > *length - data) {
            return std::nullopt;
        }
        if ((flags & flac::kBlockTypeMask) == flac::kBlockTypeVorbisComment) {
            std::string comment;
            if (!file.ReadAt(data, static_cast<std::size_t>(blockLength), comment)) {
                return std::nullopt;
            }
            return ParseVorbisComment(comment);
        }
        if (flags & flac::kLastBlockFlag) {
            return std::nullopt;
        }
        at = data + blockLength;  // pictures and the rest are skipped unread
    }
    return std::nullopt;
}

}  // namespace versemark
