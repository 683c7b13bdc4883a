#include "matching/TextFold.h"

#include <algorithm>

namespace versemark {
namespace {

bool IsContinuation(unsigned char c) {
    return c >= 0x80 && c <= 0xBF;
}

// Length of the well-formed UTF-8 sequence starting at `i`, or 1 when the byte
// does not start one (it is then a Windows-1252 character).
std::size_t SequenceLength(const std::string& text, std::size_t i) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
    }
    if (length == 1 || i + length > text.size()) {
        return 1;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if (!IsContinuation(static_cast<unsigned char>(text[i + k]))) {
            return 1;
        }
    }
    return length;
}

unsigned char FoldWindows1252(unsigned char c) {
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

}  // namespace

void FoldCaseInPlace(std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t length = SequenceLength(text, i);
        if (length == 1) {
            text[i] = static_cast<char>(FoldWindows1252(static_cast<unsigned char>(text[i])));
        } else if (length == 2 && static_cast<unsigned char>(text[i]) == 0xC3) {
            // Latin-1 capitals U+00C0..U+00DE (not U+00D7) become their small letters.
            const unsigned char second = static_cast<unsigned char>(text[i + 1]);
            if (second >= 0x80 && second <= 0x9E && second != 0x97) {
                text[i + 1] = static_cast<char>(second + 0x20);
            }
        }
        i += length;
    }
}

std::string FoldCase(std::string_view text) {
    std::string folded(text);
    FoldCaseInPlace(folded);
    return folded;
}

int CompareFolded(std::string_view a, std::string_view b) {
    const std::string fa = FoldCase(a);
    const std::string fb = FoldCase(b);
    const int byFold = std::string_view(fa).compare(fb);
    return byFold < 0 ? -1 : (byFold > 0 ? 1 : 0);
}

}  // namespace versemark
