// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "support/SongLibrary.h"

namespace versemark::testing {

// A small library that gives every kind of row one pass can make:
//
//   music/Alpha Band - First Song.mp3   no tags          1 candidate, filtered     checked
//   music/Beta Group - Second Tune.mp3  ID3v1            1 candidate, unfiltered
//   music/Delta - Unknown.mp3           ID3v1            no candidate: no row
//   music/Epsilon - Old Tag.mp3         Lyrics3 v2 + ID3v1 (tagged colour)
//   music/Gamma - Night Live.mp3        no tags          2 candidates (alert)      checked
//   music/Zeta - Future.mp3             "LYRICS300" + ID3v1 (newer version)
//   music/sub/Gamma - Night.mp3         ID3v1            1 candidate matched twice (shared)
//
// 7 files, 6 rows, 2 of them checked by the pass.
struct RoadLibrary {
    RoadLibrary();

    SongLibrary Library;
    std::string AlphaMp3, BetaMp3, EpsilonMp3, GammaLiveMp3, ZetaMp3, GammaMp3;
    std::string AlphaLyrics, GammaLiveLyrics, GammaLyrics;

    // Every MP3 file's bytes as written.
    std::string AlphaBytes, GammaLiveBytes;

    // Points the window's index at the cache.
    void IndexInto(ProgramValues& values) const { Library.IndexInto(values); }
    std::string Music() const { return Library.MusicPath(); }
};

inline constexpr char kAlpha[] = "Alpha Band - First Song.mp3";
inline constexpr char kBeta[] = "Beta Group - Second Tune.mp3";
inline constexpr char kEpsilon[] = "Epsilon - Old Tag.mp3";
inline constexpr char kGammaLive[] = "Gamma - Night Live.mp3";
inline constexpr char kZeta[] = "Zeta - Future.mp3";
inline constexpr char kGamma[] = "Gamma - Night.mp3";

}  // namespace versemark::testing
