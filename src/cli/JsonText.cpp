// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/JsonText.h"

namespace versemark::cli {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;
// U+0080 to U+009F, the C1 controls, in UTF-8: C2 followed by 80 to 9F.
constexpr unsigned char kC1Lead = 0xC2;
constexpr unsigned char kFirstC1Second = 0x80;
constexpr unsigned char kLastC1Second = 0x9F;

void AppendCodeEscape(std::string& out, unsigned char code) {
    out += "\\u00";
    out += kHexDigits[code >> 4];
    out += kHexDigits[code & 0x0F];
}

}  // namespace

std::string JsonString(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size() + 2);
    out += '"';
    for (std::size_t at = 0; at < utf8.size(); ++at) {
        const char c = utf8[at];
        const auto byte = static_cast<unsigned char>(c);
        const auto next =
            at + 1 < utf8.size() ? static_cast<unsigned char>(utf8[at + 1]) : kFirstPrintable;
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < kFirstPrintable || byte == kDelete) {
            AppendCodeEscape(out, byte);
        } else if (byte == kC1Lead && next >= kFirstC1Second && next <= kLastC1Second) {
            AppendCodeEscape(out, next);  // the code point U+0080-U+009F is its second byte
            ++at;
        } else {
            out += c;
        }
    }
    out += '"';
    return out;
}

}  // namespace versemark::cli
