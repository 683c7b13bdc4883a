// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The tail of an MP3 file in memory: the ID3v1 block, the Lyrics3 fields, and the
// word that classifies the Lyrics3 tail. Byte layout in TailLayout.h.
namespace versemark {

struct Id3v1Tag {
    std::string TagId;    // 3 bytes
    std::string Title;    // 30
    std::string Artist;   // 30
    std::string Album;    // 30
    std::string Year;     // 4
    std::string Comment;  // 28
    std::uint8_t ZeroByte = 0;
    std::uint8_t Track = 0;
    std::uint8_t Genre = 0;

    bool IsPresent() const;  // TagId is "TAG"
};

// The record from exactly 128 bytes, byte for byte.
Id3v1Tag Id3v1FromBytes(std::string_view block);
// The 128 bytes of a record (text fields cut or NUL-padded to their widths).
std::string Id3v1ToBytes(const Id3v1Tag& tag);

struct Lyrics3Field {
    std::string FieldId;  // 3 characters
    std::string FieldData;
};

using FieldList = std::vector<Lyrics3Field>;

// TagKind: the word GetLyricsTagKind gives for the 9 bytes in front of LyricsEnd.
using TagKind = std::string;
inline constexpr std::string_view kKindLyrics3v1 = "Lyrics3v1";
inline constexpr std::string_view kKindLyrics200 = "LYRICS200";
inline constexpr std::string_view kKindVersionHigher = "LyricsVersionHigher";
inline constexpr std::string_view kKindNoLyrics = "NoLyrics";

// The kind for a 9-byte trailer (the table of the tag inspection).
TagKind TagKindFromTrailer(std::string_view nineBytes);
// First 7 characters "LYRICS2": a version 2 tag, "LYRICS200" included.
bool IsLyrics3v2Kind(std::string_view kind);

}  // namespace versemark
