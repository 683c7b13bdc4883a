// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The zero-padded decimal numbers of a Lyrics3 tag (tag size, field sizes).
namespace versemark {

// The value of a text made only of the digits 0-9 (at least one); nullopt for
// anything else: blanks, signs and other number forms make a size unreadable.
std::optional<std::size_t> ParseDigits(std::string_view digits);

// `value` as decimal digits, padded on the left with zeros to `width`.
std::string FormatDigits(std::size_t value, std::size_t width);

}  // namespace versemark
