// SPDX-License-Identifier: GPL-3.0-or-later
#include "tags/TagRecords.h"

#include "tags/TailLayout.h"

namespace versemark {
namespace {

// The bytes of one ID3v1 field; a block shorter than 128 bytes reads as NULs.
std::string BlockField(std::string_view block, std::size_t offset, std::size_t width) {
    std::string field(width, '\0');
    if (offset < block.size()) {
        const std::string_view present = block.substr(offset, width);
        field.replace(0, present.size(), present);
    }
    return field;
}

std::uint8_t BlockByte(std::string_view block, std::size_t offset) {
    return offset < block.size() ? static_cast<std::uint8_t>(block[offset]) : 0;
}

// Writes `text` into the block at `offset`, cut or NUL-padded to `width`. No
// other change: a block read from a file goes back byte for byte.
void PutField(std::string& block, std::size_t offset, std::size_t width, std::string_view text) {
    const std::string_view fitted = text.substr(0, width);
    block.replace(offset, fitted.size(), fitted);
}

}  // namespace

bool Id3v1Tag::IsPresent() const {
    return TagId == tail::kId3v1Marker;
}

Id3v1Tag Id3v1FromBytes(std::string_view block) {
    using namespace tail;
    Id3v1Tag tag;
    tag.TagId = BlockField(block, kId3TagIdOffset, kId3TagIdWidth);
    tag.Title = BlockField(block, kId3TitleOffset, kId3TitleWidth);
    tag.Artist = BlockField(block, kId3ArtistOffset, kId3ArtistWidth);
    tag.Album = BlockField(block, kId3AlbumOffset, kId3AlbumWidth);
    tag.Year = BlockField(block, kId3YearOffset, kId3YearWidth);
    tag.Comment = BlockField(block, kId3CommentOffset, kId3CommentWidth);
    tag.ZeroByte = BlockByte(block, kId3ZeroByteOffset);
    tag.Track = BlockByte(block, kId3TrackOffset);
    tag.Genre = BlockByte(block, kId3GenreOffset);
    return tag;
}

std::string Id3v1ToBytes(const Id3v1Tag& tag) {
    using namespace tail;
    std::string block(kId3v1Size, '\0');
    PutField(block, kId3TagIdOffset, kId3TagIdWidth, tag.TagId);
    PutField(block, kId3TitleOffset, kId3TitleWidth, tag.Title);
    PutField(block, kId3ArtistOffset, kId3ArtistWidth, tag.Artist);
    PutField(block, kId3AlbumOffset, kId3AlbumWidth, tag.Album);
    PutField(block, kId3YearOffset, kId3YearWidth, tag.Year);
    PutField(block, kId3CommentOffset, kId3CommentWidth, tag.Comment);
    block[kId3ZeroByteOffset] = static_cast<char>(tag.ZeroByte);
    block[kId3TrackOffset] = static_cast<char>(tag.Track);
    block[kId3GenreOffset] = static_cast<char>(tag.Genre);
    return block;
}

TagKind TagKindFromTrailer(std::string_view nineBytes) {
    using namespace tail;
    if (nineBytes == kLyricsV1End) {
        return TagKind(kKindLyrics3v1);
    }
    if (nineBytes == kTrailerV200) {
        return TagKind(kKindLyrics200);
    }
    if (nineBytes.starts_with(kTrailerV2Prefix)) {
        return TagKind(nineBytes);
    }
    if (nineBytes.starts_with(kTrailerAnyPrefix)) {
        return TagKind(kKindVersionHigher);
    }
    return TagKind(kKindNoLyrics);
}

bool IsLyrics3v2Kind(std::string_view kind) {
    return kind.starts_with(tail::kTrailerV2Prefix);
}

}  // namespace versemark
