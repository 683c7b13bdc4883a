// SPDX-License-Identifier: GPL-3.0-or-later
#include "tags/DecimalDigits.h"

namespace versemark {

std::optional<std::size_t> ParseDigits(std::string_view digits) {
    if (digits.empty()) {
        return std::nullopt;
    }
    std::size_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::size_t>(c - '0');
    }
    return value;
}

std::string FormatDigits(std::size_t value, std::size_t width) {
    std::string digits = std::to_string(value);
    if (digits.size() < width) {
        digits.insert(0, width - digits.size(), '0');
    }
    return digits;
}

}  // namespace versemark
