// SPDX-License-Identifier: GPL-3.0-or-later
// The lyrics field written with TagLib into a piece stream over the file.
#include "tags/FieldLyrics.h"

#include <taglib/flacfile.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/mp4file.h>
#include <taglib/mp4tag.h>
#include <taglib/opusfile.h>
#include <taglib/tstring.h>
#include <taglib/tstringlist.h>
#include <taglib/vorbisfile.h>
#include <taglib/xiphcomment.h>

#include <limits>

#include "tags/PieceStream.h"

namespace versemark {
namespace {

// The Vorbis comment players read lyrics from, and the MP4 item ("©lyr", the
// first byte Latin-1 0xA9 as TagLib names items).
constexpr char kVorbisLyricsKey[] = "LYRICS";
constexpr char kMp4LyricsKey[] = "\xA9lyr";
constexpr std::string_view kStreamName = "versemark";

constexpr std::string_view kReasonUnreadable = "the file cannot be read";
constexpr std::string_view kReasonInvalid = "TagLib cannot read this file's metadata";
constexpr std::string_view kReasonNotSaved = "TagLib cannot save this file's metadata";
constexpr std::string_view kReasonTooLarge = "the file is too large for TagLib";

TagLib::String Utf8String(std::string_view text) {
    return TagLib::String(std::string(text), TagLib::String::UTF8);
}

// Sets the field in the file TagLib opened; false when the file holds no
// metadata TagLib can write.
bool SetField(TagLib::File& opened, FieldFormat format, const TagLib::String& lyrics) {
    TagLib::Ogg::XiphComment* comment = nullptr;
    switch (format) {
        case FieldFormat::Flac:
            comment = static_cast<TagLib::FLAC::File&>(opened).xiphComment(true);
            break;
        case FieldFormat::OggVorbis:
            comment = static_cast<TagLib::Ogg::Vorbis::File&>(opened).tag();
            break;
        case FieldFormat::OggOpus:
            comment = static_cast<TagLib::Ogg::Opus::File&>(opened).tag();
            break;
        case FieldFormat::Mp4: {
            TagLib::MP4::Tag* tag = static_cast<TagLib::MP4::File&>(opened).tag();
            if (!tag) {
                return false;
            }
            tag->setItem(kMp4LyricsKey, TagLib::MP4::Item(TagLib::StringList(lyrics)));
            return true;
        }
    }
    if (!comment) {
        return false;
    }
    comment->addField(kVorbisLyricsKey, lyrics, true);
    return true;
}

std::unique_ptr<TagLib::File> OpenAs(FieldFormat format, PieceStream& stream) {
    switch (format) {
        case FieldFormat::Flac:
            return std::make_unique<TagLib::FLAC::File>(
                &stream, TagLib::ID3v2::FrameFactory::instance(), false);
        case FieldFormat::OggVorbis:
            return std::make_unique<TagLib::Ogg::Vorbis::File>(&stream, false);
        case FieldFormat::OggOpus:
            return std::make_unique<TagLib::Ogg::Opus::File>(&stream, false);
        case FieldFormat::Mp4:
            return std::make_unique<TagLib::MP4::File>(&stream, false);
    }
    return nullptr;
}

}  // namespace

bool FieldLyricsAvailable() {
    return true;
}

std::optional<FieldFormat> DetectFieldFormat(RandomAccessFile& file) {
    const auto length = file.Length();
    if (!length || *length > static_cast<std::uint64_t>(std::numeric_limits<long>::max())) {
        return std::nullopt;
    }
    PieceStream stream(file, *length, std::string(kStreamName));
    std::optional<FieldFormat> format;
    if (TagLib::MP4::File::isSupported(&stream)) {
        format = FieldFormat::Mp4;
    } else if (TagLib::Ogg::Opus::File::isSupported(&stream)) {
        format = FieldFormat::OggOpus;
    } else if (TagLib::Ogg::Vorbis::File::isSupported(&stream)) {
        format = FieldFormat::OggVorbis;
    } else if (TagLib::FLAC::File::isSupported(&stream)) {
        format = FieldFormat::Flac;
    }
    return stream.Failed() ? std::nullopt : format;
}

FieldLyricsEdit SetFieldLyrics(RandomAccessFile& file, FieldFormat format,
                               std::string_view utf8Lyrics) {
    const auto length = file.Length();
    if (!length) {
        return {std::nullopt, std::string(kReasonUnreadable)};
    }
    if (*length > static_cast<std::uint64_t>(std::numeric_limits<long>::max())) {
        return {std::nullopt, std::string(kReasonTooLarge)};
    }
    PieceStream stream(file, *length, std::string(kStreamName));
    const std::unique_ptr<TagLib::File> opened = OpenAs(format, stream);
    if (stream.Failed()) {
        return {std::nullopt, std::string(kReasonUnreadable)};
    }
    if (!opened || !opened->isValid() || !SetField(*opened, format, Utf8String(utf8Lyrics))) {
        return {std::nullopt, std::string(kReasonInvalid)};
    }
    const bool saved = opened->save();
    if (stream.Failed()) {
        return {std::nullopt, std::string(kReasonUnreadable)};
    }
    if (!saved) {
        return {std::nullopt, std::string(kReasonNotSaved)};
    }
    return {stream.Table(), {}};
}

}  // namespace versemark
