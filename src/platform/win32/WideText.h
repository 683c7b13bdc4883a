// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// Names are UTF-8 inside the program; the system's wide-character functions take
// and give UTF-16. These two convert at that boundary.
namespace versemark::win32 {

// UTF-8 as UTF-16; an ill-formed byte becomes U+FFFD.
std::wstring Wide(std::string_view utf8);

// UTF-16 as UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf8(std::wstring_view wide);

}  // namespace versemark::win32
