// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Text.h"

namespace versemark {
namespace {
constexpr char kBlank = ' ';
}  // namespace

std::string TrimSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlank);
    if (first == std::string_view::npos) {
        return std::string();
    }
    const std::size_t last = text.find_last_not_of(kBlank);
    return std::string(text.substr(first, last - first + 1));
}

}  // namespace versemark
