// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/RandomAccessFile.h"
#include "tags/ContentKind.h"

// The own tag of a FLAC, Ogg (Vorbis or Opus) or MP4 file, as far as Versemark
// reads it: the words a file is matched on and the lyrics field. Read by small
// walkers that only read, skip what they do not need (pictures, audio) without
// reading it, and check every size against the file: a damaged file gives no tag.
namespace versemark {

// Where lyrics were found, as show names the place.
inline constexpr std::string_view kPlaceVorbisLyrics = "Vorbis comment LYRICS";
inline constexpr std::string_view kPlaceVorbisUnsyncedLyrics = "Vorbis comment UNSYNCEDLYRICS";
inline constexpr std::string_view kPlaceMp4Lyrics = "MP4 \xC2\xA9lyr";

struct AudioTag {
    // UTF-8 text as the tag holds it; empty where the tag has no such field.
    std::string Artist;
    std::string Title;
    std::string Album;
    std::string Track;
    std::string Date;
    std::string Comment;
    std::string Lyrics;            // empty: no lyrics (or an empty field)
    std::string_view LyricsPlace;  // one of the places above when Lyrics is not empty
};

// The tag of an open file of `kind` (Flac, Ogg or Mp4); nullopt for another kind,
// a file without a tag, or one whose tag cannot be read whole.
std::optional<AudioTag> ReadAudioTag(RandomAccessFile& file, ContentKind kind);

std::optional<AudioTag> ReadFlacTag(RandomAccessFile& file);
std::optional<AudioTag> ReadOggTag(RandomAccessFile& file);
std::optional<AudioTag> ReadMp4Tag(RandomAccessFile& file);

// The fields of a Vorbis comment (FLAC's VORBIS_COMMENT block, the Ogg comment
// packet after its magic); nullopt when a length reaches past its end. The first
// value of a name counts; LYRICS before UNSYNCEDLYRICS.
std::optional<AudioTag> ParseVorbisComment(std::string_view comment);

}  // namespace versemark
