// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "base/Utf8.h"

// The 8-bit text of names, paths, lyrics and tag data as display text. Files keep
// their bytes; only what is shown is converted: bytes that are valid UTF-8 are
// shown as they are, anything else is read as Windows-1252, the companion's code
// page, one character a byte.
namespace versemark {

// Utf8SequenceLength (base/Utf8.h) measures one sequence.

// True when `bytes` is one well-formed UTF-8 sequence after another.
bool IsValidUtf8(std::string_view bytes);

// Every byte as its Windows-1252 character, written as UTF-8. The five bytes the
// code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control
// characters of the same value.
std::string Windows1252ToUtf8(std::string_view bytes);

// The bytes unchanged when they are valid UTF-8, else Windows1252ToUtf8. One
// invalid byte makes the whole text Windows-1252.
std::string DisplayUtf8(std::string_view bytes);

// The way back, exact: valid UTF-8 whose every character has a Windows-1252 byte
// (U+0000-U+007F, U+00A0-U+00FF and the 27 characters of 0x80-0x9F) becomes those
// bytes. nullopt for anything else: nothing is replaced or dropped.
std::optional<std::string> Utf8ToWindows1252(std::string_view utf8);

// Text that starts with a UTF-16 byte-order mark (FF FE little-endian, FE FF
// big-endian) as UTF-8, the mark dropped; nullopt when it has no such mark, an
// odd number of bytes or a surrogate without its partner.
std::optional<std::string> Utf16WithMarkToUtf8(std::string_view bytes);

// How many of the first `limit` bytes to keep so that valid UTF-8 is not cut
// inside a character; other bytes (one character a byte) are cut at `limit`.
std::size_t CutLength(std::string_view bytes, std::size_t limit);

}  // namespace versemark
