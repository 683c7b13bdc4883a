// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/SampleRows.h"

#include "windowlogic/RowLook.h"

namespace versemark::testing {

ResultRow MakeRow(std::string mp3, int mp3Picture, std::optional<Colour> mp3Colour,
                  std::string lyrics, int lyricsPicture, std::optional<Colour> lyricsColour,
                  bool checked) {
    ResultRow row;
    row.Candidates = {0};  // one candidate at position 0
    if (mp3Picture == kPictureAlert) {
        row.Candidates.push_back(1);
    }
    row.NewerTag = mp3Picture == kPictureNewerTag;
    row.Mp3Name = std::move(mp3);
    row.Tagged = mp3Colour == TaggedFileColour;
    row.LyricsName = std::move(lyrics);
    row.LyricsPosition = 0;
    row.Filtered = lyricsPicture == kPictureFiltered;
    row.Shared = lyricsColour == SharedLyricsColour;
    row.Checked = checked;
    return row;
}

std::vector<ResultRow> FiveRows() {
    return {
        MakeRow("alpha.mp3", 5, {}, "Zulu - One", 1, {}, true),
        MakeRow("Beta.mp3", 2, {}, "yankee - Two", 3, {}, false),
        MakeRow("charlie.mp3", 4, TaggedFileColour, "X-ray - Three", 3, SharedLyricsColour, false),
        MakeRow("Delta.mp3", 5, TaggedFileColour, "whiskey - Four", 1, SharedLyricsColour, false),
        MakeRow("echo.mp3", 2, {}, "Victor - Five", 1, {}, true),
    };
}

void AddFourLyricsEntries(ProgramValues& values, const SongLibrary& library) {
    const char* names[] = {"Artist - One", "Artist - Two", "Artist - Three", "Artist - Four"};
    for (const char* name : names) {
        LyricsEntry entry;
        entry.DisplayName = name;
        entry.FilePath = library.AddLyrics(name, FilteredLyrics(name));
        entry.MatchCount = 1;
        values.Index.Entries.push_back(entry);
    }
    values.Index.Entries[2].MatchCount = 2;
}

ResultRow RowWithCandidates(const ProgramValues& values, const SongLibrary& library,
                            std::string mp3, std::vector<int> candidates, int chosen) {
    ResultRow row;
    row.Candidates = std::move(candidates);
    row.Mp3Path = library.MusicPath() + "/" + mp3;
    row.Mp3Name = std::move(mp3);
    const LyricsEntry& entry = values.Index.Entries[static_cast<std::size_t>(chosen)];
    row.LyricsName = entry.DisplayName;
    row.LyricsPath = entry.FilePath;
    row.LyricsPosition = chosen;
    row.Filtered = true;
    return row;
}

void FillRows(ListRows& list, std::vector<ResultRow> rows) {
    list.BeginPass();
    for (ResultRow& row : rows) {
        list.PassRows().Add(std::move(row));
    }
    list.EndPass();
}

int RowOfMp3(const RowList& rows, std::string_view mp3Name) {
    for (std::size_t i = 0; i < rows.Count(); ++i) {
        if (rows.Row(i).Mp3Name == mp3Name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace versemark::testing
