// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Real FLAC, Ogg Vorbis, Opus and M4A files for the tests: one second of silence
// made by ffmpeg, then a tag and a cover picture written by mutagen, readers and
// writers independent of Versemark.
namespace versemark::testing {

struct AudioFields {
    std::string Artist;
    std::string Title;
    std::string Album;
    std::string Track;  // digits
    std::string Date;
    std::string Comment;
    std::string Lyrics;  // not written when empty
};

// True when ffmpeg and mutagen (for /usr/bin/python3) are there.
bool TaggedAudioToolsAvailable();

// Makes `path` (its extension chooses the container: .flac, .ogg, .opus, .m4a)
// with `codec` (flac, libvorbis, libopus, aac, alac), and writes `fields` and a
// PNG cover picture of `pictureBytes` bytes into its own tag. False on a failure.
bool MakeTaggedAudio(const std::string& path, const std::string& codec, const AudioFields& fields,
                     std::size_t pictureBytes = 300 * 1024);

}  // namespace versemark::testing
