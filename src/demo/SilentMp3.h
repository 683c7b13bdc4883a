// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

namespace versemark {

// `frameCount` MPEG-1 Layer III frames (128 kbit/s, 44.1 kHz, no padding, no CRC)
// whose side information and main data are all zero: valid audio that decodes to
// silence, 417 bytes a frame (about 26 ms each).
std::string SilentMp3Audio(std::size_t frameCount);

inline constexpr std::size_t kSilentFrameSize = 417;

}  // namespace versemark
