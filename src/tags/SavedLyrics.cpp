#include "tags/SavedLyrics.h"

#include "tags/TagReaders.h"
#include "tags/TailLayout.h"

namespace versemark {

std::string ReadSavedLyrics(RandomAccessFile& file) {
    // Errors of one step leave its result empty and the next step runs.
    const std::optional<std::uint64_t> length = file.Length();
    if (!length) {
        return std::string(kLyricsFieldMissingMessage);
    }
    const Id3v1Tag id3 = ReadId3v1Tag(file).value_or(Id3v1Tag{});
    const std::uint64_t lyricsEnd = LyricsEnd(*length, id3);

    FieldList fields;
    const std::optional<TagKind> kind = GetLyricsTagKind(file, lyricsEnd);
    if (kind && *kind == kKindLyrics3v1) {
        ReadLyrics3v1Field(fields, file, lyricsEnd);
    } else if (kind && IsLyrics3v2Kind(*kind)) {
        ReadLyrics3v2Fields(fields, file, lyricsEnd);
    }

    std::string lyrics = GetLyrics3Field(fields, tail::kFieldLyrics);
    if (lyrics.empty()) {
        return std::string(kLyricsFieldMissingMessage);
    }
    return lyrics;
}

std::string ReadSavedLyrics(const std::string& mp3Path) {
    const std::unique_ptr<RandomAccessFile> file = OpenFile(mp3Path, FileAccess::Read);
    if (!file) {
        return std::string(kLyricsFieldMissingMessage);
    }
    std::string lyrics = ReadSavedLyrics(*file);
    file->Close();
    return lyrics;
}

}  // namespace versemark
