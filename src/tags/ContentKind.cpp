// SPDX-License-Identifier: GPL-3.0-or-later
#include "tags/ContentKind.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tags/FormatLayout.h"
#include "tags/MpegFrameHeader.h"
#include "tags/TagReaders.h"
#include "tags/TailLayout.h"

namespace versemark {
namespace {

// The ID3v2 tag header: "ID3", version (2 bytes), flags, the size of what
// follows the header in 4 bytes of 7 bits each; a footer of the header's size
// follows the tag when the flags say so.
constexpr std::string_view kId3v2Marker = "ID3";
constexpr std::size_t kId3v2HeaderSize = 10;
constexpr std::size_t kId3v2FlagsOffset = 5;
constexpr std::size_t kId3v2SizeOffset = 6;
constexpr std::size_t kId3v2SizeWidth = 4;
constexpr unsigned kId3v2FooterFlag = 0x10;
constexpr unsigned kSevenBits = 0x7F;
constexpr unsigned kSynchsafeShift = 7;

// How far past the ID3v2 tag the first frame header is looked for: junk or
// padding in front of the audio is skipped up to this length.
constexpr std::size_t kFrameSearchLength = 64 * 1024;
constexpr std::size_t kSearchPiece = 4 * 1024;

// Where the audio ends: the start of the Lyrics3 tag and ID3v1 block at the
// file's end, or the end itself; nullopt when a read fails (a file that cannot
// be read whole is not judged).
std::optional<std::uint64_t> AudioEnd(RandomAccessFile& file, std::uint64_t length) {
    if (length < tail::kId3v1Size) {
        return length;  // too short for an ID3v1 block
    }
    const auto id3 = ReadId3v1Tag(file);
    if (!id3) {
        return std::nullopt;
    }
    const std::uint64_t lyricsEnd = LyricsEnd(length, *id3);
    if (lyricsEnd < tail::kTrailerSize) {
        return lyricsEnd;  // too short for a Lyrics3 trailer
    }
    const auto kind = GetLyricsTagKind(file, lyricsEnd);
    if (!kind) {
        return std::nullopt;
    }
    FieldList fields;
    if (*kind == kKindLyrics3v1) {
        return ReadLyrics3v1Field(fields, file, lyricsEnd);
    }
    if (IsLyrics3v2Kind(*kind)) {
        return ReadLyrics3v2Fields(fields, file, lyricsEnd);
    }
    return lyricsEnd;
}

// The size of the ID3v2 tag that starts the file, header and footer included; 0
// when none starts it, nullopt when its size field is not synchsafe.
std::optional<std::uint64_t> Id3v2Size(std::string_view start) {
    if (start.size() < kId3v2HeaderSize || !start.starts_with(kId3v2Marker)) {
        return 0;
    }
    std::uint64_t size = 0;
    for (std::size_t i = 0; i < kId3v2SizeWidth; ++i) {
        const auto digit = static_cast<unsigned char>(start[kId3v2SizeOffset + i]);
        if (digit > kSevenBits) {
            return std::nullopt;
        }
        size = (size << kSynchsafeShift) | digit;
    }
    const bool footer = (static_cast<unsigned char>(start[kId3v2FlagsOffset]) & kId3v2FooterFlag);
    return kId3v2HeaderSize + size + (footer ? kId3v2HeaderSize : 0);
}

// True when a frame header at `at` of the audio (which ends at `audioEnd`) is
// followed by another where its length says, or its frame runs to the audio's
// end holding at least a header and side information.
bool FrameConfirmed(RandomAccessFile& file, std::uint64_t at, std::size_t frameLength,
                    std::uint64_t audioEnd) {
    const std::uint64_t next = at + frameLength;
    if (next + mpeg::kHeaderSize > audioEnd) {
        return audioEnd - at >= mpeg::kHeaderSize + mpeg::kLargestSideInfo;
    }
    std::string header;
    return file.ReadAt(next, mpeg::kHeaderSize, header) && mpeg::FrameLength(header).has_value();
}

// True when a confirmed frame header starts at or after `from` and before
// `searchEnd`, looked for a piece at a time: most files start their audio at
// once, and so are judged from their first few kilobytes.
bool FindFrame(RandomAccessFile& file, std::uint64_t from, std::uint64_t searchEnd,
               std::uint64_t audioEnd) {
    std::string piece;
    for (std::uint64_t at = from; at < searchEnd; at += kSearchPiece) {
        // Each piece reaches a header's width into the next, for a header across both.
        const std::uint64_t pieceEnd =
            std::min(at + kSearchPiece + mpeg::kHeaderSize - 1, audioEnd);
        if (!file.ReadAt(at, static_cast<std::size_t>(pieceEnd - at), piece)) {
            return false;
        }
        const std::uint64_t starts = std::min<std::uint64_t>(kSearchPiece, searchEnd - at);
        for (std::size_t i = 0; i < starts && i + mpeg::kHeaderSize <= piece.size(); ++i) {
            const auto frameLength = mpeg::FrameLength(std::string_view(piece).substr(i));
            if (frameLength && FrameConfirmed(file, at + i, *frameLength, audioEnd)) {
                return true;
            }
        }
    }
    return false;
}

bool HoldsMpegAudio(RandomAccessFile& file, std::uint64_t length) {
    const auto audioEnd = AudioEnd(file, length);
    std::string start;
    if (!audioEnd || !file.ReadAt(0, std::min<std::uint64_t>(kId3v2HeaderSize, length), start)) {
        return false;
    }
    const auto audioStart = Id3v2Size(start);
    if (CannotHoldMpegAudio(start, length) || *audioStart >= *audioEnd) {
        return false;
    }
    return FindFrame(file, *audioStart, std::min(*audioStart + kFrameSearchLength, *audioEnd),
                     *audioEnd);
}

// The file as the rule reads it, noting a read that failed although the bytes
// asked for lie within the file: a file that cannot be read whole is judged
// Other, whatever the reads that did succeed showed.
class WatchedReads final : public RandomAccessFile {
  public:
    WatchedReads(RandomAccessFile& file, std::uint64_t length) : file_(file), length_(length) {}

