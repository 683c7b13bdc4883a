// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TailBuilder.h"

#include "demo/SilentMp3.h"

namespace versemark::testing {

TailBuilder& TailBuilder::audio(std::size_t count) {
    const std::size_t frames = count / kSilentFrameSize + 1;
    bytes_ += SilentMp3Audio(frames).substr(0, count);
    return *this;
}

TailBuilder& TailBuilder::lyrics3v2(const Fields& fields, std::string_view trailer) {
    bytes_ += Lyrics3v2Tag(fields, trailer);
    return *this;
}

TailBuilder& TailBuilder::lyrics3v1(std::string_view text) {
    bytes_ += "LYRICSBEGIN";
    bytes_ += text;
    bytes_ += "LYRICSEND";
    return *this;
}

TailBuilder& TailBuilder::id3v1(std::string_view title, std::string_view artist,
                                std::string_view album, std::string_view year,
                                std::string_view comment, std::uint8_t track, std::uint8_t genre) {
    bytes_ += Id3v1Block(title, artist, album, year, comment, track, genre);
    return *this;
}

TailBuilder& TailBuilder::raw(std::string_view bytes) {
    bytes_ += bytes;
    return *this;
}

std::string TailBuilder::Lyrics3v2Tag(const Fields& fields, std::string_view trailer) {
    std::string tag = "LYRICSBEGIN";
    for (const auto& [id, data] : fields) {
        tag += id;
        tag += Digits(data.size(), 5);
        tag += data;
    }
    const std::size_t size = tag.size();
    tag += Digits(size, 6);
    tag += trailer;
    return tag;
}

std::string TailBuilder::Id3v1Block(std::string_view title, std::string_view artist,
                                    std::string_view album, std::string_view year,
                                    std::string_view comment, std::uint8_t track,
                                    std::uint8_t genre) {
    std::string block = "TAG";
    block += Padded(title, 30);
    block += Padded(artist, 30);
    block += Padded(album, 30);
    block += Padded(year, 4);
    block += Padded(comment, 28);
    block += '\0';
    block += static_cast<char>(track);
    block += static_cast<char>(genre);
    return block;
}

std::string TailBuilder::Digits(std::size_t value, std::size_t width) {
    std::string digits = std::to_string(value);
    return std::string(width > digits.size() ? width - digits.size() : 0, '0') + digits;
}

std::string TailBuilder::Padded(std::string_view text, std::size_t width) {
    std::string padded(text.substr(0, width));
    padded.resize(width, '\0');
    return padded;
}

}  // namespace versemark::testing
