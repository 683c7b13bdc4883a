// SPDX-License-Identifier: GPL-3.0-or-later
#include "matching/ByteClasses.h"

#include "matching/FoldStream.h"

namespace versemark {
namespace {

constexpr unsigned char kFirstNonAscii = 0x80;

}  // namespace

ByteClasses::ByteClasses(std::string_view wordBytes) {
    std::array<bool, kByteValues> used{};
    for (unsigned char b : wordBytes) {
        used[b] = true;
    }
    for (std::size_t b = 0; b < kByteValues; ++b) {
        ofFolded_[b] = used[b] ? static_cast<std::uint8_t>(count_++) : 0;
    }
    // An ASCII byte always folds alone. A non-ASCII byte folds to itself inside a
    // UTF-8 sequence, as a Windows-1252 character when alone, or one case step up
    // after the lead of U+00C0..U+00FF; it needs its context only when one of those
    // is a byte of some word.
    for (std::size_t b = 0; b < kByteValues; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        const unsigned char alone = fold::kSingleByteFold[byte];
        if (byte < kFirstNonAscii) {
            ofText_[b] = ofFolded_[alone];
            continue;
        }
        const bool latinCapital = byte >= fold::kLatinCapitalFirst &&
                                  byte <= fold::kLatinCapitalLast &&
                                  byte != fold::kMultiplicationSign;
        const bool needsContext = ofFolded_[byte] != 0 || ofFolded_[alone] != 0 ||
                                  (latinCapital && ofFolded_[byte + fold::kLatinCaseOffset] != 0);
        ofText_[b] = needsContext ? kNeedsContext : 0;
    }
}

// Bytes that need no context take their class from a table. A byte that does is
// folded together with its whole run of non-ASCII bytes: the fold starts afresh at
// every ASCII byte, since UTF-8 sequences never hold one.
void ByteClasses::OfText(std::string_view text, std::vector<std::uint8_t>& out) const {
    const std::size_t size = text.size();
    out.resize(size);  // the fold keeps the length
    std::uint8_t* classes = out.data();
    auto nonAscii = [&](std::size_t i) {
        return static_cast<unsigned char>(text[i]) >= kFirstNonAscii;
    };
    std::size_t i = 0;
    while (i < size) {
        const std::uint16_t known = ofText_[static_cast<unsigned char>(text[i])];
        if (known != kNeedsContext) {
            classes[i++] = static_cast<std::uint8_t>(known);
            continue;
        }
        std::size_t start = i;
        while (start > 0 && nonAscii(start - 1)) {
            --start;
        }
        std::size_t end = i;
        while (end < size && nonAscii(end)) {
            ++end;
        }
        std::size_t at = start;
        ForEachFoldedByte(text.substr(start, end - start),
                          [&](unsigned char b) { classes[at++] = ofFolded_[b]; });
        i = end;
    }
}

}  // namespace versemark