    bool Failed() const { return failed_; }

    std::optional<std::uint64_t> Length() override { return length_; }
    bool ReadAt(std::uint64_t offset, std::size_t count, std::string& out) override {
        const bool read = file_.ReadAt(offset, count, out);
        failed_ = failed_ || (!read && offset <= length_ && count <= length_ - offset);
        return read;
    }
    bool WriteAt(std::uint64_t, std::string_view) override { return false; }
    bool Truncate(std::uint64_t) override { return false; }
    bool Close() override { return true; }  // the caller's file stays open

  private:
    RandomAccessFile& file_;
    std::uint64_t length_;
    bool failed_ = false;
};

// True when the first Ogg page's first packet starts a Vorbis or Opus
// identification header.
bool StartsOggAudio(RandomAccessFile& file, std::uint64_t length) {
    std::string header;
    if (length < ogg::kPageHeaderSize || !file.ReadAt(0, ogg::kPageHeaderSize, header) ||
        !header.starts_with(ogg::kCapturePattern)) {
        return false;
    }
    const auto segments = static_cast<unsigned char>(header[ogg::kSegmentCountOffset]);
    const std::size_t magic =
        std::max(ogg::kVorbisIdentification.size(), ogg::kOpusIdentification.size());
    std::string packet;
    if (segments == 0 || length < ogg::kPageHeaderSize + segments + magic ||
        !file.ReadAt(ogg::kPageHeaderSize + segments, magic, packet)) {
        return false;
    }
    return packet.starts_with(ogg::kVorbisIdentification) ||
           packet.starts_with(ogg::kOpusIdentification);
}

// True when "fLaC" stands where the audio starts, past any ID3v2 tag.
bool StartsFlac(RandomAccessFile& file, std::string_view start, std::uint64_t length) {
    const auto audioStart = Id3v2Size(start);
    std::string marker;
    return audioStart && *audioStart + flac::kMarker.size() <= length &&
           file.ReadAt(*audioStart, flac::kMarker.size(), marker) && marker == flac::kMarker;
}

}  // namespace

bool CannotHoldMpegAudio(std::string_view fileStart, std::uint64_t length) {
    const auto audioStart = Id3v2Size(fileStart);
    return !audioStart || *audioStart > length ||
           length - *audioStart < mpeg::kHeaderSize + mpeg::kLargestSideInfo;
}

ContentKind DetectContainerKind(RandomAccessFile& file) {
    const auto length = file.Length();
    std::string start;
    if (!length || !file.ReadAt(0, std::min<std::uint64_t>(kId3v2HeaderSize, *length), start)) {
        return ContentKind::Other;
    }
    if (StartsFlac(file, start, *length)) {
        return ContentKind::Flac;
    }
    if (start.starts_with(ogg::kCapturePattern) && StartsOggAudio(file, *length)) {
        return ContentKind::Ogg;
    }
    if (start.size() >= mp4::kBoxHeaderSize &&
        start.substr(mp4::kTypeOffset, mp4::kTypeWidth) == mp4::kFileType) {
        return ContentKind::Mp4;
    }
    return ContentKind::Other;
}

std::optional<std::uint64_t> AudioStart(RandomAccessFile& file) {
    const auto length = file.Length();
    std::string start;
    if (!length || !file.ReadAt(0, std::min<std::uint64_t>(kId3v2HeaderSize, *length), start)) {
        return std::nullopt;
    }
    return Id3v2Size(start);
}

bool HasOwnLyricsField(ContentKind kind) {
    return kind == ContentKind::Flac || kind == ContentKind::Ogg || kind == ContentKind::Mp4;
}

ContentKind DetectContentKind(RandomAccessFile& file) {
    const auto length = file.Length();
    if (!length) {
        return ContentKind::Other;
    }
    WatchedReads watched(file, *length);
    ContentKind kind = DetectContainerKind(watched);
    if (kind == ContentKind::Other && HoldsMpegAudio(watched, *length)) {
        kind = ContentKind::MpegAudio;
    }
    return watched.Failed() ? ContentKind::Other : kind;
}

}  // namespace versemark
