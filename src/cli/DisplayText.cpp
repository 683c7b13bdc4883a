#include "cli/DisplayText.h"

#include <array>
#include <cstdint>

#include "platform/FileSystem.h"

namespace versemark::cli {

namespace {

// Code points of the bytes 0x80..0x9F in Windows-1252; the undefined five map to
// themselves. 0xA0..0xFF equal their Latin-1 code points.
constexpr std::array<std::uint16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

constexpr unsigned char kFirstHighByte = 0x80;
constexpr unsigned char kFirstLatin1Byte = 0xA0;

void AppendUtf8(std::string& out, std::uint32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Length of the well-formed sequence starting at `i`, or 0 when it is not one.
std::size_t SequenceLength(std::string_view bytes, std::size_t i) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = at(i);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    unsigned char secondMin = 0x80;
    unsigned char secondMax = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) {
            secondMin = 0xA0;  // no overlong forms
        } else if (lead == 0xED) {
            secondMax = 0x9F;  // no surrogates
        }
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) {
            secondMin = 0x90;
        } else if (lead == 0xF4) {
            secondMax = 0x8F;  // nothing above U+10FFFF
        }
    } else {
        return 0;
    }
    if (bytes.size() - i < length) {
        return 0;
    }
    if (at(i + 1) < secondMin || at(i + 1) > secondMax) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if (!IsContinuation(at(i + k))) {
            return 0;
        }
    }
    return length;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t length = SequenceLength(bytes, i);
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < kFirstHighByte || byte >= kFirstLatin1Byte) {
            AppendUtf8(out, byte);
        } else {
            AppendUtf8(out, kCp1252High[byte - kFirstHighByte]);
        }
    }
    return out;
}

std::string DisplayText(std::string_view bytes) {
    return IsValidUtf8(bytes) ? std::string(bytes) : Cp1252ToUtf8(bytes);
}

std::string DisplayPath(std::string_view path) {
    std::string out;
    out.reserve(path.size());
    std::size_t start = 0;
    while (true) {
        const std::size_t separator = path.find(kPathSeparator, start);
        const std::size_t end = separator == std::string_view::npos ? path.size() : separator;
        out += DisplayText(path.substr(start, end - start));
        if (separator == std::string_view::npos) {
            return out;
        }
        out += kPathSeparator;
        start = separator + 1;
    }
}

std::string LyricsForTerminal(std::string_view bytes) {
    std::string withoutNuls;
    withoutNuls.reserve(bytes.size());
    for (const char c : bytes) {
        if (c != '\0') {
            withoutNuls += c;
        }
    }
    std::string text = DisplayText(withoutNuls);
    if (!text.empty() && text.back() != '\n') {
        text += "\r\n";
    }
    return text;
}

std::size_t DisplayWidth(std::string_view utf8) {
    std::size_t width = 0;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::size_t length = SequenceLength(utf8, i);
        if (length == 0) {
            ++width;
            ++i;
            continue;
        }
        // Combining diacritical marks U+0300..U+036F (CC 80 .. CD AF) take no column.
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const bool combining =
            length == 2 &&
            (lead == 0xCC || (lead == 0xCD && static_cast<unsigned char>(utf8[i + 1]) <= 0xAF));
        if (!combining) {
            ++width;
        }
        i += length;
    }
    return width;
}

}  // namespace versemark::cli
