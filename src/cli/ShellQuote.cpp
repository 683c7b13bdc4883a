// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ShellQuote.h"

namespace versemark::cli {

namespace {

// Characters a shell still interprets inside double quotes.
constexpr std::string_view kSpecialInDoubleQuotes = "\"$`\\!";
constexpr char kQuote = '"';
constexpr char kBackslash = '\\';

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

std::string WindowsQuote(std::string_view text) {
    std::string out(1, kQuote);
    std::size_t backslashes = 0;  // the run of backslashes just copied
    for (const char c : text) {
        if (c == kQuote) {
            out.append(backslashes + 1, kBackslash);
        }
        backslashes = c == kBackslash ? backslashes + 1 : 0;
        out += c;
    }
    out.append(backslashes, kBackslash);
    out += kQuote;
    return out;
}

}  // namespace versemark::cli
