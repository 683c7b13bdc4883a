// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace versemark {

// Standard output and error pass bytes as they are (the tagging log keeps its
// CR LF, nothing is added), and a console shows them as UTF-8. Nothing to do on
// Linux; on Windows the streams leave text mode and the console's code page
// becomes UTF-8.
void PrepareStandardStreams();

}  // namespace versemark
