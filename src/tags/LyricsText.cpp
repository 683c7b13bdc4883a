#include "tags/LyricsText.h"

#include "base/Companion.h"

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
