// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// Names printed where a control character would act: in the tagging log, whose
// lines a CR LF in a name could otherwise forge, and on a terminal, which an
// escape sequence in a name could otherwise drive.
namespace versemark {

// `text` with every control character written as "\x" and two upper-case hex
// digits per byte: the bytes 0x00-0x1F and 0x7F, and the C1 controls U+0080 to
// U+009F in their UTF-8 form C2 80 to C2 9F (a terminal that reads UTF-8 acts on
// those too, U+009B being the one-character CSI), both bytes written so. Every
// other byte is kept as it is.
std::string EscapeControls(std::string_view text);

}  // namespace versemark
