// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/RandomAccessFile.h"
#include "tags/PieceTable.h"

// The lyrics in the own field of a FLAC, Ogg (Vorbis or Opus) or MP4 file, where
// its players read them: the Vorbis comment "LYRICS", the MP4 item "©lyr".
// TagLib renders the metadata; its writes are caught in a piece table over the
// file, which is never written here.
namespace versemark {

enum class FieldFormat { Flac, OggVorbis, OggOpus, Mp4 };

// False in a build made without TagLib: then no such file is written.
bool FieldLyricsAvailable();

// The format of the open file among those with a lyrics field of their own, or
// nullopt (any other file, or one that cannot be read).
std::optional<FieldFormat> DetectFieldFormat(RandomAccessFile& file);

// The file with its lyrics field set to `utf8Lyrics` (replacing what the field
// held); every other tag, picture and the audio as TagLib keeps them.
struct FieldLyricsEdit {
    std::optional<PieceTable> NewFile;  // the new file as pieces over the old one
    std::string Reason;                 // why there is none
};

FieldLyricsEdit SetFieldLyrics(RandomAccessFile& file, FieldFormat format,
                               std::string_view utf8Lyrics);

}  // namespace versemark
