// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

// The 4-byte header that starts every MPEG audio frame:
//
//   AAAAAAAA AAABBCCD EEEEFFGH IIJJKLMM
//   A sync (all ones)   B version   C layer   D no CRC   E bit rate index
//   F sample rate index G padding   H private I channel mode ...
namespace versemark::mpeg {

inline constexpr std::size_t kHeaderSize = 4;
// Side information of MPEG-1 Layer III in stereo: the most any frame puts
// between its header and its data.
inline constexpr std::size_t kLargestSideInfo = 32;

// The length in bytes of the frame whose header starts `bytes` (at least
// kHeaderSize of them); nullopt when they are no valid frame header.
std::optional<std::size_t> FrameLength(std::string_view bytes);

}  // namespace versemark::mpeg
