// SPDX-License-Identifier: GPL-3.0-or-later
// The ID3v2 lyrics frame, written and read with TagLib. The frame is rendered by
// TagLib; the frames around it are copied byte for byte, not re-rendered, so no
// frame TagLib would convert or drop for the tag's version changes.
#include "tags/Id3v2Lyrics.h"

#include <taglib/commentsframe.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2synchdata.h>
#include <taglib/id3v2tag.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tfile.h>
#include <taglib/unsynchronizedlyricsframe.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "platform/CodePage.h"
#include "platform/RandomAccessFile.h"
#include "tags/TagRecords.h"
#include "tags/TailLayout.h"

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
// 2.4, plain in 2.3, though some writers put plain sizes in 2.4 tags too), 2
// bytes of flags.
constexpr std::size_t kFrameIdWidth = 4;
constexpr std::size_t kFrameSizeOffset = 4;
constexpr std::size_t kFrameSizeWidth = 4;
constexpr std::size_t kFrameFormatFlagsOffset = 9;
// Format flags that change how a frame's data is stored (2.3: compression,
// encryption, grouping; 2.4: grouping, compression, encryption,
// unsynchronisation, data length).
constexpr unsigned char kFormatFlags23 = 0xE0;
constexpr unsigned char kFormatFlags24 = 0x4F;
// The lyrics frame's data: the text encoding, a 3-character language, the
// description ended by a NUL (two in UTF-16), the text.
constexpr std::size_t kLyricsLanguageOffset = 1;
constexpr std::size_t kLyricsLanguageWidth = 3;
constexpr std::size_t kLyricsDescriptionOffset = 4;
constexpr char kEncodingUtf16 = '\x01';
constexpr char kEncodingUtf16Be = '\x02';
constexpr std::string_view kByteOrderMarks[] = {"\xff\xfe", "\xfe\xff"};
constexpr std::string_view kUtf16Nul("\0\0", 2);
// The tag size stands at offset 6 of the tag header in 4 bytes of 7 bits each.
constexpr std::size_t kTagSizeOffset = 6;
constexpr std::size_t kTagSizeWidth = 4;
constexpr char kHighBit = '\x80';
constexpr std::size_t kMaxTagDataSize = (std::size_t{1} << 28) - 1;
// The padding a tag gets when it grows, so that the next change fits in it.
constexpr std::size_t kGrowthPadding = 4096;
constexpr unsigned kByteBits = 8;
constexpr unsigned kByteMask = 0xFF;

// The text frames a new tag takes from the ID3v1 block.
constexpr std::string_view kTitleFrameId = "TIT2";
constexpr std::string_view kArtistFrameId = "TPE1";
constexpr std::string_view kAlbumFrameId = "TALB";
constexpr std::string_view kYearFrameId = "TYER";
constexpr std::string_view kTrackFrameId = "TRCK";
constexpr std::string_view kGenreFrameId = "TCON";
constexpr std::string_view kId3v1Blanks = std::string_view("\0 ", 2);

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

// How frame sizes are written in a tag.
enum class SizeForm { Synchsafe, Plain };

// The frames of a tag and how their sizes are written.
struct FrameWalk {
    std::vector<FrameSpan> Spans;
    SizeForm Sizes = SizeForm::Synchsafe;
};

