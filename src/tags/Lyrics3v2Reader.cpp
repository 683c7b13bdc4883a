// SPDX-License-Identifier: GPL-3.0-or-later
#include "tags/DecimalDigits.h"
#include "tags/TagReaders.h"
#include "tags/TailLayout.h"

namespace versemark {
namespace {

// Reads the fields of a tag body (the bytes from behind "LYRICSBEGIN" up to the
// size digits) into `fields`. False as soon as a field does not fit in the body
// or its size is not a number; the fields stored before stay.
bool ReadFieldsOfBody(std::string_view body, FieldList& fields) {
    using namespace tail;
    std::size_t pos = 0;
    while (pos < body.size()) {
        if (body.size() - pos < kFieldHeaderSize) {
            return false;
        }
        const std::string_view id = body.substr(pos, kFieldIdSize);
        const auto size = ParseDigits(body.substr(pos + kFieldIdSize, kFieldSizeDigits));
        pos += kFieldHeaderSize;
        if (!size || *size > body.size() - pos) {
            return false;
        }
        if (*size == 0) {
            continue;  // empty fields are not carried over
        }
        Lyrics3Field field;
        field.FieldId = std::string(id);
        field.FieldData = std::string(body.substr(pos, *size));
        fields.push_back(std::move(field));
        pos += *size;
    }
    return true;
}

}  // namespace

std::optional<std::uint64_t> ReadLyrics3v2Fields(FieldList& fields, RandomAccessFile& file,
                                                 std::uint64_t lyricsEnd) {
    using namespace tail;
    if (lyricsEnd < kTagOverhead) {
        return lyricsEnd;
    }
    const std::uint64_t sizeOffset = lyricsEnd - kTagOverhead;
    std::string sizeDigits;
    if (!file.ReadAt(sizeOffset, kTagSizeDigits, sizeDigits)) {
        return std::nullopt;
    }
    const auto tagSize = ParseDigits(sizeDigits);
    if (!tagSize || *tagSize < kLyricsBeginSize || *tagSize > sizeOffset) {
        return lyricsEnd;
    }
    const std::uint64_t start = sizeOffset - *tagSize;
    std::string tag;
    if (!file.ReadAt(start, *tagSize, tag)) {
        return std::nullopt;
    }
    if (!tag.starts_with(kLyricsBegin)) {
        return lyricsEnd;
    }
    if (!ReadFieldsOfBody(std::string_view(tag).substr(kLyricsBeginSize), fields)) {
        return lyricsEnd;
    }
    return start;
}

}  // namespace versemark
