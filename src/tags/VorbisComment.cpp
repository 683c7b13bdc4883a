// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <cctype>

#include "tags/AudioTag.h"
#include "tags/ByteOrder.h"
#include "tags/FormatLayout.h"

namespace versemark {
namespace {

bool SameName(std::string_view name, std::string_view expected) {
    return name.size() == expected.size() &&
           std::equal(name.begin(), name.end(), expected.begin(), [](char a, char b) {
               return std::toupper(static_cast<unsigned char>(a)) == b;
           });
}

// Takes a 32-bit length and that many bytes from the front of `rest`; nullopt
// when they reach past its end.
std::optional<std::string_view> TakeCounted(std::string_view& rest) {
    if (rest.size() < vorbis::kLengthWidth) {
        return std::nullopt;
    }
    const std::uint64_t length = LittleEndian(rest, vorbis::kLengthWidth);
    rest.remove_prefix(vorbis::kLengthWidth);
    if (length > rest.size()) {
        return std::nullopt;
    }
    const std::string_view taken = rest.substr(0, static_cast<std::size_t>(length));
    rest.remove_prefix(taken.size());
    return taken;
}

// Sets `field` to `value` unless an earlier comment of the name set it.
void SetFirst(std::string& field, bool& set, std::string_view value) {
    if (!set) {
        field.assign(value);
        set = true;
    }
}

}  // namespace

std::optional<AudioTag> ParseVorbisComment(std::string_view comment) {
    std::string_view rest = comment;
    if (!TakeCounted(rest) || rest.size() < vorbis::kLengthWidth) {  // the vendor string
        return std::nullopt;
    }
    const std::uint64_t count = LittleEndian(rest, vorbis::kLengthWidth);
    rest.remove_prefix(vorbis::kLengthWidth);
    AudioTag tag;
    // One flag per field: the first comment of a name wins, even an empty one.
    bool artist = false, title = false, album = false, track = false, date = false;
    bool note = false, lyrics = false, unsynced = false;
    std::string unsyncedLyrics;
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::optional<std::string_view> entry = TakeCounted(rest);
        if (!entry) {
            return std::nullopt;
        }
        const std::size_t nameEnd = entry->find(vorbis::kNameEnd);
        if (nameEnd == std::string_view::npos) {
            continue;
        }
        const std::string_view name = entry->substr(0, nameEnd);
        const std::string_view value = entry->substr(nameEnd + 1);
        if (SameName(name, vorbis::kArtist)) {
            SetFirst(tag.Artist, artist, value);
        } else if (SameName(name, vorbis::kTitle)) {
            SetFirst(tag.Title, title, value);
        } else if (SameName(name, vorbis::kAlbum)) {
            SetFirst(tag.Album, album, value);
        } else if (SameName(name, vorbis::kTrack)) {
            SetFirst(tag.Track, track, value);
        } else if (SameName(name, vorbis::kDate)) {
            SetFirst(tag.Date, date, value);
        } else if (SameName(name, vorbis::kComment)) {
            SetFirst(tag.Comment, note, value);
        } else if (SameName(name, vorbis::kLyrics)) {
            SetFirst(tag.Lyrics, lyrics, value);
        } else if (SameName(name, vorbis::kUnsyncedLyrics)) {
            SetFirst(unsyncedLyrics, unsynced, value);
        }
    }
    if (!tag.Lyrics.empty()) {
        tag.LyricsPlace = kPlaceVorbisLyrics;
    } else if (!unsyncedLyrics.empty()) {
        tag.Lyrics = std::move(unsyncedLyrics);
        tag.LyricsPlace = kPlaceVorbisUnsyncedLyrics;
    }
    return tag;
}

}  // namespace versemark
