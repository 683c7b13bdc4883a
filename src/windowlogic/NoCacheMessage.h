// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "startup/CacheLocation.h"

// The message the window shows once after it opens when the lyrics cache folder
// does not exist: which folder, where the companion and its settings were looked
// for, and what the user can do.
namespace versemark {

// Lines end in "\n"; paths have their control characters escaped.
std::string NoLyricsCacheText(const CacheConfig& cache);

}  // namespace versemark
