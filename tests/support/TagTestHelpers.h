// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/Companion.h"
#include "matching/ResultRow.h"
#include "platform/RandomAccessFile.h"
#include "tags/TagReaders.h"
#include "tags/TagRecords.h"

// Helpers shared by the tag tests.
namespace versemark::testing {

// The credit line as the stored lyrics end with it, written out from its parts.
inline std::string Credit() {
    return "Lyrics by Songleaf (" + std::string(companion::kWebAddress) + ")";
}

// What is stored for a lyrics file without a footer: its text, CR LF, the credit.
inline std::string Stored(std::string_view lyricsFileText) {
    return std::string(lyricsFileText) + "\r\n" + Credit();
}

inline ResultRow CheckedRow(const std::string& mp3, const std::string& lyrics,
                            const std::string& name, bool checked = true) {
    ResultRow row;
    row.Checked = checked;
    row.Mp3Path = mp3;
    row.LyricsPath = lyrics;
    row.LyricsName = name;
    return row;
}

// An open file's tail read in the order every caller uses.
struct TailRead {
    std::optional<Id3v1Tag> Id3;
    std::uint64_t End = 0;
    std::optional<TagKind> Kind;
    FieldList Fields;
    std::uint64_t Start = 0;
};

inline TailRead ReadTail(RandomAccessFile& file) {
    TailRead read;
    read.Id3 = ReadId3v1Tag(file);
    const auto length = file.Length();
    if (!read.Id3 || !length) {
        return read;
    }
    read.End = LyricsEnd(*length, *read.Id3);
    read.Start = read.End;
    read.Kind = GetLyricsTagKind(file, read.End);
    if (!read.Kind) {
        return read;
    }
    if (*read.Kind == kKindLyrics3v1) {
        read.Start = ReadLyrics3v1Field(read.Fields, file, read.End).value_or(read.End);
    } else if (IsLyrics3v2Kind(*read.Kind)) {
        read.Start = ReadLyrics3v2Fields(read.Fields, file, read.End).value_or(read.End);
    }
    return read;
}

}  // namespace versemark::testing
