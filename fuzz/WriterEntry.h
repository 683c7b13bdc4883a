// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "MemoryFile.h"

namespace versemark::fuzz {

// Tags `mp3` with the lyrics file at `lyricsPath` the way the tagging pass tags
// one row, with `lyricsName` for a missing ID3v1 block. The one place the fuzz
// targets call the writer. True when the pass would log the file as tagged.
bool TagMemoryFile(MemoryFile& mp3, const std::string& lyricsPath, const std::string& lyricsName);

}  // namespace versemark::fuzz
