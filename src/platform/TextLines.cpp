// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TextLines.h"

namespace versemark {

namespace {
constexpr char kCr = '\r';
constexpr char kLf = '\n';

bool IsLineEnd(char c) {
    return c == kCr || c == kLf;
}
}  // namespace

bool LineReader::Next(std::string_view& line) {
    if (position_ >= text_.size()) {
        return false;
    }
    std::size_t end = position_;
    while (end < text_.size() && !IsLineEnd(text_[end])) {
        ++end;
    }
    line = text_.substr(position_, end - position_);
    if (end == text_.size()) {
        position_ = end;
    } else if (text_[end] == kCr && end + 1 < text_.size() && text_[end + 1] == kLf) {
        position_ = end + 2;  // CR LF
    } else {
        position_ = end + 1;  // a lone CR or LF
    }
    return true;
}

}  // namespace versemark
