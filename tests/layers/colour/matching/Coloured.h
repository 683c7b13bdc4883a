// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// A matching file that chooses a colour: the layer check must reject this folder.
namespace versemark {

using Colour = std::uint32_t;

}  // namespace versemark
