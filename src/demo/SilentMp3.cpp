// SPDX-License-Identifier: GPL-3.0-or-later
#include "demo/SilentMp3.h"

namespace versemark {

std::string SilentMp3Audio(std::size_t frameCount) {
    // Frame header: sync 11 bits, MPEG-1, Layer III, no CRC | 128 kbit/s, 44.1 kHz,
    // no padding | joint stereo off (stereo), no emphasis.
    static constexpr unsigned char kHeader[4] = {0xFF, 0xFB, 0x90, 0x00};
    std::string frame(kSilentFrameSize, '\0');
    for (std::size_t i = 0; i < sizeof kHeader; ++i) {
        frame[i] = static_cast<char>(kHeader[i]);
    }
    std::string audio;
    audio.reserve(frame.size() * frameCount);
    for (std::size_t i = 0; i < frameCount; ++i) {
        audio += frame;
    }
    return audio;
}

}  // namespace versemark
