// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Text.h"

#include <charconv>
#include <system_error>

namespace versemark {
namespace {

constexpr char kBlank = ' ';
// A percentage is a double's default text cut to this many characters.
constexpr int kPercentDigits = 15;
constexpr std::size_t kPercentTextWidth = 4;
constexpr double kPercent = 100;

// The default text of a double: up to 15 significant digits, no trailing zeros,
// "." as the separator whatever the locale.
std::string DoubleText(double value) {
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                            std::chars_format::general, kPercentDigits);
    return error == std::errc() ? std::string(buffer, end) : std::string();
}

}  // namespace

std::string TrimSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlank);
    if (first == std::string_view::npos) {
        return std::string();
    }
    const std::size_t last = text.find_last_not_of(kBlank);
    return std::string(text.substr(first, last - first + 1));
}

std::string ShortPercentText(int part, int whole) {
    const double percent = static_cast<double>(part) / whole * kPercent;
    return DoubleText(percent).substr(0, kPercentTextWidth);
}

}  // namespace versemark
