// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The lyrics as an ID3v2 "unsynchronised lyrics" frame (USLT) in the ID3v2 tag at
// the start of an MP3 file, for the players that read lyrics only there.
namespace versemark {

// False in a build made without TagLib: then no frame can be written or read.
bool Id3v2LyricsAvailable();

// The size of the whole ID3v2 tag that starts the file, header included, judged
// from the file's first bytes (at least the 10 of the header); 0 when no ID3v2
// tag starts there.
std::uint64_t Id3v2TagSize(std::string_view fileStart);

// The ID3v2 tag that takes the place of `oldTag` (the file's whole tag, empty when
// it has none): every frame of the old tag byte for byte, except that the first
// lyrics frame with an empty description (what readers show) is replaced, in its
// place and keeping its language (or "XXX" where it had none), by one holding
// `storedLyrics` (the bytes of the Lyrics3 lyrics field) as Unicode, and later
// frames with an empty description and the language "XXX" are dropped; without
// such a frame the new one comes last. A 2.4 tag stays 2.4 (UTF-8 text), its
// frame sizes written as its frames have them; any other file gets or keeps a
// 2.3 tag (UTF-16 text). A new tag also carries the values of `id3v1Block` (the
// file's 128-byte ID3v1 block, when it has one) as text frames. The old size
// is kept when the frames fit, so the audio need not move; a tag that grows
// gets 4 KiB of padding, so the next change fits. nullopt, with `reason` set,
// for a tag whose frames cannot be kept as they are (version 2.2,
// unsynchronisation, an extended header, a footer, a frame beyond the tag's end).
std::optional<std::string> BuildId3v2WithLyrics(std::string_view oldTag,
                                                std::string_view storedLyrics, std::string& reason,
                                                std::string_view id3v1Block = {});

// True when the ID3v2 tag `tag` (a file's whole tag) holds a lyrics frame of any
// description or language.
bool HasId3v2LyricsFrame(std::string_view tag);

// The same for the file at `mp3Path`, opened read-only; false when it cannot be read.
bool FileHasId3v2LyricsFrame(const std::string& mp3Path);

}  // namespace versemark
