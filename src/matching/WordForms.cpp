// SPDX-License-Identifier: GPL-3.0-or-later
#include "matching/WordForms.h"

#include "platform/CodePage.h"

namespace versemark {

std::optional<std::string> OtherWordForm(const LyricsEntry& entry, std::string_view word) {
    if (IsAsciiWord(word)) {
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
