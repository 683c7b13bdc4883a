// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string_view>

// The one measure of a UTF-8 sequence, shared by the display conversion and the
// case fold of the matcher (inline: the fold calls it for every byte above ASCII).
namespace versemark {
namespace utf8 {

// UTF-8 lead bytes by sequence length, and the continuation bytes' range.
inline constexpr unsigned char kFirstHighByte = 0x80;
inline constexpr unsigned char kFirstTwoByteLead = 0xC2;  // 0xC0, 0xC1 only start overlong forms
inline constexpr unsigned char kFirstThreeByteLead = 0xE0;
inline constexpr unsigned char kFirstFourByteLead = 0xF0;
inline constexpr unsigned char kLastFourByteLead = 0xF4;
inline constexpr unsigned char kFirstContinuation = 0x80;
inline constexpr unsigned char kLastContinuation = 0xBF;
// Second bytes narrowed for the leads that could otherwise make an overlong form,
// a surrogate (ED A0-BF) or a code point above U+10FFFF (F4 90-BF).
inline constexpr unsigned char kShortestAfterE0 = 0xA0;
inline constexpr unsigned char kSurrogateLead = 0xED;
inline constexpr unsigned char kLastBeforeSurrogates = 0x9F;
inline constexpr unsigned char kShortestAfterF0 = 0x90;
inline constexpr unsigned char kLastBelowTopPlane = 0x8F;
// The byte-order mark some editors put at the start of a UTF-8 file.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

constexpr bool IsContinuation(unsigned char c) {
    return c >= kFirstContinuation && c <= kLastContinuation;
}

}  // namespace utf8

// The length of the well-formed UTF-8 sequence that starts at `at` (1 to 4), or 0
// when none starts there. Strict: no overlong forms, no surrogates, nothing above
// U+10FFFF, no sequence cut short by the end of `bytes`.
inline std::size_t Utf8SequenceLength(std::string_view bytes, std::size_t at) {
    using namespace utf8;
    if (at >= bytes.size()) {
        return 0;
    }
    const auto lead = static_cast<unsigned char>(bytes[at]);
    if (lead < kFirstHighByte) {
        return 1;
    }
    std::size_t length = 0;
    unsigned char secondMin = kFirstContinuation;
    unsigned char secondMax = kLastContinuation;
    if (lead >= kFirstTwoByteLead && lead < kFirstThreeByteLead) {
        length = 2;
    } else if (lead >= kFirstThreeByteLead && lead < kFirstFourByteLead) {
        length = 3;
        if (lead == kFirstThreeByteLead) {
            secondMin = kShortestAfterE0;
        } else if (lead == kSurrogateLead) {
            secondMax = kLastBeforeSurrogates;
        }
    } else if (lead >= kFirstFourByteLead && lead <= kLastFourByteLead) {
        length = 4;
        if (lead == kFirstFourByteLead) {
            secondMin = kShortestAfterF0;
        } else if (lead == kLastFourByteLead) {
            secondMax = kLastBelowTopPlane;
        }
    } else {
        return 0;
    }
    if (bytes.size() - at < length) {
        return 0;
    }
    const auto second = static_cast<unsigned char>(bytes[at + 1]);
    if (second < secondMin || second > secondMax) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if (!IsContinuation(static_cast<unsigned char>(bytes[at + k]))) {
            return 0;
        }
    }
    return length;
}

}  // namespace versemark
