// SPDX-License-Identifier: GPL-3.0-or-later
#include "tags/LyricsText.h"

#include <optional>

#include "base/Companion.h"
#include "platform/CodePage.h"

namespace versemark {
namespace {

constexpr std::string_view kCrLf = "\r\n";

bool IsSingleBlank(char c) {
    return c == '\t' || c == ' ';
}

}  // namespace

void PrepareLyricsText(std::string& text) {
    using namespace companion;
    const std::size_t footer = text.rfind(kFooterMarker);
    if (footer != std::string::npos) {
        text = TrimBlanks(std::string_view(text).substr(0, footer));
        text += kCrLf;
        text += kCrLf;
        text += kSeparatorLine;
    }
    text += kCrLf;
    text += CreditLine();
}

void ConvertLyricsToCodePage(std::string& text) {
    // UTF-16 is read as its characters first; the code-page rule then holds for them.
    if (std::optional<std::string> utf8 = Utf16WithMarkToUtf8(text)) {
        text = std::move(*utf8);
    }
    std::string_view body = text;
    if (body.starts_with(utf8::kByteOrderMark)) {
        body.remove_prefix(utf8::kByteOrderMark.size());
    }
    // ASCII converts to itself; only a BOM or characters outside ASCII change.
    if (std::optional<std::string> converted = Utf8ToWindows1252(body)) {
        text = std::move(*converted);
    }
}

void PrepareStoredLyrics(std::string& text) {
    ConvertLyricsToCodePage(text);
    PrepareLyricsText(text);
}

std::string TrimBlanks(std::string_view text) {
    return TrimTrailingBlanks(TrimLeadingBlanks(text));
}

std::string TrimLeadingBlanks(std::string_view text) {
    while (!text.empty()) {
        if (text.starts_with(kCrLf)) {
            text.remove_prefix(kCrLf.size());
        } else if (IsSingleBlank(text.front())) {
            text.remove_prefix(1);
        } else {
            break;
        }
    }
    return std::string(text);
}

std::string TrimTrailingBlanks(std::string_view text) {
    while (!text.empty()) {
        if (text.ends_with(kCrLf)) {
            text.remove_suffix(kCrLf.size());
        } else if (IsSingleBlank(text.back())) {
            text.remove_suffix(1);
        } else {
            break;
        }
    }
    return std::string(text);
}

std::string CreditLine() {
    using namespace companion;
    std::string line(kCreditLineStart);
    line += kWebAddress;
    line += kCreditLineEnd;
    return line;
}

}  // namespace versemark
