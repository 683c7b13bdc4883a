// SPDX-License-Identifier: GPL-3.0-or-later
// The ID3v2 lyrics frame, written and read with TagLib. The frame is rendered by
// TagLib; the frames around it are copied byte for byte, not re-rendered, so no
// frame TagLib would convert or drop for the tag's version changes.
#include "tags/Id3v2Lyrics.h"

#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2synchdata.h>
#include <taglib/id3v2tag.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/tfile.h>
#include <taglib/unsynchronizedlyricsframe.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/CodePage.h"
#include "platform/RandomAccessFile.h"

namespace versemark {
namespace {

namespace Id3 = TagLib::ID3v2;
using TagLib::ByteVector;

constexpr unsigned kVersion23 = 3;
constexpr unsigned kVersion24 = 4;
constexpr std::string_view kTagIdentifier = "ID3";
constexpr std::string_view kLyricsFrameId = "USLT";
constexpr std::string_view kUnknownLanguage = "XXX";
// A frame header: the 4-character id, the data size in 4 bytes (synchsafe in
// 2.4, plain in 2.3), 2 bytes of flags.
constexpr std::size_t kFrameSizeOffset = 4;
constexpr std::size_t kFrameSizeWidth = 4;
// The tag size stands at offset 6 of the tag header in 4 bytes of 7 bits each.
constexpr std::size_t kTagSizeOffset = 6;
constexpr std::size_t kTagSizeWidth = 4;
constexpr char kHighBit = '\x80';
constexpr std::size_t kMaxTagDataSize = (std::size_t{1} << 28) - 1;

ByteVector Bytes(std::string_view bytes) {
    return ByteVector(bytes.data(), static_cast<unsigned>(bytes.size()));
}

std::string_view View(const ByteVector& bytes) {
    return {bytes.data(), bytes.size()};
}

// Where one frame lies in the tag, header included.
struct FrameSpan {
    std::size_t Offset = 0;
    std::size_t Size = 0;
};

// Why a tag's frames cannot be copied as they are; empty when they can.
std::string UnkeepableTag(const Id3::Header& header, std::string_view tag) {
    if (tag.size() < Id3::Header::size()) {
        return "an ID3v2 tag cut short";
    }
    const std::string_view sizeField = tag.substr(kTagSizeOffset, kTagSizeWidth);
    if (std::any_of(sizeField.begin(), sizeField.end(), [](char c) { return c & kHighBit; })) {
        return "an ID3v2 tag with a damaged size";
    }
    if (header.majorVersion() != kVersion23 && header.majorVersion() != kVersion24) {
        return "an ID3v2." + std::to_string(header.majorVersion()) +
               " tag (only 2.3 and 2.4 tags are kept)";
    }
    if (header.unsynchronisation()) {
        return "an unsynchronised ID3v2 tag";
    }
    if (header.extendedHeader()) {
        return "an ID3v2 tag with an extended header";
    }
    if (header.footerPresent()) {
        return "an ID3v2 tag with a footer";
    }
    if (header.completeTagSize() != tag.size()) {
        return "an ID3v2 tag cut short";
    }
    return {};
}

// The frames of a 2.3 or 2.4 tag in order, up to the padding; nullopt when a
// frame reaches beyond the tag's end.
std::optional<std::vector<FrameSpan>> FrameSpans(std::string_view tag, const Id3::Header& header) {
    const unsigned version = header.majorVersion();
    const std::size_t frameHeaderSize = Id3::Frame::headerSize(version);
    const std::size_t end = Id3::Header::size() + header.tagSize();
    std::vector<FrameSpan> spans;
    std::size_t at = Id3::Header::size();
    while (at + frameHeaderSize <= end && tag[at] != '\0') {
        const ByteVector sizeField = Bytes(tag.substr(at + kFrameSizeOffset, kFrameSizeWidth));
        const std::size_t dataSize =
            version == kVersion24 ? Id3::SynchData::toUInt(sizeField) : sizeField.toUInt();
        if (dataSize > end - at - frameHeaderSize) {
            return std::nullopt;
        }
        spans.push_back({at, frameHeaderSize + dataSize});
        at += frameHeaderSize + dataSize;
    }
    return spans;
}

// True for the lyrics frame this program writes: empty description, language "XXX".
bool IsOwnLyricsFrame(std::string_view frame, const Id3::Header& header) {
    if (!frame.starts_with(kLyricsFrameId)) {
        return false;
    }
    const std::unique_ptr<Id3::Frame> parsed(
        Id3::FrameFactory::instance()->createFrame(Bytes(frame), &header));
    const auto* lyrics = dynamic_cast<const Id3::UnsynchronizedLyricsFrame*>(parsed.get());
    return lyrics != nullptr && lyrics->description().isEmpty() &&
           lyrics->language() == Bytes(kUnknownLanguage);
}

// The lyrics frame for a tag of `version`: UTF-8 text in 2.4, UTF-16 in 2.3.
class LyricsFrame final : public Id3::UnsynchronizedLyricsFrame {
  public:
    LyricsFrame(unsigned version, std::string_view storedLyrics)
        : UnsynchronizedLyricsFrame(version == kVersion24 ? TagLib::String::UTF8
                                                          : TagLib::String::UTF16) {
        header()->setVersion(version);
        setLanguage(Bytes(kUnknownLanguage));
        setText(TagLib::String(DisplayUtf8(storedLyrics), TagLib::String::UTF8));
    }
};

// A file over bytes in memory, so that TagLib can read a tag from them.
class MemoryFile final : public TagLib::File {
  public:
    explicit MemoryFile(TagLib::IOStream* stream) : TagLib::File(stream) {}
    TagLib::Tag* tag() const override { return nullptr; }
    TagLib::AudioProperties* audioProperties() const override { return nullptr; }
    bool save() override { return false; }
};

}  // namespace

bool Id3v2LyricsAvailable() {
    return true;
}

std::uint64_t Id3v2TagSize(std::string_view fileStart) {
    if (fileStart.size() < Id3::Header::size() || !fileStart.starts_with(kTagIdentifier)) {
        return 0;
    }
    const Id3::Header header(Bytes(fileStart.substr(0, Id3::Header::size())));
    return header.completeTagSize();
}

std::optional<std::string> BuildId3v2WithLyrics(std::string_view oldTag,
                                                std::string_view storedLyrics,
                                                std::string& reason) {
    Id3::Header header;
    header.setMajorVersion(kVersion23);
    std::vector<FrameSpan> spans;
    if (!oldTag.empty()) {
        header.setData(Bytes(oldTag.substr(0, Id3::Header::size())));
        reason = UnkeepableTag(header, oldTag);
        if (!reason.empty()) {
            return std::nullopt;
        }
        auto found = FrameSpans(oldTag, header);
        if (!found) {
            reason = "a frame of the ID3v2 tag reaches beyond the tag's end";
            return std::nullopt;
        }
        spans = std::move(*found);
    }

    const LyricsFrame lyricsFrame(header.majorVersion(), storedLyrics);
    const ByteVector rendered = lyricsFrame.render();
    std::string frames;
    bool placed = false;
    for (const FrameSpan& span : spans) {
        const std::string_view frame = oldTag.substr(span.Offset, span.Size);
        if (!IsOwnLyricsFrame(frame, header)) {
            frames += frame;
        } else if (!placed) {
            frames += View(rendered);
            placed = true;
        }
    }
    if (!placed) {
        frames += View(rendered);
    }

    const std::size_t oldDataSize = oldTag.empty() ? 0 : header.tagSize();
    if (frames.size() < oldDataSize) {
        frames.resize(oldDataSize, '\0');  // the old padding: the audio stays where it was
    }
    if (frames.size() > kMaxTagDataSize) {
        reason = "the ID3v2 tag would grow beyond its largest size";
        return std::nullopt;
    }
    header.setTagSize(static_cast<unsigned>(frames.size()));
    return std::string(View(header.render())) + frames;
}

bool HasId3v2LyricsFrame(std::string_view tag) {
    if (tag.empty()) {
        return false;
    }
    TagLib::ByteVectorStream stream(Bytes(tag));
    MemoryFile file(&stream);
    const Id3::Tag parsed(&file, 0);
    return !parsed.frameList(Bytes(kLyricsFrameId)).isEmpty();
}

bool FileHasId3v2LyricsFrame(const std::string& mp3Path) {
    const std::unique_ptr<RandomAccessFile> file = OpenFile(mp3Path, FileAccess::Read);
    std::string header;
    if (!file || !file->ReadAt(0, Id3::Header::size(), header)) {
        return false;
    }
    std::string tag;
    const std::uint64_t size = Id3v2TagSize(header);
    return size != 0 && file->ReadAt(0, size, tag) && HasId3v2LyricsFrame(tag);
}

}  // namespace versemark
