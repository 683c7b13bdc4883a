#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Turning the bytes of names, paths and lyrics into text a terminal shows: bytes
// that are valid UTF-8 stay as they are, anything else is read as Windows-1252
// (the companion's code page) and converted to UTF-8, as the window does.
namespace versemark::cli {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// Every byte as its Windows-1252 character, written as UTF-8. The five bytes the
// code page leaves undefined become the control characters of the same value.
std::string Cp1252ToUtf8(std::string_view bytes);

// The bytes unchanged when they are valid UTF-8, else Cp1252ToUtf8.
std::string DisplayText(std::string_view bytes);

// DisplayText applied to each component of a path separately, so a file name in
// the companion's code page does not garble a UTF-8 folder name in front of it.
std::string DisplayPath(std::string_view path);

// Lyrics for a terminal: NUL bytes (the padding of a field rewritten with
// shorter text) left out, DisplayText, and a final line end when there is none.
std::string LyricsForTerminal(std::string_view bytes);

// Columns the UTF-8 text takes: its code points, less combining marks.
std::size_t DisplayWidth(std::string_view utf8);

}  // namespace versemark::cli
