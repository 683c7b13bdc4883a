// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string_view>

namespace versemark {

// Reads a text one line at a time. A line ends at CR LF, at a lone LF or at a
// lone CR (files written on any platform read the same); the line end itself is
// not part of the line. A last line without a line end still counts; a text that
// ends with a line end has no empty line after it.
class LineReader {
  public:
    explicit LineReader(std::string_view text) : text_(text) {}

    // The next line in `line`; false when the text is used up.
    bool Next(std::string_view& line);

  private:
    std::string_view text_;
    std::size_t position_ = 0;
};

}  // namespace versemark
