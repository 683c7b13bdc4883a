// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/RandomAccessFile.h"

// One row of the result list: an MP3 file paired with the lyrics file chosen for
// it, and what is known about the two. The views derive what they show (pictures,
// colours, tips, the row text) from these facts.
namespace versemark {

// What the MP3 file's column leads with: a newer tag outranks the number of
// candidate lyrics files.
enum class MatchStanding { NoMatch, OneMatch, SeveralMatches, NewerTag };

// What a file column of a row is marked with. The window shows each mark as the
// picture of the same number, and the scan report gives programs these numbers:
// they never change.
enum class RowMark : int {
    None = 0,
    FilteredLyrics = 1,    // the chosen lyrics file is filtered
    SeveralMatches = 2,    // several candidate lyrics files
    UnfilteredLyrics = 3,  // the chosen lyrics file is not filtered
    NewerTag = 4,          // the MP3 file carries a Lyrics3 tag of a newer version
    OneMatch = 5,          // exactly one candidate lyrics file
};

constexpr int RowMarkNumber(RowMark mark) {
    return static_cast<int>(mark);
}

struct ResultRow {
    std::string Mp3Path;          // the MP3 file as listed: opened and tagged by this path
    std::string Mp3Name;          // its file name, as the list shows it
    std::string LyricsPath;       // the chosen lyrics file; empty before one was chosen
    std::string LyricsName;       // the chosen lyrics file's display name
    int LyricsPosition = -1;      // the chosen lyrics file's index position; -1 none chosen
    std::vector<int> Candidates;  // positions of the matching lyrics files, ascending
    // The MP3 file as the scan saw it; tagging leaves a file alone that differs.
    std::optional<FileStamp> Scanned;

    bool NewerTag = false;  // the MP3 file carries a Lyrics3 tag of a newer version
    // The MP3 file carries a Lyrics3 tag of any version; a FLAC, Ogg or MP4 file
    // lyrics in its own lyrics field.
    bool Tagged = false;
    bool WithoutId3 = false;    // the MP3 file has no ID3v1 block (never for other formats)
    bool Filtered = false;      // the chosen lyrics file carries the filter marker
    bool Shared = false;        // the chosen lyrics file matched more than one MP3 file
    bool ChosenByUser = false;  // the lyrics file was chosen in the panel, not by the pass
    bool NoAudio = false;       // the MP3 file cannot hold MPEG audio: tagging refuses it
    bool Checked = false;

    std::size_t CandidateCount() const { return Candidates.size(); }
    bool LyricsChosen() const { return LyricsPosition >= 0; }
    MatchStanding Standing() const {
        if (NewerTag) {
            return MatchStanding::NewerTag;
        }
        switch (Candidates.size()) {
            case 0:
                return MatchStanding::NoMatch;
            case 1:
                return MatchStanding::OneMatch;
            default:
                return MatchStanding::SeveralMatches;
        }
    }
};

// The mark of the MP3 file's column: its standing.
inline RowMark Mp3Mark(const ResultRow& row) {
    switch (row.Standing()) {
        case MatchStanding::NewerTag:
            return RowMark::NewerTag;
        case MatchStanding::SeveralMatches:
            return RowMark::SeveralMatches;
        case MatchStanding::OneMatch:
            return RowMark::OneMatch;
        default:
            return RowMark::None;
    }
}

// The mark of the lyrics column: none before a lyrics file is chosen.
inline RowMark LyricsMark(const ResultRow& row) {
    if (!row.LyricsChosen()) {
        return RowMark::None;
    }
    return row.Filtered ? RowMark::FilteredLyrics : RowMark::UnfilteredLyrics;
}

}  // namespace versemark
