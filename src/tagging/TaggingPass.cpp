#include "tagging/TaggingPass.h"

#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "tagging/ReplaceByCopy.h"
#include "tags/LyricsText.h"
#include "tags/TagReaders.h"
#include "tags/TagWriter.h"
#include "tags/TailLayout.h"

namespace versemark {
namespace {

// Where the new tag goes and which trailer it ends with.
struct WritePlace {
    std::uint64_t Offset = 0;
    std::string Trailer;
};

// Reads the Lyrics3 tail that ends at E into `fields`. A version 1 tag is
// converted; a version 2 tag is rewritten in place with its own trailer; any
// other tail (or an unreadable one) gets the new tag at E. nullopt when a read
// of the file fails: the old tag would otherwise stay in front of the new one.
std::optional<WritePlace> ReadExistingTag(FieldList& fields, RandomAccessFile& file,
                                          std::uint64_t lyricsEnd, const TagKind& kind) {
    std::optional<std::uint64_t> start = lyricsEnd;
    std::string trailer(tail::kTrailerV200);
    if (kind == kKindLyrics3v1) {
        start = ReadLyrics3v1Field(fields, file, lyricsEnd);
    } else if (IsLyrics3v2Kind(kind)) {
        start = ReadLyrics3v2Fields(fields, file, lyricsEnd);
        trailer = kind;
    }
    if (!start) {
        return std::nullopt;
    }
    return WritePlace{*start, trailer};
}

// Artist and title in the companion's code page when the name converts exactly,
// else the name's own bytes.
Id3v1Tag Id3v1FromLyricsName(std::string_view lyricsName) {
    const std::string name = Utf8ToWindows1252(lyricsName).value_or(std::string(lyricsName));
    return BuildId3v1Tag(ArtistFromName(name), TitleFromName(name), "", tail::kBlankYear, "", 0,
                         tail::kGenreNone);
}

}  // namespace

bool WriteLyricsTail(RandomAccessFile& mp3, std::string_view preparedLyrics,
                     std::string_view lyricsName) {
    auto id3 = ReadId3v1Tag(mp3);
    const auto length = mp3.Length();
    if (!id3 || !length) {
        return false;
    }
    const std::uint64_t lyricsEnd = LyricsEnd(*length, *id3);
    if (!id3->IsPresent()) {
        id3 = Id3v1FromLyricsName(lyricsName);
    }
    const auto kind = GetLyricsTagKind(mp3, lyricsEnd);
    if (!kind) {
        return false;
    }
    FieldList fields;
    const std::optional<WritePlace> place = ReadExistingTag(fields, mp3, lyricsEnd, *kind);
    if (!place) {
        return false;
    }
    SetLyrics3Field(fields, tail::kFieldInd, tail::kIndLyricsPresent);
    SetLyrics3Field(fields, tail::kFieldLyrics, preparedLyrics);
    return WriteLyrics3Tag(fields, *id3, mp3, place->Offset, place->Trailer);
}

std::optional<std::string> ReadPreparedLyrics(const std::string& lyricsPath) {
    auto lyrics = ReadWholeFile(lyricsPath);
    if (lyrics) {
        PrepareStoredLyrics(*lyrics);
    }
    return lyrics;
}

bool TagFile(const std::string& mp3Path, const std::string& lyricsPath, std::string_view lyricsName,
             const FileOpener& open) {
    // A missing file, a folder or a file that cannot be opened for writing all
    // fail here, before anything is read.
    const std::unique_ptr<RandomAccessFile> mp3 = open(mp3Path, FileAccess::ReadWrite);
    if (!mp3) {
        return false;
    }
    // The lyrics are read whole before anything is written to the MP3 file.
    const auto lyrics = ReadPreparedLyrics(lyricsPath);
    const bool tagged = lyrics && WriteLyricsTail(*mp3, *lyrics, lyricsName);
    const bool closed = mp3->Close();
    return tagged && closed;
}

std::optional<std::string> LetsTagThem(const RowList& rows, const FileOpener& open,
                                       const TagOptions& options) {
    if (rows.Empty()) {
        return std::nullopt;
    }
    std::string log;
    for (const ResultRow& row : rows.Rows()) {
        if (!row.Checked) {
            continue;
        }
        const std::string& mp3Path = row.Mp3Path;
        const bool tagged = options.AlsoId3v2
                                ? TagFileByCopy(mp3Path, row.LyricsPath, row.LyricsName, options)
                                : TagFile(mp3Path, row.LyricsPath, row.LyricsName, open);
        log += tagged ? kLogTagged : kLogError;
        log += mp3Path;
        log += kLineEnd;
    }
    return log;
}

}  // namespace versemark
