// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "platform/RandomAccessFile.h"

// The lyrics an MP3 file already carries in its Lyrics3 tag, as the viewer of
// saved lyrics shows them.
namespace versemark {

// Shown instead when the tag yields no lyrics (no "LYR" field, an empty one, no
// readable tag, or a file that cannot be read).
inline constexpr std::string_view kLyricsFieldMissingMessage =
    "The lyrics3 tag is present, but the lyrics field is missing.\r\n"
    "You can insert the lyrics in this file safely.";

// Shown instead for a Lyrics3 tag of a newer version. Tagging does not read such
// a tag: it leaves its bytes where they are and writes a new version 2.00 tag,
// with the lyrics and none of the old fields, between it and the ID3v1 block.
inline constexpr std::string_view kNewerVersionTagMessage =
    "This file contains a Lyrics3 tag of a version higher than the supported; "
    "Versemark cannot read it.\r\n"
    "Tagging keeps that tag and writes a version 2.00 tag after it, so it is not "
    "recommended to tag this file.";

// What a file's tail holds: lyrics, a Lyrics3 tag without them (no or an empty
// "LYR" field, an unreadable tag), a tag of a newer version, no Lyrics3 tag at
// all, or a file that could not be opened (Reason says why).
enum class SavedLyricsState { Lyrics, TagWithoutLyrics, NewerVersionTag, NoTag, Unreadable };

struct SavedLyricsRead {
    SavedLyricsState State = SavedLyricsState::NoTag;
    std::string Lyrics;  // the "LYR" field's data when State is Lyrics
    std::string Reason;  // the system's error text when State is Unreadable
};

// Opens the file read-only and tells which of the four cases it is. Never writes.
// A FLAC, Ogg or MP4 file (by content) is read through its own tag: Lyrics from
// its lyrics field, else NoTag.
SavedLyricsRead ReadSavedLyricsState(const std::string& mp3Path);
SavedLyricsRead ReadSavedLyricsState(RandomAccessFile& file);

// Opens the file read-only and returns the data of its "LYR" field, unprepared,
// kNewerVersionTagMessage or kLyricsFieldMissingMessage. Never writes, never fails.
std::string ReadSavedLyrics(const std::string& mp3Path);

// The same over a file the caller has opened; the caller closes it.
std::string ReadSavedLyrics(RandomAccessFile& file);

// The text the viewer shows for a read: the lyrics, or the message of its state.
std::string SavedLyricsText(SavedLyricsRead read);

}  // namespace versemark
