// SPDX-License-Identifier: GPL-3.0-or-later
#include "tags/TagReaders.h"

#include "tags/TailLayout.h"

namespace versemark {

std::optional<Id3v1Tag> ReadId3v1Tag(RandomAccessFile& file) {
    const auto length = file.Length();
    if (!length || *length < tail::kId3v1Size) {
        return std::nullopt;
    }
    std::string block;
    if (!file.ReadAt(*length - tail::kId3v1Size, tail::kId3v1Size, block)) {
        return std::nullopt;
    }
    return Id3v1FromBytes(block);
}

std::uint64_t LyricsEnd(std::uint64_t fileLength, const Id3v1Tag& tag) {
    if (tag.IsPresent() && fileLength >= tail::kId3v1Size) {
        return fileLength - tail::kId3v1Size;
    }
    return fileLength;
}

std::optional<TagKind> GetLyricsTagKind(RandomAccessFile& file, std::uint64_t lyricsEnd) {
    if (lyricsEnd < tail::kTrailerSize) {
        return std::nullopt;
    }
    std::string trailer;
    if (!file.ReadAt(lyricsEnd - tail::kTrailerSize, tail::kTrailerSize, trailer)) {
        return std::nullopt;
    }
    return TagKindFromTrailer(trailer);
}

std::string GetLyrics3Field(const FieldList& fields, std::string_view fieldId) {
    for (const Lyrics3Field& field : fields) {
        if (field.FieldId == fieldId) {
            return field.FieldData;
        }
    }
    return {};
}

}  // namespace versemark
