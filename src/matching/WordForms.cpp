#include "matching/WordForms.h"

#include <algorithm>

#include "platform/CodePage.h"

namespace versemark {
namespace {

constexpr unsigned char kFirstNonAscii = 0x80;

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < kFirstNonAscii; });
}

}  // namespace

std::optional<std::string> OtherWordForm(const LyricsEntry& entry, std::string_view word) {
    if (IsAscii(word)) {
        return std::nullopt;
    }
    // A name that is not valid UTF-8 is Windows-1252 throughout, whatever one of
    // its words may look like on its own.
    if (IsValidUtf8(word) && IsValidUtf8(entry.DisplayName)) {
        return Utf8ToWindows1252(word);
    }
    return Windows1252ToUtf8(word);
}

}  // namespace versemark
