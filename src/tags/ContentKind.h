// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/RandomAccessFile.h"

// What an open file holds, judged from its own bytes rather than its name: the
// one rule by which a file may be tagged at all.
namespace versemark {

enum class ContentKind {
    MpegAudio,  // MPEG audio frames, after an ID3v2 tag where there is one
    Other,      // anything else, including a file too short to hold audio
};

// The kind of `file`'s content. A file that cannot be read counts as Other.
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

}  // namespace versemark
