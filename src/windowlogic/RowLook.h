// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string_view>

#include "matching/ResultRow.h"
#include "matching/RowList.h"
#include "windowlogic/Colours.h"

// How the window shows a row's facts: the one mapping from a ResultRow to the
// list's pictures, text colours and row text, also used by the info panel.
namespace versemark {

// Picture numbers of the window's image list: a row mark is shown as the picture
// of its number.
constexpr int PictureOf(RowMark mark) {
    return RowMarkNumber(mark);
}
inline constexpr int kPictureNone = PictureOf(RowMark::None);
inline constexpr int kPictureFiltered = PictureOf(RowMark::FilteredLyrics);
// Several candidate lyrics files; also the window's alert icon.
inline constexpr int kPictureAlert = PictureOf(RowMark::SeveralMatches);
inline constexpr int kPictureUnfiltered = PictureOf(RowMark::UnfilteredLyrics);
inline constexpr int kPictureNewerTag = PictureOf(RowMark::NewerTag);
inline constexpr int kPictureOneMatch = PictureOf(RowMark::OneMatch);

// The picture in the header of the lyrics column.
inline constexpr int kLyricsHeaderPicture = kPictureFiltered;

inline constexpr Colour TaggedFileColour = 0x828250;
inline constexpr Colour SharedLyricsColour = 0x825050;

// Row text of a checked row: the no-break space; unchecked rows have empty text.
inline constexpr std::string_view kCheckedRowText = "\xA0";

int Mp3Picture(const ResultRow& row);
int LyricsPicture(const ResultRow& row);
// nullopt: the list's default text colour.
std::optional<Colour> Mp3TextColour(const ResultRow& row);
std::optional<Colour> LyricsTextColour(const ResultRow& row);
std::string_view RowText(const ResultRow& row);

// A cell of the list by its 0-based column (RowList.h): the text (bytes), the
// tooltip (a file's full path; empty in the row-text column), the picture and
// the text colour.
std::string_view CellText(const ResultRow& row, int column);
std::string_view CellToolTip(const ResultRow& row, int column);
int CellPicture(const ResultRow& row, int column);
std::optional<Colour> CellColour(const ResultRow& row, int column);

}  // namespace versemark
