// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowlogic/RowLook.h"

namespace versemark {

int Mp3Picture(const ResultRow& row) {
    return PictureOf(Mp3Mark(row));
}

int LyricsPicture(const ResultRow& row) {
    return PictureOf(LyricsMark(row));
}

std::optional<Colour> Mp3TextColour(const ResultRow& row) {
    return row.Tagged ? std::optional<Colour>(TaggedFileColour) : std::nullopt;
}

std::optional<Colour> LyricsTextColour(const ResultRow& row) {
    if (row.Shared) {
        return SharedLyricsColour;
    }
    // A choice in the panel sets black; the pass leaves the list's default.
    return row.ChosenByUser ? std::optional<Colour>(kBlack) : std::nullopt;
}

std::string_view RowText(const ResultRow& row) {
    return row.Checked ? kCheckedRowText : std::string_view();
}

std::string_view CellText(const ResultRow& row, int column) {
    switch (column) {
        case kColumnRowText:
            return RowText(row);
        case kColumnMp3:
            return row.Mp3Name;
        case kColumnLyrics:
            return row.LyricsName;
        default:
            return {};
    }
}

std::string_view CellToolTip(const ResultRow& row, int column) {
    switch (column) {
        case kColumnMp3:
            return row.Mp3Path;
        case kColumnLyrics:
            return row.LyricsPath;
        default:
            return {};
    }
}

int CellPicture(const ResultRow& row, int column) {
    switch (column) {
        case kColumnMp3:
            return Mp3Picture(row);
        case kColumnLyrics:
            return LyricsPicture(row);
        default:
            return kPictureNone;
    }
}

std::optional<Colour> CellColour(const ResultRow& row, int column) {
    switch (column) {
        case kColumnMp3:
            return Mp3TextColour(row);
        case kColumnLyrics:
            return LyricsTextColour(row);
        default:
            return std::nullopt;
    }
}

}  // namespace versemark
