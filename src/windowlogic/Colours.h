// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// The window's colours as toolkit-free values 0x00BBGGRR, compared on the whole
// value. A value with the top bit set names a system colour; each view maps it
// to its own.
namespace versemark {

using Colour = std::uint32_t;

inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kRed = 0x0000FF;

inline constexpr Colour kSystemColourFlag = 0x80000000;
inline constexpr Colour kSystemButtonShadow = 0x80000010;
inline constexpr Colour kSystemGrayText = 0x80000011;
inline constexpr Colour kSystemButtonText = 0x80000012;

// The colour of the current step (red 0, green 128, blue 128).
inline constexpr Colour kCurrentStepColour = 0x808000;
inline constexpr Colour kOtherStepColour = kSystemGrayText;

}  // namespace versemark
