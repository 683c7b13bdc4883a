#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RandomAccessFile.h"

// One row of the result list: an MP3 file paired with the lyrics file chosen for it.
namespace versemark {

// Picture numbers of the window's image list.
enum Picture : int {
    kPictureNone = 0,
    kPictureFiltered = 1,    // lyrics file filtered
    kPictureAlert = 2,       // several candidate lyrics files; the window's alert icon
    kPictureUnfiltered = 3,  // lyrics file not filtered
    kPictureNewerTag = 4,    // the MP3 file carries a Lyrics3 tag of a newer version
    kPictureOneMatch = 5,    // exactly one candidate lyrics file
};

// Colours as platform values 0x00BBGGRR; compared on the whole value.
using Colour = std::uint32_t;
inline constexpr Colour TaggedFileColour = 0x828250;
inline constexpr Colour SharedLyricsColour = 0x825050;
inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kRed = 0x0000FF;

// The Mp3Cell tag value of a file without an ID3v1 block.
inline constexpr std::string_view kWithoutId3 = "withoutid3";
// Row text of a checked row: the no-break space; unchecked rows have empty text.
inline constexpr std::string_view kCheckedRowText = "\xA0";

struct Cell {
    std::string Text;
    std::string Tag;
    int Icon = kPictureNone;
    std::optional<Colour> TextColour;  // nullopt: the list's default text colour
};

struct ResultRow {
    bool Checked = false;
    std::string Text;             // column 1
    std::string Mp3Path;          // the MP3 file as listed: opened and tagged by this path
    std::string LyricsPath;       // the chosen lyrics file; empty before phase 2 chose one
    std::vector<int> Candidates;  // positions of the matching lyrics files, ascending
    Cell Mp3Cell;
    Cell LyricsCell;
    // The MP3 file as the scan saw it; tagging leaves a file alone that differs.
    std::optional<FileStamp> Scanned;

    // Sets the check mark and the row text that goes with it.
    void SetChecked(bool checked);
};

}  // namespace versemark
