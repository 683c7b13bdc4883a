// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>

#include "base/Companion.h"
#include "base/Text.h"
#include "platform/CodePage.h"
#include "tags/TagWriter.h"
#include "tags/TailLayout.h"

namespace versemark {
Id3v1Tag BuildId3v1Tag(std::string_view artist, std::string_view title, std::string_view album,
                       std::string_view year, std::string_view comment, std::uint8_t track,
                       std::uint8_t genre) {
    using namespace tail;
    Id3v1Tag tag;
    tag.TagId = std::string(kId3v1Marker);
    tag.Title = FitText(title, kId3TitleWidth);
    tag.Artist = FitText(artist, kId3ArtistWidth);
    tag.Album = FitText(album, kId3AlbumWidth);
    tag.Year = FitText(year, kId3YearWidth);
    tag.Comment = FitText(comment, kId3CommentWidth);
    tag.ZeroByte = 0;
    tag.Track = track;
    tag.Genre = genre;
    return tag;
}

std::string FitText(std::string_view text, std::size_t width) {
    std::string fitted(width > 0 ? text.substr(0, CutLength(text, width)) : text);
    if (width > 0) {
        fitted.resize(width, '\0');
    }
    std::replace(fitted.begin(), fitted.end(), tail::kForbiddenChar, tail::kForbiddenReplacement);
    return fitted;
}

std::string ArtistFromName(std::string_view lyricsName) {
    const std::size_t hyphen = lyricsName.find(companion::kNameHyphen);
    if (hyphen == std::string_view::npos) {
        return {};
    }
    return TrimSpaces(lyricsName.substr(0, hyphen));
}

std::string TitleFromName(std::string_view lyricsName) {
    const std::size_t hyphen = lyricsName.find(companion::kNameHyphen);
    if (hyphen == std::string_view::npos) {
        return TrimSpaces(lyricsName);
    }
    return TrimSpaces(lyricsName.substr(hyphen + 1));
}

}  // namespace versemark
