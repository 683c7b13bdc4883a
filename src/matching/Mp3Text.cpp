// SPDX-License-Identifier: GPL-3.0-or-later
#include "matching/Mp3Text.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>

#include "tags/TailLayout.h"

namespace versemark {
namespace {

// Markers of encoders and tag headers found in nearly every MP3 file's first bytes;
// they would otherwise make words such as "ID3" match every file.
constexpr std::string_view kEncoderMark = "LAME3";
constexpr std::string_view kId3v2Mark = "ID3";
constexpr char kApostrophe = '\'';
constexpr char kUnderscore = '_';
constexpr int kSeparatorsRemoved = 5;

void EraseFirst(std::string& text, std::string_view mark) {
    const std::size_t hit = text.find(mark);
    if (hit != std::string::npos) {
        text.erase(hit, mark.size());
    }
}

// Removes the first `count` occurrences of `c`, keeping everything else in order.
void EraseFirstOccurrences(std::string& text, char c, int count) {
    std::size_t hit = text.find(c);
    if (hit == std::string::npos) {
        return;
    }
    std::size_t out = hit;
    for (int removed = 1; removed <= count; ++removed) {
        const std::size_t from = hit + 1;
        hit = removed < count ? text.find(c, from) : std::string::npos;
        const std::size_t to = hit == std::string::npos ? text.size() : hit;
        // Moves the piece between two hits down over the removed characters.
        std::copy(text.begin() + static_cast<std::ptrdiff_t>(from),
                  text.begin() + static_cast<std::ptrdiff_t>(to),
                  text.begin() + static_cast<std::ptrdiff_t>(out));
        out += to - from;
        if (hit == std::string::npos) {
            break;
        }
    }
    text.resize(out);
}

}  // namespace

namespace {

// The pieces of an MP3 text in their order, each handed to `append`.
template <typename Append>
void ForEachTextPiece(std::string_view base, std::string_view head, std::string_view id3Block,
                      Append&& append) {
    append(base);
    append(head);
    // The fields are read where they stand in the block, as Id3v1FromBytes would
    // give them. Album and genre are not used.
    using namespace tail;
    if (id3Block.size() == kId3v1Size &&
        id3Block.substr(kId3TagIdOffset, kId3TagIdWidth) == kId3v1Marker) {
        append(id3Block.substr(kId3ArtistOffset, kId3ArtistWidth));
        append(id3Block.substr(kId3TitleOffset, kId3TitleWidth));
        char track[4];  // up to three digits
        const auto end = std::to_chars(std::begin(track), std::end(track),
                                       static_cast<unsigned char>(id3Block[kId3TrackOffset]))
                             .ptr;
        append(std::string_view(track, static_cast<std::size_t>(end - track)));
        append(id3Block.substr(kId3YearOffset, kId3YearWidth));
        append(id3Block.substr(kId3CommentOffset, kId3CommentWidth));
    }
}

// True when one of the eight bytes of `word` is NUL.
bool HasNulByte(std::uint64_t word) {
    constexpr std::uint64_t kLowBits = 0x0101010101010101ull;
    constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
    return ((word - kLowBits) & ~word & kHighBits) != 0;
}

// Copies the bytes eight at a time where none is NUL and skips eight NULs at once;
// elsewhere copies every byte
// and advances past the non-NUL ones, without a branch per byte that binary
// picture data with NULs all over would mispredict.
void AppendWithoutNuls(std::string& out, std::string_view bytes) {
    constexpr std::size_t kWordSize = sizeof(std::uint64_t);
    const std::size_t start = out.size();
    out.resize(start + bytes.size());
    char* next = out.data() + start;
    std::size_t i = 0;
    for (; i + kWordSize <= bytes.size(); i += kWordSize) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data() + i, kWordSize);
        if (!HasNulByte(word)) {
            std::memcpy(next, &word, kWordSize);
            next += kWordSize;
            continue;
        }
        if (word == 0) {  // silence and padding: eight NULs at once
            continue;
        }
        for (std::size_t k = i; k < i + kWordSize; ++k) {
            *next = bytes[k];
            next += bytes[k] != '\0';
        }
    }
    for (; i < bytes.size(); ++i) {
        *next = bytes[i];
        next += bytes[i] != '\0';
    }
    out.resize(static_cast<std::size_t>(next - out.data()));
}

// The normalisation after the NULs are gone.
void RemoveMarks(std::string& text) {
    EraseFirst(text, kEncoderMark);
    EraseFirst(text, kId3v2Mark);
    EraseFirstOccurrences(text, kApostrophe, kSeparatorsRemoved);
    EraseFirstOccurrences(text, kUnderscore, kSeparatorsRemoved);
}

}  // namespace

std::string BuildMp3Text(std::string_view base, std::string_view head, std::string_view id3Block) {
    std::string text;
    text.reserve(base.size() + head.size() + tail::kId3v1Size);
    ForEachTextPiece(base, head, id3Block, [&](std::string_view piece) { text.append(piece); });
    return text;
}

std::string NormaliseMp3Text(std::string_view text) {
    std::string normalised;
    normalised.reserve(text.size());
    AppendWithoutNuls(normalised, text);
    RemoveMarks(normalised);
    return normalised;
}

void NormalisedMp3Text(std::string_view base, std::string_view head, std::string_view id3Block,
                       std::string& text) {
    text.clear();
    text.reserve(base.size() + head.size() + tail::kId3v1Size);
    ForEachTextPiece(base, head, id3Block,
                     [&](std::string_view piece) { AppendWithoutNuls(text, piece); });
    RemoveMarks(text);
}

std::string NormalisedMp3Text(std::string_view base, std::string_view head,
                              std::string_view id3Block) {
    std::string text;
    NormalisedMp3Text(base, head, id3Block, text);
    return text;
}

}  // namespace versemark
