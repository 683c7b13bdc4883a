// SPDX-License-Identifier: GPL-3.0-or-later
#include "tags/TagWriter.h"

#include "tags/DecimalDigits.h"
#include "tags/TailLayout.h"
#include "tags/TailReplace.h"

namespace versemark {

std::optional<std::string> BuildLyrics3v2Tag(FieldList& fields, std::string_view trailer) {
    using namespace tail;
    if (trailer.size() != kTrailerSize) {
        return std::nullopt;
    }
    MoveIndFirst(fields);
    std::string tag(kLyricsBegin);
    for (const Lyrics3Field& field : fields) {
        if (field.FieldId.size() != kFieldIdSize || field.FieldData.size() > kMaxFieldData) {
            return std::nullopt;
        }
        tag += field.FieldId;
        tag += FormatDigits(field.FieldData.size(), kFieldSizeDigits);
        tag += field.FieldData;
    }
    const std::size_t tagSize = tag.size();  // "LYRICSBEGIN" and the fields
    if (tagSize > kMaxTagSize) {
        return std::nullopt;
    }
    tag += FormatDigits(tagSize, kTagSizeDigits);
    tag += trailer;
    return tag;
}

bool WriteLyrics3Tag(FieldList& fields, const Id3v1Tag& id3, RandomAccessFile& file,
                     std::uint64_t writeOffset, std::string_view trailer) {
    const auto tag = BuildLyrics3v2Tag(fields, trailer);
    if (!tag) {
        return false;
    }
    const std::string newTail = *tag + Id3v1ToBytes(id3);
    return ReplaceTail(file, writeOffset, newTail).Status == ReplaceStatus::Replaced;
}

}  // namespace versemark
