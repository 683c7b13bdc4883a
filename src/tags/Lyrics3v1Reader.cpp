// SPDX-License-Identifier: GPL-3.0-or-later
#include "tags/TagReaders.h"
#include "tags/TagWriter.h"
#include "tags/TailLayout.h"

namespace versemark {

std::optional<std::uint64_t> ReadLyrics3v1Field(FieldList& fields, RandomAccessFile& file,
                                                std::uint64_t lyricsEnd) {
    using namespace tail;
    if (lyricsEnd < kV1SearchWindow) {
        return lyricsEnd;
    }
    const std::uint64_t windowStart = lyricsEnd - kV1SearchWindow;
    std::string window;
    if (!file.ReadAt(windowStart, kV1SearchWindow, window)) {
        return std::nullopt;
    }
    // The window ends with "LYRICSEND"; the lyrics stop in front of it.
    const std::size_t lyricsStop = window.size() - kLyricsV1End.size();
    const std::size_t begin = window.rfind(kLyricsBegin, lyricsStop - kLyricsBeginSize);
    if (begin == std::string::npos) {
        return lyricsEnd;
    }
    const std::size_t lyricsStart = begin + kLyricsBeginSize;
    SetLyrics3Field(fields, kFieldInd, kIndLyricsPresent);
    SetLyrics3Field(fields, kFieldLyrics,
                    std::string_view(window).substr(lyricsStart, lyricsStop - lyricsStart));
    return windowStart + begin;
}

}  // namespace versemark
