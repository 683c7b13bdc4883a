// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/FailingFile.h"
#include "support/TailBuilder.h"
#include "tags/ContentKind.h"

namespace versemark::testing {
namespace {

// `count` frames of `length` bytes, each a frame header and zeros.
std::string Frames(std::string_view header, std::size_t length, std::size_t count) {
    std::string frame(header);
    frame.resize(length, '\0');
    std::string frames;
    for (std::size_t i = 0; i < count; ++i) {
        frames += frame;
    }
    return frames;
}

TEST(ContentKindTest, OnlyMpegAudioCounts) {
    // "ID3", version 3.0, no flags, then the size of what follows in 7-bit bytes.
    const std::string id3v2 =
        std::string("ID3\x03\x00\x00\x00\x00\x00\x14", 10) + std::string(20, '\0');
    const std::string id3v2TooLong = std::string("ID3\x03\x00\x00\x00\x00\x7F\x7F", 10);
    // MPEG-2 Layer III, 64 kbit/s, 22.05 kHz: 72 * 64000 / 22050 = 208 bytes.
    const std::string mpeg2 = Frames("\xFF\xF3\x80\x00", 208, 3);
    // MPEG-1 Layer II, 192 kbit/s, 48 kHz: 144 * 192000 / 48000 = 576 bytes.
    const std::string layer2 = Frames("\xFF\xFD\xA4\x00", 576, 3);
    // A FLAC stream: its marker, the stream information block, frames whose sync
    // (14 bits) reads as a reserved MPEG layer.
    const std::string flac = std::string("fLaC\x80\x00\x00\x22", 8) + std::string(34, '\0') +
                             Frames("\xFF\xF8\xC9\x18", 300, 4);
    // An Ogg page (capture pattern, version, header type, granule, serial, sequence,
    // checksum, one segment of 30 bytes) whose packet starts as `magic` says.
    const auto oggPage = [](std::string_view magic) {
        std::string page = std::string("OggS\0\x02", 6) + std::string(20, '\0') + "\x01\x1E";
        return page + std::string(magic) + std::string(30 - magic.size(), '\0');
    };
    // A box of type "ftyp" first, brand "M4A ".
    const std::string mp4 = std::string(
                                "\0\0\0\x14"
                                "ftypM4A \0\0\0\0M4A ",
                                20) +
                            std::string(
                                "\0\0\0\x08"
                                "free",
                                8);
    const std::string oneHeader = Frames("\xFF\xFB\x90\x00", 417, 1) + std::string(600, 'x');
    struct Case {
        const char* Name;
        std::string Bytes;
        ContentKind Kind;
        bool Short = false;  // its first bytes and length alone rule out audio
    };
    const std::vector<Case> cases = {
        {"frames", TailBuilder().audio(2000).bytes(), ContentKind::MpegAudio},
        {"ID3v2 tag, frames", id3v2 + TailBuilder().audio(2000).bytes(), ContentKind::MpegAudio},
        {"junk, frames", std::string(100, 'j') + TailBuilder().audio(2000).bytes(),
         ContentKind::MpegAudio},
        {"junk, one frame across 4 KiB", std::string(4094, 'j') + TailBuilder().audio(417).bytes(),
         ContentKind::MpegAudio},
        {"MPEG-2 Layer III", mpeg2, ContentKind::MpegAudio},
        {"MPEG-1 Layer II", layer2, ContentKind::MpegAudio},
        {"one frame cut short by the tail",
         TailBuilder().audio(300).lyrics3v2({{"LYR", "abc"}}).id3v1("T", "A").bytes(),
         ContentKind::MpegAudio},
        {"ID3v2 tag beyond the end", id3v2TooLong + TailBuilder().audio(2000).bytes(),
         ContentKind::Other, true},
        {"a header, junk where the next should be", oneHeader, ContentKind::Other},
        {"junk beyond the search", std::string(70000, 'j') + TailBuilder().audio(2000).bytes(),
         ContentKind::Other},
        {"text", std::string(450, 'a'), ContentKind::Other},
        {"FLAC", flac, ContentKind::Flac},
        {"ID3v2 tag, FLAC", id3v2 + flac, ContentKind::Flac},
        {"Ogg Vorbis", oggPage("\x01vorbis"), ContentKind::Ogg},
        {"Ogg Opus", oggPage("OpusHead"), ContentKind::Ogg},
        {"Ogg of another codec",
         oggPage("\x7F"
                 "FLAC"),
         ContentKind::Other},
        {"MP4", mp4, ContentKind::Mp4, true},
        {"ftyp not at the start", std::string(4, 'x') + mp4, ContentKind::Other, true},
        {"empty", "", ContentKind::Other, true},
        {"a header alone", std::string("\xFF\xFB\x90\x00", 4), ContentKind::Other, true},
        {"28 bytes", std::string(28, 'x'), ContentKind::Other, true},
        // MPEG-2 Layer III, 8 kbit/s, 24 kHz: 72 * 8000 / 24000 = 24 bytes a frame.
        {"two headers, no room for side information",
         Frames("\xFF\xF3\x14\x00", 24, 1) + std::string("\xFF\xF3\x14\x00", 4), ContentKind::Other,
         true},
        {"ID3v2 tag, a header alone", id3v2 + std::string("\xFF\xFB\x90\x00", 4),
         ContentKind::Other, true},
    };
    for (const Case& c : cases) {
        FailingFile file(MakeStore(c.Bytes));
        EXPECT_EQ(DetectContentKind(file), c.Kind) << c.Name;
        EXPECT_EQ(CannotHoldMpegAudio(std::string_view(c.Bytes).substr(0, 10), c.Bytes.size()),
                  c.Short)
            << c.Name;
    }
    auto unreadable = MakeStore(TailBuilder().audio(2000).bytes());
    unreadable->FailReads = true;
    FailingFile file(unreadable);
    EXPECT_EQ(DetectContentKind(file), ContentKind::Other) << "unreadable";
}

}  // namespace
}  // namespace versemark::testing
