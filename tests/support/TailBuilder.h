// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace versemark::testing {

// Builds the bytes of an MP3 file from its parts, front to back. Markers and
// widths are written out here on their own, so expected bytes never come from
// the code under test.
//
//   TailBuilder().audio(1000).lyrics3v2({{"IND", "100"}, {"LYR", "abc"}}).id3v1("T", "A").bytes()
class TailBuilder {
  public:
    using Fields = std::vector<std::pair<std::string, std::string>>;

    // `count` bytes of silent MPEG audio.
    TailBuilder& audio(std::size_t count);
    // "LYRICSBEGIN", each field as id, 5-digit size and data, the 6-digit tag
    // size, the trailer.
    TailBuilder& lyrics3v2(const Fields& fields, std::string_view trailer = "LYRICS200");
    // "LYRICSBEGIN", the text, "LYRICSEND".
    TailBuilder& lyrics3v1(std::string_view text);
    // A 128-byte block "TAG" with NUL-padded text fields.
    TailBuilder& id3v1(std::string_view title, std::string_view artist, std::string_view album = "",
                       std::string_view year = "", std::string_view comment = "",
                       std::uint8_t track = 0, std::uint8_t genre = 255);
    TailBuilder& raw(std::string_view bytes);

    const std::string& bytes() const { return bytes_; }
    std::size_t size() const { return bytes_.size(); }

    // The pieces on their own, for expected values.
    static std::string Lyrics3v2Tag(const Fields& fields, std::string_view trailer = "LYRICS200");
    static std::string Id3v1Block(std::string_view title, std::string_view artist,
                                  std::string_view album = "", std::string_view year = "",
                                  std::string_view comment = "", std::uint8_t track = 0,
                                  std::uint8_t genre = 255);
    // `value` zero-padded to `width` digits.
    static std::string Digits(std::size_t value, std::size_t width);
    // `text` cut or NUL-padded to `width`.
    static std::string Padded(std::string_view text, std::size_t width);

  private:
    std::string bytes_;
};

}  // namespace versemark::testing
