// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Unsigned numbers of `width` bytes read from the front of `bytes`, which must
// hold that many: little-endian (Vorbis comments, Ogg pages) or big-endian (FLAC
// block headers, MP4 boxes).
namespace versemark {

inline std::uint64_t LittleEndian(std::string_view bytes, std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t i = width; i > 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[i - 1]);
    }
    return value;
}

inline std::uint64_t BigEndian(std::string_view bytes, std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    }
    return value;
}

}  // namespace versemark
