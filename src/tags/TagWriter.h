// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/RandomAccessFile.h"
#include "tags/TagRecords.h"

namespace versemark {

// The data a field gets for `text`: cut to 99999 bytes (never inside a UTF-8
// character when the text is valid UTF-8), 255 made a blank.
std::string Lyrics3FieldText(std::string_view text);

// Sets the field `fieldId` to Lyrics3FieldText of `text`,
// padding with NULs to the old length when the field held longer data; adds the
// field at the end when the list has none of that id. Later fields of the same
// id are dropped, so the one set is the one read back.
void SetLyrics3Field(FieldList& fields, std::string_view fieldId, std::string_view text);

// Brings the first "IND" field to index 0 by exchanging it with the field there.
void MoveIndFirst(FieldList& fields);

// The bytes of a version 2 tag: "LYRICSBEGIN", the fields ("IND" moved first),
// the size, the trailer. nullopt when the tag cannot be laid out: a field id that
// is not 3 characters, field data over 99999 characters, a tag size over 999999
// or a trailer that is not 9 characters.
std::optional<std::string> BuildLyrics3v2Tag(FieldList& fields, std::string_view trailer);

// Writes the tag at S and the ID3v1 block right behind it. The old tail (S to the
// end of the file) is read first; the file is cut to end with the ID3v1 block
// when the new tail is shorter; when any write or the length change fails the
// old tail and length are put back. True when the new tail is in place.
bool WriteLyrics3Tag(FieldList& fields, const Id3v1Tag& id3, RandomAccessFile& file,
                     std::uint64_t writeOffset, std::string_view trailer);

Id3v1Tag BuildId3v1Tag(std::string_view artist, std::string_view title, std::string_view album,
                       std::string_view year, std::string_view comment, std::uint8_t track,
                       std::uint8_t genre);

// Width above 0: cut (valid UTF-8 never inside a character) and NUL-padded to
// exactly `width` bytes. Then 255 becomes a blank.
std::string FitText(std::string_view text, std::size_t width);

// "Some Band - Song - Live" gives "Some Band" and "Song - Live".
std::string ArtistFromName(std::string_view lyricsName);
std::string TitleFromName(std::string_view lyricsName);

}  // namespace versemark
