// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>
#include <vector>

#include "matching/LyricsIndex.h"

namespace versemark {

// Chooses one of an MP3 file's candidates by the words of its file name: each
// candidate's Score becomes its hits in the name less 2 for every MP3 file that
// matched it; the highest wins, the earliest on a tie. One candidate is chosen as is.
int ChooseLyrics(const std::vector<int>& candidates, std::string_view mp3Name, LyricsIndex& index);

}  // namespace versemark
