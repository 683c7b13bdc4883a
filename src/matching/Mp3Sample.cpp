// SPDX-License-Identifier: GPL-3.0-or-later
#include "matching/Mp3Sample.h"

#include <algorithm>

#include "matching/FileSearch.h"
#include "platform/FileSystem.h"
#include "platform/RandomAccessFile.h"
#include "tags/AudioTag.h"
#include "tags/ContentKind.h"
#include "tags/WindowedReads.h"

namespace versemark {

namespace {

// The ID3v1 block and the Lyrics3 kind from the tail bytes, into a sample whose
// head is already there.
void ReadTail(std::string_view tail, std::uint64_t length, Mp3Sample& sample) {
    sample.Id3Block.clear();
    sample.Kind = kKindNoLyrics;
    if (tail.size() != std::min<std::uint64_t>(length, kMp3TailSize)) {
        return;
    }
    std::uint64_t lyricsEnd = length;
    std::string_view beforeBlock = tail;
    if (tail.size() >= tail::kId3v1Size) {
        const std::string_view block = tail.substr(tail.size() - tail::kId3v1Size);
        if (block.starts_with(tail::kId3v1Marker)) {
            sample.Id3Block.assign(block);
            lyricsEnd = length - tail::kId3v1Size;
            beforeBlock = tail.substr(0, tail.size() - tail::kId3v1Size);
        }
    }
    if (lyricsEnd >= tail::kTrailerSize && beforeBlock.size() >= tail::kTrailerSize) {
        sample.Kind =
            TagKindFromTrailer(beforeBlock.substr(beforeBlock.size() - tail::kTrailerSize));
    }
}

// The words of the file's own tag into the sample's head, when the file is
// FLAC, Ogg or MP4; false (nothing read) for any other content.
bool ReadOwnTag(RandomAccessFile& opened, Mp3Sample& sample) {
    WindowedReads file(opened);  // the small reads near each other: one system call
    const ContentKind kind = DetectContainerKind(file);
    if (!HasOwnLyricsField(kind)) {
        return false;
    }
    sample.Format = kind;
    if (const std::optional<AudioTag> tag = ReadAudioTag(file, kind)) {
        for (const std::string* field :
             {&tag->Artist, &tag->Title, &tag->Album, &tag->Track, &tag->Date, &tag->Comment}) {
            sample.Head += *field;
        }
        sample.OwnLyrics = !tag->Lyrics.empty();
    }
    return true;
}

// An MP3 file by its name: such a file is always read as one.
bool NamedMp3(std::string_view path) {
    return EndsWithIgnoringCase(path, kMp3Pattern.substr(1));
}

}  // namespace

Mp3Sample Mp3SampleFromBytes(std::string head, std::string_view tail, std::uint64_t length) {
    Mp3Sample sample;
    sample.Head = std::move(head);
    sample.NoAudio = CannotHoldMpegAudio(sample.Head, length);
    ReadTail(tail, length, sample);
    return sample;
}

void ReadMp3Sample(const std::string& path, Mp3Sample& sample, std::string& tail) {
    sample.Head.clear();
    sample.Id3Block.clear();
    sample.Kind = kKindNoLyrics;
    sample.Stamp.reset();
    sample.NoAudio = false;
    sample.Format = ContentKind::MpegAudio;
    sample.OwnLyrics = false;
    const auto file = OpenFile(path, FileAccess::Read);
    if (!file) {
        return;
    }
    const std::optional<std::uint64_t> length = file->Length();
    if (!length) {
        return;
    }
    if (!NamedMp3(path) && ReadOwnTag(*file, sample)) {
        sample.Stamp = file->Stamp();
        file->Close();
        return;
    }
    file->ReadAt(0, static_cast<std::size_t>(std::min<std::uint64_t>(*length, kMp3HeadSize)),
                 sample.Head);  // a short read keeps the bytes that were there
    const std::size_t tailSize =
        static_cast<std::size_t>(std::min<std::uint64_t>(*length, kMp3TailSize));
    if (!file->ReadAt(*length - tailSize, tailSize, tail)) {
        tail.clear();
    }
    sample.Stamp = file->Stamp();
    file->Close();
    sample.NoAudio = CannotHoldMpegAudio(sample.Head, *length);
    ReadTail(tail, *length, sample);
}

Mp3Sample ReadMp3Sample(const std::string& path) {
    Mp3Sample sample;
    std::string tail;
    ReadMp3Sample(path, sample, tail);
    return sample;
}

}  // namespace versemark
