#pragma once

#include <cstddef>
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

}  // namespace versemark
