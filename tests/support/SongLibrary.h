// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "startup/ProgramValues.h"
#include "support/TailBuilder.h"
#include "support/TempDir.h"

namespace versemark::testing {

// Lyrics files and MP3 files in a temporary folder: "cache" holds the lyrics
// files (flat), "music" the MP3 files.
class SongLibrary {
  public:
    SongLibrary();

    std::string CachePath() const { return dir_ / "cache"; }
    std::string MusicPath() const { return dir_ / "music"; }
    const TempDir& Dir() const { return dir_; }

    // "cache/<name>.txt"; returns its path.
    std::string AddLyrics(std::string_view name, std::string_view text) const;
    // "music/<relative>"; returns its path.
    std::string AddMp3(std::string_view relative, const TailBuilder& file) const;

    // Builds the window's lyrics index from the cache.
    void IndexInto(ProgramValues& values) const;

  private:
    TempDir dir_;
};

// Lyrics text whose end carries the filter marker.
std::string FilteredLyrics(std::string_view words);
// Lyrics text without any marker.
std::string UnfilteredLyrics(std::string_view words);
// An MP3 file of a little silent audio.
TailBuilder PlainMp3();

// The position of the index entry with this display name; -1 when none.
int EntryNamed(const ProgramValues& values, std::string_view displayName);

}  // namespace versemark::testing
