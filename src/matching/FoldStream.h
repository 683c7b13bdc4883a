// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "base/Utf8.h"

// The case fold of TextFold.h as a stream: hands each folded byte of a text to a
// callback in one pass, without building the folded copy. FoldCase is built on it;
// the matcher feeds its automaton this way.
namespace versemark {
namespace fold {

// A byte standing alone, as a Windows-1252 character.
constexpr unsigned char FoldSingleByte(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return static_cast<unsigned char>(c + 0x20);
    }
    switch (c) {
        case 0x8A:
            return 0x9A;
        case 0x8C:
            return 0x9C;
        case 0x8E:
            return 0x9E;
        case 0x9F:
            return 0xFF;
        default:
            return c;
    }
}

constexpr std::array<unsigned char, 256> kSingleByteFold = [] {
    std::array<unsigned char, 256> table{};
    for (std::size_t c = 0; c < table.size(); ++c) {
        table[c] = FoldSingleByte(static_cast<unsigned char>(c));
    }
    return table;
}();

constexpr unsigned char kLatinLead = 0xC3;  // U+00C0..U+00FF in UTF-8
constexpr unsigned char kLatinCapitalFirst = 0x80;
constexpr unsigned char kLatinCapitalLast = 0x9E;
constexpr unsigned char kMultiplicationSign = 0x97;
constexpr unsigned char kLatinCaseOffset = 0x20;

}  // namespace fold

template <typename Sink>
inline void ForEachFoldedByte(std::string_view text, Sink&& sink) {
    std::size_t i = 0;
    const std::size_t size = text.size();
    while (i < size) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {  // the common case: ASCII
            sink(fold::kSingleByteFold[c]);
            ++i;
            continue;
        }
        // A byte that starts no well-formed sequence stands alone.
        const std::size_t length = Utf8SequenceLength(text, i);
        if (length <= 1) {
            sink(fold::kSingleByteFold[c]);
            ++i;
            continue;
        }
        unsigned char second = static_cast<unsigned char>(text[i + 1]);
        if (c == fold::kLatinLead && second >= fold::kLatinCapitalFirst &&
            second <= fold::kLatinCapitalLast && second != fold::kMultiplicationSign) {
            second = static_cast<unsigned char>(second + fold::kLatinCaseOffset);
        }
        sink(c);
        sink(second);
        for (std::size_t k = 2; k < length; ++k) {
            sink(static_cast<unsigned char>(text[i + k]));
        }
        i += length;
    }
}

}  // namespace versemark
