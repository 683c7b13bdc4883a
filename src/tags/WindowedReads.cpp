// SPDX-License-Identifier: GPL-3.0-or-later
#include "tags/WindowedReads.h"

#include <algorithm>

namespace versemark {

std::optional<std::uint64_t> WindowedReads::Length() {
    if (!length_) {
        length_ = file_.Length();
    }
    return length_;
}

bool WindowedReads::ReadAt(std::uint64_t offset, std::size_t count, std::string& out) {
    const std::optional<std::uint64_t> length = Length();
    if (!length || offset > *length || count > *length - offset) {
        return false;  // fewer bytes are there than asked for
    }
    const bool inWindow = offset >= windowStart_ && offset - windowStart_ <= window_.size() &&
                          count <= window_.size() - (offset - windowStart_);
    if (inWindow) {
        out.assign(window_, static_cast<std::size_t>(offset - windowStart_), count);
        return true;
    }
    if (count >= kWindowSize) {  // a large piece is read as it is, and kept out of the window
        return file_.ReadAt(offset, count, out);
    }
    const auto size =
        static_cast<std::size_t>(std::min<std::uint64_t>(kWindowSize, *length - offset));
    if (!file_.ReadAt(offset, size, window_)) {
        window_.clear();
        return false;
    }
    windowStart_ = offset;
    out.assign(window_, 0, count);
    return true;
}

}  // namespace versemark
