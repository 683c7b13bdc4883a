// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// The text an MP3 file is matched on, and its normalisation.
namespace versemark {

// The text an MP3 file is matched on, before normalisation: its path without the
// extension, its first 500 bytes, and the ID3v1 fields when present.
std::string BuildMp3Text(std::string_view base, std::string_view head, std::string_view id3Block);

// The normalisation of a text before the words are looked for: NULs removed, then
// the first "LAME3", the first "ID3", the first five "'" and the first five "_".
std::string NormaliseMp3Text(std::string_view text);

// NormaliseMp3Text(BuildMp3Text(base, head, id3Block)) in one pass, without the
// text in between.
std::string NormalisedMp3Text(std::string_view base, std::string_view head,
                              std::string_view id3Block);
// The same into `text`, whose buffer is reused.
void NormalisedMp3Text(std::string_view base, std::string_view head, std::string_view id3Block,
                       std::string& text);

}  // namespace versemark
