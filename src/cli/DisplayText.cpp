// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/DisplayText.h"

#include "base/ControlEscape.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"

namespace versemark::cli {

namespace {

// Combining diacritical marks U+0300..U+036F are the two-byte sequences CC 80 to
// CD AF; they take no column of their own.
constexpr unsigned char kFirstCombiningLead = 0xCC;
constexpr unsigned char kLastCombiningLead = 0xCD;
constexpr unsigned char kLastCombiningAfterCD = 0xAF;
constexpr std::size_t kCombiningLength = 2;

bool IsCombiningMark(std::string_view utf8, std::size_t at, std::size_t length) {
    if (length != kCombiningLength) {
        return false;
    }
    const auto lead = static_cast<unsigned char>(utf8[at]);
    const auto second = static_cast<unsigned char>(utf8[at + 1]);
    return lead == kFirstCombiningLead ||
           (lead == kLastCombiningLead && second <= kLastCombiningAfterCD);
}

}  // namespace

std::string PathAsUtf8(std::string_view path) {
    // A path that is UTF-8 as a whole is UTF-8 in each component: the separator
    // is ASCII, and UTF-8 sequences hold no ASCII bytes.
    if (IsValidUtf8(path)) {
        return std::string(path);
    }
    std::string out;
    out.reserve(path.size());
    std::size_t start = 0;
    while (true) {
        const std::size_t separator = path.find(kPathSeparator, start);
        const std::size_t end = separator == std::string_view::npos ? path.size() : separator;
        out += DisplayUtf8(path.substr(start, end - start));
        if (separator == std::string_view::npos) {
            return out;
        }
        out += kPathSeparator;
        start = separator + 1;
    }
}

std::string DisplayPath(std::string_view path) {
    return EscapeControls(PathAsUtf8(path));
}

std::string DisplayName(std::string_view bytes) {
    return EscapeControls(DisplayUtf8(bytes));
}

std::string LyricsForTerminal(std::string_view bytes) {
    std::string withoutNuls;
    withoutNuls.reserve(bytes.size());
    for (const char c : bytes) {
        if (c != '\0') {
            withoutNuls += c;
        }
    }
    std::string text = DisplayUtf8(withoutNuls);
    if (!text.empty() && text.back() != '\n') {
        text += "\r\n";
    }
    return text;
}

std::size_t DisplayWidth(std::string_view utf8) {
    std::size_t width = 0;
    std::size_t at = 0;
    while (at < utf8.size()) {
        const std::size_t length = Utf8SequenceLength(utf8, at);
        if (length == 0) {
            ++width;  // a stray byte takes a column, as a replacement character would
            ++at;
            continue;
        }
        if (!IsCombiningMark(utf8, at, length)) {
            ++width;
        }
        at += length;
    }
    return width;
}

}  // namespace versemark::cli
