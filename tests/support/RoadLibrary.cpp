// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/RoadLibrary.h"

namespace versemark::testing {

RoadLibrary::RoadLibrary() {
    AlphaLyrics = Library.AddLyrics("Alpha Band - First Song", FilteredLyrics("First words"));
    Library.AddLyrics("Beta Group - Second Tune", UnfilteredLyrics("Second words"));
    Library.AddLyrics("Epsilon - Old Tag", FilteredLyrics("Old words"));
    GammaLyrics = Library.AddLyrics("Gamma - Night", FilteredLyrics("Night words"));
    GammaLiveLyrics = Library.AddLyrics("Gamma - Night Live", FilteredLyrics("Live words"));
    Library.AddLyrics("Zeta - Future", FilteredLyrics("Future words"));

    TailBuilder alpha = PlainMp3();
    AlphaBytes = alpha.bytes();
    AlphaMp3 = Library.AddMp3(kAlpha, alpha);
    BetaMp3 = Library.AddMp3(kBeta, PlainMp3().id3v1("Second Tune", "Beta Group"));
    Library.AddMp3("Delta - Unknown.mp3", PlainMp3().id3v1("Unknown", "Delta"));
    EpsilonMp3 = Library.AddMp3(
        kEpsilon,
        PlainMp3().lyrics3v2({{"IND", "100"}, {"LYR", "old words"}}).id3v1("Old Tag", "Epsilon"));
    TailBuilder gammaLive = PlainMp3();
    GammaLiveBytes = gammaLive.bytes();
    GammaLiveMp3 = Library.AddMp3(kGammaLive, gammaLive);
    // A tag of a later version: "LYRICSBEGIN", one field, its size, "LYRICS300".
    ZetaMp3 = Library.AddMp3(
        kZeta, PlainMp3().raw("LYRICSBEGININD00003100000022LYRICS300").id3v1("Future", "Zeta"));
    GammaMp3 = Library.AddMp3("sub/" + std::string(kGamma), PlainMp3().id3v1("Night", "Gamma"));
}

}  // namespace versemark::testing
