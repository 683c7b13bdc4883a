// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/Companion.h"

// The tail that tagging gives a file without tags, spelled out from the layout:
//   "LYRICSBEGIN" | "IND" 00003 "100" | "LYR" nnnnn lyrics | size(6) | "LYRICS200" |
//   "TAG" title(30) artist(30) album(30) year(4) comment(28) 0 track genre
namespace versemark::testing {

inline std::string ZeroPadded(std::size_t value, std::size_t width) {
    std::string digits = std::to_string(value);
    return std::string(width > digits.size() ? width - digits.size() : 0, '0') + digits;
}

inline std::string NulPadded(std::string_view text, std::size_t width) {
    std::string field(text.substr(0, width));
    field.resize(width, '\0');
    return field;
}

// A lyrics file's text as stored when it has no footer: the text, CR LF, the credit.
inline std::string StoredLyrics(std::string_view fileText) {
    return std::string(fileText) + "\r\nLyrics by Songleaf (" +
           std::string(companion::kWebAddress) + ")";
}

inline std::string NewTail(std::string_view storedLyrics, std::string_view title,
                           std::string_view artist) {
    const std::string fields =
        "IND00003100LYR" + ZeroPadded(storedLyrics.size(), 5) + std::string(storedLyrics);
    const std::string tag =
        "LYRICSBEGIN" + fields + ZeroPadded(11 + fields.size(), 6) + "LYRICS200";
    const std::string id3 = "TAG" + NulPadded(title, 30) + NulPadded(artist, 30) +
                            NulPadded("", 30) + "    " + NulPadded("", 28) + std::string(1, '\0') +
                            std::string(1, '\0') + "\xFF";
    return tag + id3;
}

}  // namespace versemark::testing
