// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/RandomAccessFile.h"
#include "tags/ContentKind.h"
#include "tags/TagRecords.h"
#include "tags/TailLayout.h"

// What the matching pass reads of one MP3 file: its first bytes, its ID3v1 block
// and the kind of Lyrics3 tail in front of it. One open, two small reads. Of a
// FLAC, Ogg or MP4 file (found by a search for all formats): the words of its own
// tag and whether that holds lyrics.
namespace versemark {

// The first bytes an MP3 text takes from the file.
inline constexpr std::size_t kMp3HeadSize = 500;
// The last bytes read: the ID3v1 block and the Lyrics3 trailer in front of it.
inline constexpr std::size_t kMp3TailSize = tail::kId3v1Size + tail::kTrailerSize;

struct Mp3Sample {
    // The first kMp3HeadSize bytes, fewer when the file is shorter; of a file in
    // another format its tag's artist, title, album, track, date and comment.
    std::string Head;
    std::string Id3Block;  // the 128-byte ID3v1 block when present, else empty
    TagKind Kind{kKindNoLyrics};
    std::optional<FileStamp> Stamp;  // the file as it was read
    // Its first bytes and length show that it cannot be MPEG audio (tagging
    // refuses it).
    bool NoAudio = false;
    // MpegAudio for every file read as an MP3 file; Flac, Ogg or Mp4 for a file
    // read through its own tag, which holds lyrics when OwnLyrics.
    ContentKind Format = ContentKind::MpegAudio;
    bool OwnLyrics = false;
};

// The sample from the bytes read: `tail` is the last min(kMp3TailSize, length)
// bytes of a file of `length` bytes. Tail bytes that do not fit a file of that
// length give no ID3v1 block and no Lyrics3 tag.
Mp3Sample Mp3SampleFromBytes(std::string head, std::string_view tail, std::uint64_t length);

// Reads the sample of a file. A file that cannot be opened gives an empty head,
// no ID3v1 block and "NoLyrics"; a failing read keeps what was read before it.
// A file not named ".mp3" whose content is FLAC, Ogg or MP4 is read through its
// own tag (no tag: no words); any other is read as an MP3 file.
Mp3Sample ReadMp3Sample(const std::string& path);
// The same into `sample`, whose buffers (and those of `tail`, for the last bytes)
// are reused from one file to the next.
void ReadMp3Sample(const std::string& path, Mp3Sample& sample, std::string& tail);

}  // namespace versemark
