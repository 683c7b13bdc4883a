// SPDX-License-Identifier: GPL-3.0-or-later
#include <array>
#include <string>
#include <utility>

#include "tags/AudioTag.h"
#include "tags/ByteOrder.h"
#include "tags/FormatLayout.h"

namespace versemark {
namespace {

struct Box {
    std::string Type;
    std::uint64_t Content = 0;  // where its content starts, past the header
    std::uint64_t End = 0;
};

// The box whose header starts at `at` inside a container ending at `end`;
// nullopt when the header cannot be read or its size does not fit the container.
std::optional<Box> BoxAt(RandomAccessFile& file, std::uint64_t at, std::uint64_t end) {
    std::string header;
    if (end - at < mp4::kBoxHeaderSize || !file.ReadAt(at, mp4::kBoxHeaderSize, header)) {
        return std::nullopt;
    }
    Box box{header.substr(mp4::kTypeOffset, mp4::kTypeWidth), at + mp4::kBoxHeaderSize, end};
    std::uint64_t size = BigEndian(header, mp4::kTypeOffset);
    if (size == mp4::kSizeIsLarge) {
        std::string large;
        if (end - box.Content < mp4::kLargeSizeWidth ||
            !file.ReadAt(box.Content, mp4::kLargeSizeWidth, large)) {
            return std::nullopt;
        }
        size = BigEndian(large, mp4::kLargeSizeWidth);
        box.Content += mp4::kLargeSizeWidth;
    } else if (size == mp4::kSizeToEnd) {
        return box;
    }
    if (size < box.Content - at || size > end - at) {
        return std::nullopt;
    }
    box.End = at + size;
    return box;
}

// The first box of `type` among the boxes from `from` to `end`, read header by
// header (the content of the others, audio above all, is never read).
std::optional<Box> FindBox(RandomAccessFile& file, std::uint64_t from, std::uint64_t end,
                           std::string_view type) {
    // Every box moves on by at least its header, so the walk ends.
    for (std::uint64_t at = from; at < end;) {
        const std::optional<Box> box = BoxAt(file, at, end);
        if (!box) {
            return std::nullopt;
        }
        if (box->Type == type) {
            return box;
        }
        at = box->End;
    }
    return std::nullopt;
}

// The value of an item's "data" box, past its type and locale; nullopt when the
// item has none or it is too long to read.
std::optional<std::string> ItemValue(RandomAccessFile& file, const Box& item) {
    const std::optional<Box> data = FindBox(file, item.Content, item.End, mp4::kData);
    if (!data || data->End - data->Content < mp4::kDataPrefixSize ||
        data->End - data->Content > mp4::kMostItemSize) {
        return std::nullopt;
    }
    std::string value;
    if (!file.ReadAt(data->Content + mp4::kDataPrefixSize,
                     static_cast<std::size_t>(data->End - data->Content - mp4::kDataPrefixSize),
                     value)) {
        return std::nullopt;
    }
    return value;
}

// The track number of a "trkn" value as decimal text; empty when it is 0 or the
// value is too short.
std::string TrackText(std::string_view value) {
    if (value.size() < mp4::kTrackNumberOffset + mp4::kTrackNumberWidth) {
        return {};
    }
    const std::uint64_t track =
        BigEndian(value.substr(mp4::kTrackNumberOffset), mp4::kTrackNumberWidth);
    return track == 0 ? std::string() : std::to_string(track);
}

// The item list's box: moov/udta/meta/ilst.
std::optional<Box> ItemList(RandomAccessFile& file, std::uint64_t length) {
    const std::optional<Box> movie = FindBox(file, 0, length, mp4::kMovie);
    const std::optional<Box> user =
        movie ? FindBox(file, movie->Content, movie->End, mp4::kUserData) : std::nullopt;
    const std::optional<Box> meta =
        user ? FindBox(file, user->Content, user->End, mp4::kMeta) : std::nullopt;
    if (!meta || meta->End - meta->Content < mp4::kFullBoxHeaderSize) {
        return std::nullopt;
    }
    return FindBox(file, meta->Content + mp4::kFullBoxHeaderSize, meta->End, mp4::kItemList);
}

}  // namespace

std::optional<AudioTag> ReadMp4Tag(RandomAccessFile& file) {
    const std::optional<std::uint64_t> length = file.Length();
    const std::optional<Box> list = length ? ItemList(file, *length) : std::nullopt;
    if (!list) {
        return std::nullopt;
    }
    AudioTag tag;
    const std::array<std::pair<std::string_view, std::string*>, 6> texts = {{
        {mp4::kArtist, &tag.Artist},
        {mp4::kTitle, &tag.Title},
        {mp4::kAlbum, &tag.Album},
        {mp4::kDate, &tag.Date},
        {mp4::kComment, &tag.Comment},
        {mp4::kLyrics, &tag.Lyrics},
    }};
    for (std::uint64_t at = list->Content; at < list->End;) {
        const std::optional<Box> item = BoxAt(file, at, list->End);
        if (!item) {
            return std::nullopt;
        }
        at = item->End;
        for (const auto& [type, field] : texts) {
            if (item->Type == type && field->empty()) {
                *field = ItemValue(file, *item).value_or(std::string());
            }
        }
        if (item->Type == mp4::kTrack && tag.Track.empty()) {
            tag.Track = TrackText(ItemValue(file, *item).value_or(std::string()));
        }
    }
    if (!tag.Lyrics.empty()) {
        tag.LyricsPlace = kPlaceMp4Lyrics;
    }
    return tag;
}

}  // namespace versemark
