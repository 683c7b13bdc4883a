// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "matching/ResultRow.h"
#include "matching/RowList.h"
#include "startup/ProgramValues.h"
#include "support/SongLibrary.h"
#include "windowlogic/Colours.h"
#include "windowlogic/ListRows.h"

// Result rows made by hand for the window's tests.
namespace versemark::testing {

// A row whose facts give the pictures and colours named.
ResultRow MakeRow(std::string mp3, int mp3Picture, std::optional<Colour> mp3Colour,
                  std::string lyrics, int lyricsPicture, std::optional<Colour> lyricsColour,
                  bool checked);

// Five rows as a pass would leave them; "alpha.mp3" and "echo.mp3" checked:
//   alpha.mp3    one match           "Zulu - One"      filtered
//   Beta.mp3     several matches     "yankee - Two"    unfiltered
//   charlie.mp3  newer tag, tagged   "X-ray - Three"   unfiltered, shared
//   Delta.mp3    one match, tagged   "whiskey - Four"  filtered, shared
//   echo.mp3     several matches     "Victor - Five"   filtered
std::vector<ResultRow> FiveRows();

// Four lyrics files in the library and the index ("Artist - One" to "Artist -
// Four"); "Artist - Three" matched twice.
void AddFourLyricsEntries(ProgramValues& values, const SongLibrary& library);
// A row of the library's music folder with `candidates` as its candidate list and
// the index entry `chosen` as its lyrics file (filtered).
ResultRow RowWithCandidates(const ProgramValues& values, const SongLibrary& library,
                            std::string mp3, std::vector<int> candidates, int chosen);

// Puts the rows in the list as a pass does.
void FillRows(ListRows& list, std::vector<ResultRow> rows);

// The position of the row showing this MP3 file name; -1 when there is none.
int RowOfMp3(const RowList& rows, std::string_view mp3Name);

}  // namespace versemark::testing
