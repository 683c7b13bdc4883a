// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/RandomAccessFile.h"

// What an open file holds, judged from its own bytes rather than its name: the
// one rule by which a file may be tagged at all.
namespace versemark {

enum class ContentKind {
    MpegAudio,  // MPEG audio frames, after an ID3v2 tag where there is one
    Flac,       // a FLAC stream, after an ID3v2 tag where there is one
    Ogg,        // an Ogg stream whose first packet starts Vorbis or Opus audio
    Mp4,        // an MP4 file (M4A): an "ftyp" box at the start
    Other,      // anything else, including a file too short to hold audio
};

// The kind of `file`'s content. A file that cannot be read counts as Other.
//
// FLAC: the marker "fLaC" where the audio starts (past an ID3v2 tag). Ogg: the
// capture pattern "OggS" at the start and a first packet that is a Vorbis or
// Opus identification header. MP4: a first box of type "ftyp". These are judged
// first: a stream that is one of them is never taken for MPEG audio.
//
// MPEG audio: past an ID3v2 tag at the start (whose size, from its header, must
// lie within the file), a valid frame header (the 11 sync bits, a known version,
// layer, bit rate and sample rate) within a bounded search, and a second one
// where the first frame's length says the next frame starts. A first frame that
// runs to where the file's tail tags begin (its only frame, perhaps cut short)
// needs no second header but must hold at least a frame header and the largest
// side information; so must any file behind its ID3v2 tag.
ContentKind DetectContentKind(RandomAccessFile& file);

// True when a file of `length` bytes that starts with `fileStart` (its first 10
// bytes at least, or all of a shorter file) cannot be MPEG audio whatever the
// rest holds: its ID3v2 tag claims more bytes than the file has, or no frame
// header with its side information fits behind the tag. The part of the rule
// that a file's first bytes and length decide, so a scan can tell it without
// reading further.
bool CannotHoldMpegAudio(std::string_view fileStart, std::uint64_t length);
// Only the FLAC, Ogg and MP4 rules above, which read a few bytes at the start:
// Flac, Ogg, Mp4 or Other (MPEG audio is not looked for).
ContentKind DetectContainerKind(RandomAccessFile& file);

// Where the audio starts: past the ID3v2 tag that starts the file, 0 without
// one; nullopt when the file cannot be read or the tag's size is not synchsafe.
std::optional<std::uint64_t> AudioStart(RandomAccessFile& file);

// True for the kinds that carry lyrics in a field of their own tag.
bool HasOwnLyricsField(ContentKind kind);

}  // namespace versemark
