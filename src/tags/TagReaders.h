// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/RandomAccessFile.h"
#include "tags/TagRecords.h"

// Readers of an open MP3 file's tail. None writes; none throws. Every size and
// offset taken from the file is checked against the file before it is used.
namespace versemark {

// The last 128 bytes as a record, whatever they hold; nullopt when the file is
// shorter than 128 bytes or cannot be read.
std::optional<Id3v1Tag> ReadId3v1Tag(RandomAccessFile& file);

// E: the file length less 128 when `tag` is present, else the file length.
std::uint64_t LyricsEnd(std::uint64_t fileLength, const Id3v1Tag& tag);

// The kind of Lyrics3 tail ending at E; nullopt when E is below 9 or the read fails.
std::optional<TagKind> GetLyricsTagKind(RandomAccessFile& file, std::uint64_t lyricsEnd);

// Fills `fields` with the fields of the version 2 tag ending at E and returns its
// start offset S; returns E when the tag is unreadable (fields read before the
// fault stay in the list) and nullopt when a read of the file fails. Every size
// the writer writes is read (tag sizes to 999999, field sizes to 99999, any
// number of fields); a size that is not all digits, a tag reaching in front of
// the file and a field reaching past the tag make the tag unreadable. Fields of
// size zero are skipped.
std::optional<std::uint64_t> ReadLyrics3v2Fields(FieldList& fields, RandomAccessFile& file,
                                                 std::uint64_t lyricsEnd);

// Puts the lyrics of the version 1 tag ending at E into `fields` as "IND" and
// "LYR" and returns its start offset S; returns E when it cannot be found and
// nullopt when a read of the file fails.
std::optional<std::uint64_t> ReadLyrics3v1Field(FieldList& fields, RandomAccessFile& file,
                                                std::uint64_t lyricsEnd);

// The data of the first field with this id, or empty text.
std::string GetLyrics3Field(const FieldList& fields, std::string_view fieldId);

}  // namespace versemark
