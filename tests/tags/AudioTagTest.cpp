// SPDX-License-Identifier: GPL-3.0-or-later
// The walkers over real FLAC, Ogg Vorbis, Opus and M4A files made by ffmpeg and
// tagged by mutagen: the same fields come out as mutagen wrote, the cover picture
// in front of them or beside them notwithstanding, and a file cut anywhere gives
// no tag or the whole one, never anything else.
#include <gtest/gtest.h>

#include <vector>

#include "support/FailingFile.h"
#include "support/TaggedAudio.h"
#include "support/TempDir.h"
#include "tags/AudioTag.h"
#include "tags/WindowedReads.h"

namespace versemark::testing {
namespace {

struct Format {
    const char* Extension;
    const char* Codec;
    ContentKind Kind;
    std::string_view LyricsPlace;
};

const std::vector<Format> kFormats = {
    {".flac", "flac", ContentKind::Flac, kPlaceVorbisLyrics},
    {".ogg", "libvorbis", ContentKind::Ogg, kPlaceVorbisLyrics},
    {".opus", "libopus", ContentKind::Ogg, kPlaceVorbisLyrics},
    {".m4a", "aac", ContentKind::Mp4, kPlaceMp4Lyrics},
    {".m4a", "alac", ContentKind::Mp4, kPlaceMp4Lyrics},
};

const AudioFields kFields = {"Zo\xC3\xAB Vance",
                             "Harbour Lights",
                             "Tides",
                             "7",
                             "2019",
                             "first take",
                             "Line one\nLine two \xE2\x82\xAC"};

TEST(AudioTagFiles, WalkersReadWhatMutagenWrote) {
    if (!TaggedAudioToolsAvailable()) {
        GTEST_SKIP() << "ffmpeg or mutagen is not installed (scripts/setup.sh installs them)";
    }
    const TempDir dir;
    for (const Format& format : kFormats) {
        SCOPED_TRACE(std::string(format.Codec) + format.Extension);
        const std::string path = dir / (std::string("song-") + format.Codec + format.Extension);
        ASSERT_TRUE(MakeTaggedAudio(path, format.Codec, kFields));
        const auto file = OpenFile(path, FileAccess::Read);
        ASSERT_TRUE(file);
        EXPECT_EQ(DetectContentKind(*file), format.Kind);
        const std::optional<AudioTag> tag = ReadAudioTag(*file, format.Kind);
        ASSERT_TRUE(tag.has_value());
        EXPECT_EQ(tag->Artist, kFields.Artist);
        EXPECT_EQ(tag->Title, kFields.Title);
        EXPECT_EQ(tag->Album, kFields.Album);
        EXPECT_EQ(tag->Track, kFields.Track);
        EXPECT_EQ(tag->Date, kFields.Date);
        EXPECT_EQ(tag->Comment, kFields.Comment);
        EXPECT_EQ(tag->Lyrics, kFields.Lyrics);
        EXPECT_EQ(tag->LyricsPlace, format.LyricsPlace);
        file->Close();

        // Cut anywhere: no tag, or the whole tag when the cut lies behind it.
        const std::string bytes = ReadFileBytes(path);
        for (std::size_t cut = 0; cut < bytes.size(); cut += 1 + cut / 7) {
            const auto store = MakeStore(bytes.substr(0, cut));
            FailingFile shorter(store);
            const std::optional<AudioTag> read = ReadAudioTag(shorter, format.Kind);
            EXPECT_EQ(store->ReadsPastEnd, 0) << "cut at " << cut;
            if (read) {
                EXPECT_EQ(read->Lyrics, kFields.Lyrics) << "cut at " << cut;
                EXPECT_EQ(read->Comment, kFields.Comment) << "cut at " << cut;
            }
            // The scan reads through a window of bytes: the same tag comes out.
            FailingFile again(store);
            WindowedReads windowed(again);
            const std::optional<AudioTag> throughWindow = ReadAudioTag(windowed, format.Kind);
            EXPECT_EQ(throughWindow.has_value(), read.has_value()) << "cut at " << cut;
            if (read && throughWindow) {
                EXPECT_EQ(throughWindow->Lyrics, read->Lyrics) << "cut at " << cut;
                EXPECT_EQ(throughWindow->Title, read->Title) << "cut at " << cut;
            }
        }
    }
}

TEST(AudioTagFiles, NoLyricsFieldGivesNoLyrics) {
    if (!TaggedAudioToolsAvailable()) {
        GTEST_SKIP() << "ffmpeg or mutagen is not installed (scripts/setup.sh installs them)";
    }
    const TempDir dir;
    AudioFields fields = kFields;
    fields.Lyrics.clear();
    for (const Format& format : {kFormats[0], kFormats[3]}) {
        const std::string path = dir / (std::string("plain") + format.Extension);
        ASSERT_TRUE(MakeTaggedAudio(path, format.Codec, fields, 1000));
        const auto file = OpenFile(path, FileAccess::Read);
        ASSERT_TRUE(file);
        const std::optional<AudioTag> tag = ReadAudioTag(*file, format.Kind);
        ASSERT_TRUE(tag.has_value()) << format.Extension;
        EXPECT_EQ(tag->Title, fields.Title) << format.Extension;
        EXPECT_EQ(tag->Lyrics, "") << format.Extension;
        EXPECT_TRUE(tag->LyricsPlace.empty()) << format.Extension;
    }
}

}  // namespace
}  // namespace versemark::testing