bool IsFrameIdCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The frames of a 2.3 or 2.4 tag in order, up to the padding, their sizes read
// as `sizes` says; nullopt when a frame reaches beyond the tag's end. `strict`
// also asks for frame ids of capitals and digits and nothing but zeros after the
// last frame.
std::optional<std::vector<FrameSpan>> WalkFrames(std::string_view tag, const Id3::Header& header,
                                                 SizeForm sizes, bool strict) {
    const std::size_t frameHeaderSize = Id3::Frame::headerSize(header.majorVersion());
    const std::size_t end = Id3::Header::size() + header.tagSize();
    std::vector<FrameSpan> spans;
    std::size_t at = Id3::Header::size();
    while (at + frameHeaderSize <= end && tag[at] != '\0') {
        const std::string_view id = tag.substr(at, kFrameIdWidth);
        if (strict && !std::all_of(id.begin(), id.end(), IsFrameIdCharacter)) {
            return std::nullopt;
        }
        const ByteVector sizeField = Bytes(tag.substr(at + kFrameSizeOffset, kFrameSizeWidth));
        const std::size_t dataSize =
            sizes == SizeForm::Synchsafe ? Id3::SynchData::toUInt(sizeField) : sizeField.toUInt();
        if (dataSize > end - at - frameHeaderSize) {
            return std::nullopt;
        }
        spans.push_back({at, frameHeaderSize + dataSize});
        at += frameHeaderSize + dataSize;
    }
    const std::string_view rest = tag.substr(at, end - at);
    if (strict && rest.find_first_not_of('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    return spans;
}

// The frames of a tag. A 2.4 tag whose frames cannot be walked with synchsafe
// sizes but can with plain ones, ending exactly at the padding or the tag's
// end, was written with plain sizes: its frames are read, and the new one
// written, that way.
std::optional<FrameWalk> FrameSpans(std::string_view tag, const Id3::Header& header) {
    if (header.majorVersion() != kVersion24) {
        auto spans = WalkFrames(tag, header, SizeForm::Plain, false);
        return spans ? std::optional<FrameWalk>({std::move(*spans), SizeForm::Plain})
                     : std::nullopt;
    }
    if (!WalkFrames(tag, header, SizeForm::Synchsafe, true)) {
        if (auto plain = WalkFrames(tag, header, SizeForm::Plain, true)) {
            return FrameWalk{std::move(*plain), SizeForm::Plain};
        }
    }
    auto spans = WalkFrames(tag, header, SizeForm::Synchsafe, false);
    return spans ? std::optional<FrameWalk>({std::move(*spans), SizeForm::Synchsafe})
                 : std::nullopt;
}

// The language of a lyrics frame with an empty description, stored as it is;
// nullopt for any other frame (another id, a description, data stored
// compressed or otherwise changed).
std::optional<std::string> EmptyDescriptionLanguage(std::string_view frame,
                                                    const Id3::Header& header) {
    const std::size_t headerSize = Id3::Frame::headerSize(header.majorVersion());
    const unsigned char formatFlags =
        header.majorVersion() == kVersion24 ? kFormatFlags24 : kFormatFlags23;
    if (!frame.starts_with(kLyricsFrameId) ||
        frame.size() < headerSize + kLyricsDescriptionOffset ||
        (static_cast<unsigned char>(frame[kFrameFormatFlagsOffset]) & formatFlags) != 0) {
        return std::nullopt;
    }
    const std::string_view data = frame.substr(headerSize);
    std::string_view description = data.substr(kLyricsDescriptionOffset);
    const char encoding = data[0];
    bool empty = description.starts_with('\0');
    if (encoding == kEncodingUtf16 || encoding == kEncodingUtf16Be) {
        for (const std::string_view mark : kByteOrderMarks) {
            if (description.starts_with(mark)) {
                description.remove_prefix(mark.size());
            }
        }
        empty = description.starts_with(kUtf16Nul);
    }
    if (!empty) {
        return std::nullopt;
    }
    return std::string(data.substr(kLyricsLanguageOffset, kLyricsLanguageWidth));
}

// True for the lyrics frame this program writes: empty description, language "XXX".
bool IsOwnLyricsFrame(std::string_view frame, const Id3::Header& header) {
    return EmptyDescriptionLanguage(frame, header) == kUnknownLanguage;
}

// The language the new lyrics frame takes from the one it replaces: its own,
// unless it had none.
std::string KeptLanguage(const std::string& language) {
    const bool none = language.find_first_not_of(kId3v1Blanks) == std::string::npos;
    return none ? std::string(kUnknownLanguage) : language;
}

// Rewrites the size of a rendered frame as a plain number.
void WritePlainSize(std::string& frame, std::size_t headerSize) {
    const std::size_t dataSize = frame.size() - headerSize;
    for (std::size_t i = 0; i < kFrameSizeWidth; ++i) {
        const unsigned shift = static_cast<unsigned>(kByteBits * (kFrameSizeWidth - 1 - i));
        frame[kFrameSizeOffset + i] = static_cast<char>((dataSize >> shift) & kByteMask);
    }
}

// The lyrics frame for a tag of `version`: UTF-8 text in 2.4, UTF-16 in 2.3.
class LyricsFrame final : public Id3::UnsynchronizedLyricsFrame {
  public:
    LyricsFrame(unsigned version, std::string_view storedLyrics, std::string_view language)
        : UnsynchronizedLyricsFrame(version == kVersion24 ? TagLib::String::UTF8
                                                          : TagLib::String::UTF16) {
        header()->setVersion(version);
        setLanguage(Bytes(language));
        setText(TagLib::String(DisplayUtf8(storedLyrics), TagLib::String::UTF8));
    }
};

// A frame rendered for a tag of `version` (TagLib renders 2.4 frames otherwise).
template <typename Base>
class VersionedFrame final : public Base {
  public:
    template <typename... Arguments>
    explicit VersionedFrame(unsigned version, Arguments&&... arguments)
        : Base(std::forward<Arguments>(arguments)...) {
        this->header()->setVersion(version);
    }
};

// A field of an ID3v1 block as display text: its NULs and blanks at the end cut.
std::string Id3v1Text(std::string_view field) {
    const std::size_t end = field.find_last_not_of(kId3v1Blanks);
    return DisplayUtf8(field.substr(0, end == std::string_view::npos ? 0 : end + 1));
}

// The rendered frames of a new 2.3 tag that carry the values of an ID3v1 block,
// so that readers which prefer the ID3v2 tag still find them; empty values get
// no frame.
std::string Id3v1Frames(std::string_view block) {
    const Id3v1Tag id3 = Id3v1FromBytes(block);
    std::string frames;
    const auto add = [&](std::string_view id, const std::string& text) {
        if (text.empty()) {
            return;
        }
        VersionedFrame<Id3::TextIdentificationFrame> frame(kVersion23, Bytes(id),
                                                           TagLib::String::UTF16);
        frame.setText(TagLib::String(text, TagLib::String::UTF8));
        frames += View(frame.render());
    };
    add(kTitleFrameId, Id3v1Text(id3.Title));
    add(kArtistFrameId, Id3v1Text(id3.Artist));
    add(kAlbumFrameId, Id3v1Text(id3.Album));
    add(kYearFrameId, Id3v1Text(id3.Year));
    // ID3v1.1 puts a zero byte and the track behind a 28-byte comment; in an
    // ID3v1.0 block the comment runs over both.
    const bool hasTrack = id3.ZeroByte == 0;
    std::string commentField = id3.Comment;
    if (!hasTrack) {
        commentField += static_cast<char>(id3.ZeroByte);
        commentField += static_cast<char>(id3.Track);
    }
    if (const std::string comment = Id3v1Text(commentField); !comment.empty()) {
        VersionedFrame<Id3::CommentsFrame> frame(kVersion23, TagLib::String::UTF16);
        frame.setLanguage(Bytes(kUnknownLanguage));
        frame.setText(TagLib::String(comment, TagLib::String::UTF8));
        frames += View(frame.render());
    }
    if (hasTrack && id3.Track != 0) {
        add(kTrackFrameId, std::to_string(id3.Track));
    }
    if (id3.Genre != tail::kGenreNone) {
        add(kGenreFrameId, "(" + std::to_string(id3.Genre) + ")");
    }
    return frames;
}

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
                                                std::string_view storedLyrics, std::string& reason,
                                                std::string_view id3v1Block) {
    Id3::Header header;
    header.setMajorVersion(kVersion23);
    FrameWalk walk{{}, SizeForm::Plain};
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
        walk = std::move(*found);
    }

    // The first lyrics frame with an empty description is what readers show:
    // the new one takes its place (and its language); later frames of this
    // program's own are dropped.
    std::optional<std::size_t> replaced;
    std::string language(kUnknownLanguage);
    for (std::size_t i = 0; i < walk.Spans.size() && !replaced; ++i) {
        const auto found = EmptyDescriptionLanguage(
            oldTag.substr(walk.Spans[i].Offset, walk.Spans[i].Size), header);
        if (found) {
            replaced = i;
            language = KeptLanguage(*found);
        }
    }
    const LyricsFrame lyricsFrame(header.majorVersion(), storedLyrics, language);
    std::string rendered(View(lyricsFrame.render()));
    if (walk.Sizes == SizeForm::Plain) {
        WritePlainSize(rendered, Id3::Frame::headerSize(header.majorVersion()));
    }
    std::string frames;
    for (std::size_t i = 0; i < walk.Spans.size(); ++i) {
        const std::string_view frame = oldTag.substr(walk.Spans[i].Offset, walk.Spans[i].Size);
        if (replaced == i) {
            frames += rendered;
        } else if (!IsOwnLyricsFrame(frame, header)) {
            frames += frame;
        }
    }
    if (oldTag.empty() && id3v1Block.size() == tail::kId3v1Size &&
        id3v1Block.starts_with(tail::kId3v1Marker)) {
        frames += Id3v1Frames(id3v1Block);
    }
    if (!replaced) {
        frames += rendered;
    }

    const std::size_t oldDataSize = oldTag.empty() ? 0 : header.tagSize();
    if (frames.size() <= oldDataSize) {
        frames.resize(oldDataSize, '\0');  // the old padding: the audio stays where it was
    } else {
        frames.resize(frames.size() + kGrowthPadding, '\0');
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
