// SPDX-License-Identifier: GPL-3.0-or-later
#include "tags/MpegFrameHeader.h"

#include <array>
#include <cstdint>

namespace versemark::mpeg {
namespace {

constexpr unsigned kSyncByte = 0xFF;
constexpr unsigned kSyncLowBits = 0xE0;  // the sync's last 3 bits, in the second byte
constexpr unsigned kVersionShift = 3;
constexpr unsigned kLayerShift = 1;
constexpr unsigned kBitRateShift = 4;
constexpr unsigned kSampleRateShift = 2;
constexpr unsigned kPaddingShift = 1;
constexpr unsigned kTwoBits = 0x3;
constexpr unsigned kFourBits = 0xF;

// Version field values.
constexpr unsigned kVersion25 = 0;
constexpr unsigned kVersionReserved = 1;
constexpr unsigned kVersion1 = 3;
// Layer field values.
constexpr unsigned kLayerReserved = 0;
constexpr unsigned kLayer3 = 1;
constexpr unsigned kLayer2 = 2;
constexpr unsigned kLayer1 = 3;
constexpr unsigned kFreeBitRate = 0;
constexpr unsigned kBadBitRate = 15;
constexpr unsigned kReservedSampleRate = 3;
constexpr unsigned kReservedEmphasis = 2;

// Bit rates in kbit/s by index 1 to 14.
using BitRates = std::array<std::uint32_t, 15>;
constexpr BitRates kMpeg1Layer1 = {0,   32,  64,  96,  128, 160, 192, 224,
                                   256, 288, 320, 352, 384, 416, 448};
constexpr BitRates kMpeg1Layer2 = {0,   32,  48,  56,  64,  80,  96, 112,
                                   128, 160, 192, 224, 256, 320, 384};
constexpr BitRates kMpeg1Layer3 = {0,   32,  40,  48,  56,  64,  80, 96,
                                   112, 128, 160, 192, 224, 256, 320};
constexpr BitRates kMpeg2Layer1 = {0,   32,  48,  56,  64,  80,  96, 112,
                                   128, 144, 160, 176, 192, 224, 256};
constexpr BitRates kMpeg2Layer23 = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};

// Sample rates in Hz of MPEG-1 by index; MPEG-2 halves them, MPEG-2.5 quarters them.
constexpr std::array<std::uint32_t, 3> kMpeg1SampleRates = {44100, 48000, 32000};
constexpr std::uint32_t kMpeg2Divisor = 2;
constexpr std::uint32_t kMpeg25Divisor = 4;

constexpr std::uint32_t kBitsPerKbit = 1000;
// Bytes a frame holds per bit/s of bit rate over the sample rate, and Layer I's
// slot width.
constexpr std::uint32_t kLayer1Factor = 12;
constexpr std::uint32_t kLayer1SlotBytes = 4;
constexpr std::uint32_t kLayer23Factor = 144;
constexpr std::uint32_t kMpeg2Layer3Factor = 72;

const BitRates& BitRateTable(unsigned version, unsigned layer) {
    if (version == kVersion1) {
        return layer == kLayer1 ? kMpeg1Layer1 : layer == kLayer2 ? kMpeg1Layer2 : kMpeg1Layer3;
    }
    return layer == kLayer1 ? kMpeg2Layer1 : kMpeg2Layer23;
}

std::uint32_t SampleRate(unsigned version, unsigned index) {
    const std::uint32_t rate = kMpeg1SampleRates[index];
    if (version == kVersion1) {
        return rate;
    }
    return rate / (version == kVersion25 ? kMpeg25Divisor : kMpeg2Divisor);
}

}  // namespace

std::optional<std::size_t> FrameLength(std::string_view bytes) {
    if (bytes.size() < kHeaderSize) {
        return std::nullopt;
    }
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (byte(0) != kSyncByte || (byte(1) & kSyncLowBits) != kSyncLowBits) {
        return std::nullopt;
    }
    const unsigned version = (byte(1) >> kVersionShift) & kTwoBits;
    const unsigned layer = (byte(1) >> kLayerShift) & kTwoBits;
    const unsigned bitRateIndex = (byte(2) >> kBitRateShift) & kFourBits;
    const unsigned sampleRateIndex = (byte(2) >> kSampleRateShift) & kTwoBits;
    const unsigned padding = (byte(2) >> kPaddingShift) & 1U;
    const unsigned emphasis = byte(3) & kTwoBits;
    if (version == kVersionReserved || layer == kLayerReserved || bitRateIndex == kFreeBitRate ||
        bitRateIndex == kBadBitRate || sampleRateIndex == kReservedSampleRate ||
        emphasis == kReservedEmphasis) {
        return std::nullopt;
    }
    const std::uint32_t bitRate = BitRateTable(version, layer)[bitRateIndex] * kBitsPerKbit;
    const std::uint32_t sampleRate = SampleRate(version, sampleRateIndex);
    if (layer == kLayer1) {
        return (kLayer1Factor * bitRate / sampleRate + padding) * kLayer1SlotBytes;
    }
    const std::uint32_t factor =
        layer == kLayer3 && version != kVersion1 ? kMpeg2Layer3Factor : kLayer23Factor;
    return factor * bitRate / sampleRate + padding;
}

}  // namespace versemark::mpeg
