// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "matching/LyricsIndex.h"

// A word of a lyrics name with characters outside ASCII is looked for in both
// encodings an MP3 text may hold it in: Windows-1252 (ID3v1 blocks, the
// companion's code page) and UTF-8 (file names on Linux, ID3v2 text).
namespace versemark {

// The word's other form: its Windows-1252 bytes when the word and its entry's name
// are valid UTF-8 and every character has such a byte; its UTF-8 form when the
// word is Windows-1252. nullopt for an ASCII word and for UTF-8 the code page
// cannot hold.
std::optional<std::string> OtherWordForm(const LyricsEntry& entry, std::string_view word);

// True when every byte of `word` is ASCII: such a word has no other form.
inline bool IsAsciiWord(std::string_view word) {
    constexpr unsigned char kFirstNonAscii = 0x80;
    unsigned char bits = 0;
    for (const char c : word) {
        bits |= static_cast<unsigned char>(c);
    }
    return bits < kFirstNonAscii;
}

}  // namespace versemark
