// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CodePage.h"

#include <array>
#include <cstdint>

#include "base/Utf8.h"

namespace versemark {
namespace {

// Windows-1252 differs from Latin-1 only at 0x80-0x9F; the five bytes it leaves
// undefined map to themselves.
using utf8::kFirstContinuation;
using utf8::kFirstHighByte;
using utf8::kLastContinuation;

unsigned char ByteAt(std::string_view bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}
constexpr unsigned char kFirstLatin1Byte = 0xA0;
constexpr std::uint32_t kLastLatin1CodePoint = 0xFF;
constexpr std::array<std::uint16_t, kFirstLatin1Byte - kFirstHighByte> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

// Encoding a code point as UTF-8.
constexpr std::uint32_t kFirstTwoByteCodePoint = 0x80;
constexpr std::uint32_t kFirstThreeByteCodePoint = 0x800;
constexpr std::uint32_t kFirstFourByteCodePoint = 0x10000;
constexpr unsigned char kTwoByteLeadBits = 0xC0;
constexpr unsigned char kThreeByteLeadBits = 0xE0;
constexpr unsigned char kFourByteLeadBits = 0xF0;
constexpr unsigned char kContinuationBits = 0x80;
constexpr unsigned char kSixBits = 0x3F;
constexpr int kBitsPerContinuation = 6;

void AppendUtf8(std::string& out, std::uint32_t codePoint) {
    if (codePoint < kFirstTwoByteCodePoint) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < kFirstThreeByteCodePoint) {
        out += static_cast<char>(kTwoByteLeadBits | (codePoint >> kBitsPerContinuation));
        out += static_cast<char>(kContinuationBits | (codePoint & kSixBits));
    } else if (codePoint < kFirstFourByteCodePoint) {
        out += static_cast<char>(kThreeByteLeadBits | (codePoint >> (2 * kBitsPerContinuation)));
        out +=
            static_cast<char>(kContinuationBits | ((codePoint >> kBitsPerContinuation) & kSixBits));
        out += static_cast<char>(kContinuationBits | (codePoint & kSixBits));
    } else {
        out += static_cast<char>(kFourByteLeadBits | (codePoint >> (3 * kBitsPerContinuation)));
        out += static_cast<char>(kContinuationBits |
                                 ((codePoint >> (2 * kBitsPerContinuation)) & kSixBits));
        out +=
            static_cast<char>(kContinuationBits | ((codePoint >> kBitsPerContinuation) & kSixBits));
        out += static_cast<char>(kContinuationBits | (codePoint & kSixBits));
    }
}

// UTF-16: byte-order marks, and the surrogates that pair up to code points
// above U+FFFF.
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";
constexpr std::size_t kUtf16UnitSize = 2;
constexpr std::uint32_t kFirstHighSurrogate = 0xD800;
constexpr std::uint32_t kFirstLowSurrogate = 0xDC00;
constexpr std::uint32_t kLastLowSurrogate = 0xDFFF;
constexpr int kSurrogateBits = 10;
constexpr int kBitsPerByte = 8;

std::uint32_t Utf16UnitAt(std::string_view bytes, std::size_t at, bool bigEndian) {
    const std::uint32_t first = ByteAt(bytes, at);
    const std::uint32_t second = ByteAt(bytes, at + 1);
    return bigEndian ? (first << kBitsPerByte) | second : (second << kBitsPerByte) | first;
}

// The code point of the well-formed sequence of `length` bytes at `at`.
std::uint32_t DecodeUtf8(std::string_view bytes, std::size_t at, std::size_t length) {
    // The bits a lead byte carries, by sequence length.
    constexpr unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    std::uint32_t codePoint = ByteAt(bytes, at) & kLeadBits[length];
    for (std::size_t k = 1; k < length; ++k) {
        codePoint = (codePoint << kBitsPerContinuation) | (ByteAt(bytes, at + k) & kSixBits);
    }
    return codePoint;
}

// The Windows-1252 byte of a code point, or nullopt when the code page has none.
std::optional<unsigned char> Windows1252Byte(std::uint32_t codePoint) {
    if (codePoint < kFirstHighByte ||
        (codePoint >= kFirstLatin1Byte && codePoint <= kLastLatin1CodePoint)) {
        return static_cast<unsigned char>(codePoint);
    }
    for (std::size_t i = 0; i < kWindows1252High.size(); ++i) {
        // The five undefined bytes stand for controls that are not theirs to give back.
        if (kWindows1252High[i] == codePoint && codePoint >= kFirstLatin1Byte) {
            return static_cast<unsigned char>(kFirstHighByte + i);
        }
    }
    return std::nullopt;
}

std::uint32_t Windows1252CodePoint(unsigned char byte) {
    if (byte >= kFirstHighByte && byte < kFirstLatin1Byte) {
        return kWindows1252High[byte - kFirstHighByte];
    }
    return byte;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t length = Utf8SequenceLength(bytes, at);
        if (length == 0) {
            return false;
        }
        at += length;
    }
    return true;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        AppendUtf8(out, Windows1252CodePoint(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string DisplayUtf8(std::string_view bytes) {
    return IsValidUtf8(bytes) ? std::string(bytes) : Windows1252ToUtf8(bytes);
}

std::optional<std::string> Utf8ToWindows1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t at = 0;
    while (at < utf8.size()) {
        const std::size_t length = Utf8SequenceLength(utf8, at);
        if (length == 0) {
            return std::nullopt;
        }
        const std::optional<unsigned char> byte = Windows1252Byte(DecodeUtf8(utf8, at, length));
        if (!byte) {
            return std::nullopt;
        }
        out += static_cast<char>(*byte);
        at += length;
    }
    return out;
}

std::optional<std::string> Utf16WithMarkToUtf8(std::string_view bytes) {
    const bool bigEndian = bytes.starts_with(kUtf16BigEndianMark);
    if ((!bigEndian && !bytes.starts_with(kUtf16LittleEndianMark)) ||
        bytes.size() % kUtf16UnitSize != 0) {
        return std::nullopt;
    }
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t at = kUtf16UnitSize; at < bytes.size(); at += kUtf16UnitSize) {
        std::uint32_t unit = Utf16UnitAt(bytes, at, bigEndian);
        if (unit >= kFirstLowSurrogate && unit <= kLastLowSurrogate) {
            return std::nullopt;  // a low surrogate without its high one
        }
        if (unit >= kFirstHighSurrogate && unit < kFirstLowSurrogate) {
            at += kUtf16UnitSize;
            const std::uint32_t low =
                at < bytes.size() ? Utf16UnitAt(bytes, at, bigEndian) : std::uint32_t{0};
            if (low < kFirstLowSurrogate || low > kLastLowSurrogate) {
                return std::nullopt;
            }
            unit = kFirstFourByteCodePoint + ((unit - kFirstHighSurrogate) << kSurrogateBits) +
                   (low - kFirstLowSurrogate);
        }
        AppendUtf8(out, unit);
    }
    return out;
}

std::size_t CutLength(std::string_view bytes, std::size_t limit) {
    if (bytes.size() <= limit) {
        return bytes.size();
    }
    std::size_t cut = limit;
    if (IsValidUtf8(bytes)) {
        while (cut > 0 && ByteAt(bytes, cut) >= kFirstContinuation &&
               ByteAt(bytes, cut) <= kLastContinuation) {
            --cut;  // back to the first byte of the character the limit falls in
        }
    }
    return cut;
}

}  // namespace versemark
