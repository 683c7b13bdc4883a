#include "cli/ShellQuote.h"

namespace versemark::cli {

namespace {

// Characters a shell still interprets inside double quotes.
constexpr std::string_view kSpecialInDoubleQuotes = "\"$`\\!";

}  // namespace

std::string ShellQuote(std::string_view text) {
    if (text.find_first_of(kSpecialInDoubleQuotes) == std::string_view::npos) {
        return "\"" + std::string(text) + "\"";
    }
    std::string out = "'";
    for (const char c : text) {
        if (c == '\'') {
            out += "'\\''";
        } else {
            out += c;
        }
    }
    out += '\'';
    return out;
}

}  // namespace versemark::cli
