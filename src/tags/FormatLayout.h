// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The byte layouts of the other audio formats' tags, as far as Versemark reads
// them: the FLAC metadata blocks, the Ogg pages with their Vorbis and Opus header
// packets, the Vorbis comment both carry, and the MP4 boxes down to the item list.
namespace versemark {

// FLAC: "fLaC", then metadata blocks, each a 4-byte header and its data:
//   [0]    bit 7: last block; bits 0-6: block type
//   [1..3] data length, big-endian
namespace flac {
inline constexpr std::string_view kMarker = "fLaC";
inline constexpr std::size_t kBlockHeaderSize = 4;
inline constexpr unsigned kLastBlockFlag = 0x80;
inline constexpr unsigned kBlockTypeMask = 0x7F;
inline constexpr unsigned kBlockTypeVorbisComment = 4;
inline constexpr std::size_t kBlockLengthOffset = 1;
inline constexpr std::size_t kBlockLengthWidth = 3;
}  // namespace flac

// Ogg page: a 27-byte header, a segment table, the segments.
//   [0..3]   "OggS"
//   [4]      version, [5] header type
//   [6..13]  granule position, [14..17] stream serial number (little-endian)
//   [18..21] page sequence number, [22..25] checksum
//   [26]     number of segments; then one length byte per segment
// A packet is the segments up to and including the first shorter than 255 bytes;
// it may run on across pages of the same stream.
namespace ogg {
inline constexpr std::string_view kCapturePattern = "OggS";
inline constexpr std::size_t kPageHeaderSize = 27;
inline constexpr std::size_t kSerialOffset = 14;
inline constexpr std::size_t kSerialWidth = 4;
inline constexpr std::size_t kSegmentCountOffset = 26;
inline constexpr std::size_t kFullSegment = 255;
// The first packet starts the identification header, the second the comment
// header: a Vorbis header's type byte and "vorbis", or Opus's own magic.
inline constexpr std::string_view kVorbisIdentification{"\x01vorbis", 7};
inline constexpr std::string_view kVorbisComment{"\x03vorbis", 7};
inline constexpr std::string_view kOpusIdentification = "OpusHead";
inline constexpr std::string_view kOpusComment = "OpusTags";
// The longest comment packet read (pictures included); a longer one is no tag.
inline constexpr std::size_t kMostCommentPacket = 64u * 1024 * 1024;
}  // namespace ogg

// Vorbis comment (FLAC block data; Ogg comment packet after its magic), all
// lengths 32-bit little-endian:
//   vendor length, vendor string, comment count, then per comment its length and
//   "NAME=value" (name compared without regard to case, value UTF-8)
namespace vorbis {
inline constexpr std::size_t kLengthWidth = 4;
inline constexpr char kNameEnd = '=';
inline constexpr std::string_view kArtist = "ARTIST";
inline constexpr std::string_view kTitle = "TITLE";
inline constexpr std::string_view kAlbum = "ALBUM";
inline constexpr std::string_view kTrack = "TRACKNUMBER";
inline constexpr std::string_view kDate = "DATE";
inline constexpr std::string_view kComment = "COMMENT";
inline constexpr std::string_view kLyrics = "LYRICS";
inline constexpr std::string_view kUnsyncedLyrics = "UNSYNCEDLYRICS";
}  // namespace vorbis

// MP4 box: 32-bit big-endian size (the whole box), 4-byte type; size 1: a 64-bit
// size follows the type; size 0: the box runs to the end of its container. The
// tag lies in moov/udta/meta/ilst; "meta" is a full box (4 bytes of version and
// flags before its children). Each item of "ilst" holds a "data" box:
//   [0..3] version and type (1: UTF-8 text), [4..7] locale, then the value
// The track item's value: 2 reserved bytes, the track (16-bit big-endian), the count.
namespace mp4 {
inline constexpr std::size_t kBoxHeaderSize = 8;
inline constexpr std::size_t kLargeSizeWidth = 8;
inline constexpr std::size_t kTypeOffset = 4;
inline constexpr std::size_t kTypeWidth = 4;
inline constexpr std::uint64_t kSizeIsLarge = 1;
inline constexpr std::uint64_t kSizeToEnd = 0;
inline constexpr std::size_t kFullBoxHeaderSize = 4;
inline constexpr std::size_t kDataPrefixSize = 8;
inline constexpr std::size_t kTrackNumberOffset = 2;
inline constexpr std::size_t kTrackNumberWidth = 2;
inline constexpr std::string_view kFileType = "ftyp";
inline constexpr std::string_view kMovie = "moov";
inline constexpr std::string_view kUserData = "udta";
inline constexpr std::string_view kMeta = "meta";
inline constexpr std::string_view kItemList = "ilst";
inline constexpr std::string_view kData = "data";
inline constexpr std::string_view kArtist =
    "\xA9"
    "ART";
inline constexpr std::string_view kTitle =
    "\xA9"
    "nam";
inline constexpr std::string_view kAlbum =
    "\xA9"
    "alb";
inline constexpr std::string_view kTrack = "trkn";
inline constexpr std::string_view kDate =
    "\xA9"
    "day";
inline constexpr std::string_view kComment =
    "\xA9"
    "cmt";
inline constexpr std::string_view kLyrics =
    "\xA9"
    "lyr";
// The longest item value read; a longer one is left out.
inline constexpr std::uint64_t kMostItemSize = 16u * 1024 * 1024;
}  // namespace mp4

}  // namespace versemark
