// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// The alphabet of the word automaton: each byte value that occurs in a folded word
// gets a class of its own, every other byte shares class 0 (it ends any word in
// progress). Also turns a text into the classes of its fold in one pass.
namespace versemark {

class ByteClasses {
  public:
    // `wordBytes`: the bytes of all folded words.
    explicit ByteClasses(std::string_view wordBytes);

    std::size_t Count() const { return count_; }
    std::uint8_t OfFolded(unsigned char b) const { return ofFolded_[b]; }

    // The classes of FoldCase(text), one per byte, into `out`.
    void OfText(std::string_view text, std::vector<std::uint8_t>& out) const;

  private:
    static constexpr std::size_t kByteValues = 256;
    std::size_t count_ = 1;
    std::array<std::uint8_t, kByteValues> ofFolded_{};
    // Per text byte: its class when it needs no context, else kNeedsContext (a
    // non-ASCII byte whose fold may matter). One table, so one read per byte.
    static constexpr std::uint16_t kNeedsContext = kByteValues;
    std::array<std::uint16_t, kByteValues> ofText_{};
};

}  // namespace versemark
