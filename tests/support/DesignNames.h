// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

#include "windowlogic/Control.h"

namespace versemark {

// The control's design name from the design table ("Label1_1"), for test messages.
std::string_view DesignName(ControlId control);

}  // namespace versemark
