// SPDX-License-Identifier: GPL-3.0-or-later
#include "tags/SavedLyrics.h"

#include <cerrno>
#include <system_error>

#include "tags/AudioTag.h"
#include "tags/TagReaders.h"
#include "tags/TailLayout.h"

namespace versemark {
namespace {

SavedLyricsRead Unreadable(int error) {
    return {SavedLyricsState::Unreadable, std::string(), std::generic_category().message(error)};
}

}  // namespace

SavedLyricsRead ReadSavedLyricsState(RandomAccessFile& file) {
    // Errors of one step leave its result empty and the next step runs.
    const std::optional<std::uint64_t> length = file.Length();
    if (!length) {
        return Unreadable(errno);
    }
    // A FLAC, Ogg or MP4 file keeps its lyrics in a field of its own tag.
    if (const ContentKind container = DetectContainerKind(file); HasOwnLyricsField(container)) {
        std::optional<AudioTag> tag = ReadAudioTag(file, container);
        if (!tag || tag->Lyrics.empty()) {
            return {SavedLyricsState::NoTag, std::string(), std::string()};
        }
        return {SavedLyricsState::Lyrics, std::move(tag->Lyrics), std::string()};
    }
    const Id3v1Tag id3 = ReadId3v1Tag(file).value_or(Id3v1Tag{});
    const std::uint64_t lyricsEnd = LyricsEnd(*length, id3);

    FieldList fields;
    const std::optional<TagKind> kind = GetLyricsTagKind(file, lyricsEnd);
    if (!kind || *kind == kKindNoLyrics) {
        return {SavedLyricsState::NoTag, std::string(), std::string()};
    }
    if (*kind == kKindVersionHigher) {
        return {SavedLyricsState::NewerVersionTag, std::string(), std::string()};
    }
    if (*kind == kKindLyrics3v1) {
        ReadLyrics3v1Field(fields, file, lyricsEnd);
    } else if (IsLyrics3v2Kind(*kind)) {
        ReadLyrics3v2Fields(fields, file, lyricsEnd);
    }

    std::string lyrics = GetLyrics3Field(fields, tail::kFieldLyrics);
    if (lyrics.empty()) {
        return {SavedLyricsState::TagWithoutLyrics, std::string(), std::string()};
    }
    return {SavedLyricsState::Lyrics, std::move(lyrics), std::string()};
}

SavedLyricsRead ReadSavedLyricsState(const std::string& mp3Path) {
    errno = 0;
    const std::unique_ptr<RandomAccessFile> file = OpenFile(mp3Path, FileAccess::Read);
    if (!file) {
        // Opened but not a regular file leaves no error of the system's own.
        return Unreadable(errno != 0 ? errno : EINVAL);
    }
    SavedLyricsRead read = ReadSavedLyricsState(*file);
    file->Close();
    return read;
}

std::string SavedLyricsText(SavedLyricsRead read) {
    switch (read.State) {
        case SavedLyricsState::Lyrics:
            return std::move(read.Lyrics);
        case SavedLyricsState::NewerVersionTag:
            return std::string(kNewerVersionTagMessage);
        default:
            return std::string(kLyricsFieldMissingMessage);
    }
}

std::string ReadSavedLyrics(RandomAccessFile& file) {
    return SavedLyricsText(ReadSavedLyricsState(file));
}

std::string ReadSavedLyrics(const std::string& mp3Path) {
    return SavedLyricsText(ReadSavedLyricsState(mp3Path));
}

}  // namespace versemark
