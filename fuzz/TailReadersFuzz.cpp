// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes, taken as a whole MP3 file, to every reader of the tail
// (and, taken as a FLAC, Ogg or MP4 file, to the walkers of their own tags) and
// checks what they promise: no read beyond the end, a tag start S never
// behind the lyrics end E, a tag found only where its markers are, the scan's
// quick reading of the tail agreeing with the full one, and the readers that
// open a file by name reading what the open file gives.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Check.h"
#include "MemoryFile.h"
#include "NamedMemoryFile.h"
#include "matching/Mp3Sample.h"
#include "tags/AudioTag.h"
#include "tags/SavedLyrics.h"
#include "tags/TagReaders.h"
#include "tags/TailLayout.h"

namespace versemark::fuzz {
namespace {

// True when a reader found a tag: its start S lies before E, and S holds the
// begin marker. False when S is E (no tag).
bool FoundTag(std::string_view bytes, std::uint64_t start, std::uint64_t lyricsEnd) {
    Check(start <= lyricsEnd, "a tag starts at or before E");
    if (start == lyricsEnd) {
        return false;
    }
    Check(bytes.substr(start, tail::kLyricsBeginSize) == tail::kLyricsBegin,
          "a tag starts with its begin marker");
    return true;
}

void CheckVersion2Reader(MemoryFile& file, std::uint64_t lyricsEnd) {
    FieldList fields;
    const std::uint64_t start = ReadLyrics3v2Fields(fields, file, lyricsEnd).value_or(lyricsEnd);
    if (!FoundTag(file.Bytes(), start, lyricsEnd)) {
        return;
    }
    std::size_t fieldBytes = 0;
    for (const Lyrics3Field& field : fields) {
        Check(field.FieldId.size() == tail::kFieldIdSize, "field ids have 3 characters");
        Check(!field.FieldData.empty() && field.FieldData.size() <= tail::kMaxFieldData,
              "field data is not empty and fits 5 digits");
        fieldBytes += tail::kFieldHeaderSize + field.FieldData.size();
    }
    Check(tail::kLyricsBeginSize + fieldBytes + tail::kTagOverhead <= lyricsEnd - start,
          "the fields fit in the tag");
}

void CheckVersion1Reader(MemoryFile& file, std::uint64_t lyricsEnd) {
    FieldList fields;
    const std::uint64_t start = ReadLyrics3v1Field(fields, file, lyricsEnd).value_or(lyricsEnd);
    if (!FoundTag(file.Bytes(), start, lyricsEnd)) {
        return;
    }
    Check(lyricsEnd - start <= tail::kV1SearchWindow, "a version 1 tag lies in the search window");
    const std::size_t lyricsSize = lyricsEnd - start - tail::kLyricsBeginSize - tail::kTrailerSize;
    Check(GetLyrics3Field(fields, tail::kFieldLyrics).size() == lyricsSize,
          "a version 1 tag's lyrics are the bytes between its markers");
}

// The scan's sample of a file: its head and its last bytes.
Mp3Sample SampleOfBytes(std::string_view bytes) {
    const std::size_t tailSize = std::min(bytes.size(), kMp3TailSize);
    return Mp3SampleFromBytes(std::string(bytes.substr(0, kMp3HeadSize)),
                              bytes.substr(bytes.size() - tailSize), bytes.size());
}

// The scan reads only the head and the last bytes; the kind it finds must be the
// kind the full readers find.
void CheckScanSample(MemoryFile& file, const std::optional<TagKind>& kind,
                     const std::optional<Id3v1Tag>& id3) {
    const std::string_view bytes = file.Bytes();
    const Mp3Sample sample = SampleOfBytes(bytes);
    Check(sample.Kind == kind.value_or(TagKind(kKindNoLyrics)),
          "the scan's sample finds the kind the tail readers find");
    const bool present = id3 && id3->IsPresent();
    Check(sample.Id3Block.empty() != present, "the sample holds the ID3v1 block when present");
    Check(!present || sample.Id3Block == bytes.substr(bytes.size() - tail::kId3v1Size),
          "the sample's ID3v1 block is the file's last 128 bytes");
}

// The readers that open a file by name read through the operating system's
// file; they must read what the in-memory file gives.
void CheckReadersByName(MemoryFile& file, std::string_view bytes) {
    static NamedMemoryFile named("versemark-fuzz-mp3");
    const std::string& path = named.Write(bytes);
    Check(ReadSavedLyrics(path) == ReadSavedLyrics(file),
          "the saved lyrics read by name are those read from the open file");
    const Mp3Sample sample = ReadMp3Sample(path);
    Mp3Sample expected = SampleOfBytes(bytes);
    // A file not named ".mp3" (as this one) is read through its own tag when it
    // is FLAC, Ogg or MP4.
    const ContentKind container = DetectContainerKind(file);
    if (HasOwnLyricsField(container)) {
        expected = Mp3Sample{};
        if (const std::optional<AudioTag> tag = ReadAudioTag(file, container)) {
            expected.Head =
                tag->Artist + tag->Title + tag->Album + tag->Track + tag->Date + tag->Comment;
        }
    }
    Check(sample.Head == expected.Head && sample.Id3Block == expected.Id3Block &&
              sample.Kind == expected.Kind,
          "the scan's sample read by name is the sample of the bytes");
}

// The walkers of the other formats' tags over any bytes: every field is bytes
// of the file, and lyrics come with the place they were found.
void CheckWalkers(MemoryFile& file) {
    const ContentKind container = DetectContainerKind(file);
    Check(container == ContentKind::Other || DetectContentKind(file) == container,
          "the content rule takes the container's kind first");
    for (const ContentKind kind : {ContentKind::Flac, ContentKind::Ogg, ContentKind::Mp4}) {
        const std::optional<AudioTag> tag = ReadAudioTag(file, kind);
        if (!tag) {
            continue;
        }
        for (const std::string* field : {&tag->Artist, &tag->Title, &tag->Album, &tag->Track,
                                         &tag->Date, &tag->Comment, &tag->Lyrics}) {
            Check(field->size() <= file.Bytes().size(), "a tag's field lies within the file");
        }
        Check(tag->Lyrics.empty() == tag->LyricsPlace.empty(),
              "lyrics come with the place they were found");
    }
}

}  // namespace
}  // namespace versemark::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace versemark;
    fuzz::MemoryFile file(std::string(reinterpret_cast<const char*>(data), size));

    const std::optional<Id3v1Tag> id3 = ReadId3v1Tag(file);
    fuzz::Check(id3.has_value() == (size >= tail::kId3v1Size),
                "the ID3v1 record is read exactly when the file has 128 bytes");
    const std::uint64_t lyricsEnd = LyricsEnd(size, id3.value_or(Id3v1Tag{}));
    const std::optional<TagKind> kind = GetLyricsTagKind(file, lyricsEnd);
    fuzz::CheckVersion2Reader(file, lyricsEnd);
    fuzz::CheckVersion1Reader(file, lyricsEnd);
    fuzz::CheckScanSample(file, kind, id3);
    fuzz::Check(!ReadSavedLyrics(file).empty(), "the saved lyrics viewer always has a text");
    fuzz::CheckReadersByName(file, file.Bytes());
    fuzz::CheckWalkers(file);

    fuzz::Check(file.ReadsPastEnd() == 0, "no reader reads beyond the end of the file");
    fuzz::Check(file.Bytes() == std::string_view(reinterpret_cast<const char*>(data), size),
                "readers never change the file");
    return 0;
}
