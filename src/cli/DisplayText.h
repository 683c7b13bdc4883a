// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Names, paths and lyrics for a terminal, on top of the one display-text
// conversion of the core (DisplayUtf8: UTF-8 kept, anything else read as
// Windows-1252, the companion's code page, as the window does).
namespace versemark::cli {

// DisplayUtf8 applied to each component of a path separately, so a file name in
// the companion's code page does not garble a UTF-8 folder name in front of it.
// For the JSON output, whose strings escape control characters themselves.
std::string PathAsUtf8(std::string_view path);

// What a terminal is given of a path: PathAsUtf8 with its control characters
// escaped (EscapeControls), so that a name cannot move the cursor, start an
// escape sequence or forge a line.
std::string DisplayPath(std::string_view path);

// What a terminal is given of a name or other text from the files: DisplayUtf8
// with its control characters escaped as in DisplayPath.
std::string DisplayName(std::string_view bytes);

// Lyrics for a terminal: NUL bytes (the padding of a field rewritten with
// shorter text) left out, DisplayUtf8, and a final line end when there is none.
std::string LyricsForTerminal(std::string_view bytes);

// Columns the UTF-8 text takes: its code points, less combining marks.
std::size_t DisplayWidth(std::string_view utf8);

}  // namespace versemark::cli
