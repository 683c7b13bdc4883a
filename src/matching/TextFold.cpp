// SPDX-License-Identifier: GPL-3.0-or-later
#include "matching/TextFold.h"

#include "matching/FoldStream.h"

namespace versemark {

std::string FoldCase(std::string_view text) {
    std::string folded(text.size(), '\0');  // the fold keeps the length
    char* out = folded.data();
    ForEachFoldedByte(text, [&out](unsigned char c) { *out++ = static_cast<char>(c); });
    return folded;
}

void FoldCaseInPlace(std::string& text) {
    text = FoldCase(text);
}

int CompareFolded(std::string_view a, std::string_view b) {
    const std::string fa = FoldCase(a);
    const std::string fb = FoldCase(b);
    const int byFold = std::string_view(fa).compare(fb);
    return byFold < 0 ? -1 : (byFold > 0 ? 1 : 0);
}

}  // namespace versemark
