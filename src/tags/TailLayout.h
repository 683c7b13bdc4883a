// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string_view>

// The byte layout of an MP3 file's tail, from lower to higher offsets:
//
//   ... audio ... | Lyrics3 tag (v1 or v2.00, optional) | ID3v1 block (128 bytes, optional)
//                                                        ^ E = LyricsEnd
//
// ID3v1 block (the last 128 bytes when they begin with "TAG"):
//   0 "TAG" | 3 Title 30 | 33 Artist 30 | 63 Album 30 | 93 Year 4 | 97 Comment 28 |
//   125 zero byte | 126 track | 127 genre (255 = none)
//
// Lyrics3 v1:   "LYRICSBEGIN" lyrics "LYRICSEND"         (begin searched in E-5120..E-1)
// Lyrics3 v2:   S: "LYRICSBEGIN" field... size(6 digits) trailer(9, "LYRICS200")
//   field:      id(3) size(5 digits) data(size bytes)
//   size counts "LYRICSBEGIN" and the fields: the tag takes size + 15 bytes, S = E-15-size.
namespace versemark::tail {

// ID3v1 block.
inline constexpr std::size_t kId3v1Size = 128;
inline constexpr std::string_view kId3v1Marker = "TAG";
inline constexpr std::size_t kId3TagIdOffset = 0;
inline constexpr std::size_t kId3TagIdWidth = 3;
inline constexpr std::size_t kId3TitleOffset = 3;
inline constexpr std::size_t kId3TitleWidth = 30;
inline constexpr std::size_t kId3ArtistOffset = 33;
inline constexpr std::size_t kId3ArtistWidth = 30;
inline constexpr std::size_t kId3AlbumOffset = 63;
inline constexpr std::size_t kId3AlbumWidth = 30;
inline constexpr std::size_t kId3YearOffset = 93;
inline constexpr std::size_t kId3YearWidth = 4;
inline constexpr std::size_t kId3CommentOffset = 97;
inline constexpr std::size_t kId3CommentWidth = 28;
inline constexpr std::size_t kId3ZeroByteOffset = 125;
inline constexpr std::size_t kId3TrackOffset = 126;
inline constexpr std::size_t kId3GenreOffset = 127;
inline constexpr unsigned char kGenreNone = 255;
inline constexpr std::string_view kBlankYear = "    ";

// Lyrics3 markers.
inline constexpr std::string_view kLyricsBegin = "LYRICSBEGIN";
inline constexpr std::size_t kLyricsBeginSize = 11;
inline constexpr std::string_view kLyricsV1End = "LYRICSEND";
inline constexpr std::string_view kTrailerV200 = "LYRICS200";
inline constexpr std::string_view kTrailerV2Prefix = "LYRICS2";
inline constexpr std::string_view kTrailerAnyPrefix = "LYRICS";
inline constexpr std::size_t kTrailerSize = 9;

// Lyrics3 v1.
inline constexpr std::size_t kV1SearchWindow = 5120;

// Lyrics3 v2 sizes and fields.
inline constexpr std::size_t kTagSizeDigits = 6;
inline constexpr std::size_t kTagOverhead = kTagSizeDigits + kTrailerSize;  // 15
inline constexpr std::size_t kMaxTagSize = 999999;
inline constexpr std::size_t kFieldIdSize = 3;
inline constexpr std::size_t kFieldSizeDigits = 5;
inline constexpr std::size_t kFieldHeaderSize = kFieldIdSize + kFieldSizeDigits;  // 8
inline constexpr std::size_t kMaxFieldData = 99999;

// Fields the system sets.
inline constexpr std::string_view kFieldInd = "IND";
inline constexpr std::string_view kFieldLyrics = "LYR";
inline constexpr std::string_view kIndLyricsPresent = "100";

// Stored text never holds the character 255: it becomes a blank.
inline constexpr char kForbiddenChar = '\xFF';
inline constexpr char kForbiddenReplacement = ' ';

}  // namespace versemark::tail
