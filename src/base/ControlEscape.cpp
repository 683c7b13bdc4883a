// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/ControlEscape.h"

namespace versemark {

namespace {

constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;
// U+0080 to U+009F in UTF-8: the lead C2 and the second bytes 80 to 9F.
constexpr unsigned char kC1Lead = 0xC2;
constexpr unsigned char kFirstC1Second = 0x80;
constexpr unsigned char kLastC1Second = 0x9F;

constexpr std::string_view kEscapeStart = "\\x";
constexpr char kUpperHexDigits[] = "0123456789ABCDEF";
constexpr unsigned kHighNibbleShift = 4;
constexpr unsigned char kLowNibble = 0x0F;

bool IsC0OrDelete(unsigned char byte) {
    return byte < kFirstPrintable || byte == kDelete;
}

bool StartsC1(std::string_view text, std::size_t at) {
    if (static_cast<unsigned char>(text[at]) != kC1Lead || at + 1 >= text.size()) {
        return false;
    }
    const auto second = static_cast<unsigned char>(text[at + 1]);
    return second >= kFirstC1Second && second <= kLastC1Second;
}

void AppendEscaped(std::string& out, unsigned char byte) {
    out += kEscapeStart;
    out += kUpperHexDigits[byte >> kHighNibbleShift];
    out += kUpperHexDigits[byte & kLowNibble];
}

}  // namespace

std::string EscapeControls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (IsC0OrDelete(byte)) {
            AppendEscaped(out, byte);
        } else if (StartsC1(text, at)) {
            AppendEscaped(out, byte);
            AppendEscaped(out, static_cast<unsigned char>(text[++at]));
        } else {
            out += text[at];
        }
    }
    return out;
}

}  // namespace versemark
