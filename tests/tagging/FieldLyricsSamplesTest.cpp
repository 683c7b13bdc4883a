// SPDX-License-Identifier: GPL-3.0-or-later
// Songs of the formats with a lyrics field of their own, made beforehand by
// tests/tagging/field_files.py ("make") in the folder VERSEMARK_FIELD_SAMPLES
// names: so the Windows build, under Wine, tags real files too. Each is tagged
// in a journaled pass, read back with TagLib, tagged again with the same lyrics
// (nothing changes) and undone (its bytes come back).
#include <gtest/gtest.h>

#include <taglib/flacfile.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/mp4file.h>
#include <taglib/mp4tag.h>
#include <taglib/opusfile.h>
#include <taglib/vorbisfile.h>
#include <taglib/xiphcomment.h>

#include <cstdlib>
#include <filesystem>

#include "platform/FileSystem.h"
#include "support/TagTestHelpers.h"
#include "support/TempDir.h"
#include "tagging/TaggingPass.h"
#include "tagging/Undo.h"
#include "tags/FieldLyrics.h"
#include "tags/PieceStream.h"

namespace versemark::testing {
namespace {

constexpr std::string_view kLyricsFile = "Verse caf\xe9\r\nline two";
constexpr std::string_view kLyricsUtf8 = "Verse caf\xc3\xa9\r\nline two\r\n";

// The lyrics field of the file as TagLib reads it, values joined by NULs.
std::string ReadField(const std::string& path) {
    const auto file = OpenFile(path, FileAccess::Read);
    const auto format = file ? DetectFieldFormat(*file) : std::nullopt;
    if (!format) {
        return "(no format)";
    }
    PieceStream stream(*file, *file->Length(), "sample");
    TagLib::StringList values;
    if (*format == FieldFormat::Mp4) {
        TagLib::MP4::File mp4(&stream, false);
        values = mp4.tag()->item("\xA9lyr").toStringList();
    } else {
        TagLib::Ogg::XiphComment* comment = nullptr;
        std::unique_ptr<TagLib::File> opened;
        if (*format == FieldFormat::Flac) {
            auto flac = std::make_unique<TagLib::FLAC::File>(
                &stream, TagLib::ID3v2::FrameFactory::instance(), false);
            comment = flac->xiphComment();
            opened = std::move(flac);
        } else if (*format == FieldFormat::OggVorbis) {
            auto vorbis = std::make_unique<TagLib::Ogg::Vorbis::File>(&stream, false);
            comment = vorbis->tag();
            opened = std::move(vorbis);
        } else {
            auto opus = std::make_unique<TagLib::Ogg::Opus::File>(&stream, false);
            comment = opus->tag();
            opened = std::move(opus);
        }
        if (comment && comment->fieldListMap().contains("LYRICS")) {
            values = comment->fieldListMap()["LYRICS"];
        }
    }
    return values.toString(TagLib::String("\0", TagLib::String::Latin1)).to8Bit(true);
}

TEST(FieldLyricsSamples, EachSampleIsTaggedReadBackAndUndone) {
    const char* samples = std::getenv("VERSEMARK_FIELD_SAMPLES");
    if (!samples) {
        GTEST_SKIP() << "VERSEMARK_FIELD_SAMPLES names no folder of samples";
    }
    TempDir dir;
    const std::string journals = dir.MakeFolder("state");
    const std::string songs = dir.MakeFolder("songs");
    const std::string lyrics = dir.WriteFile("lyrics.txt", kLyricsFile);
    RowList rows;
    std::vector<std::string> paths;
    std::vector<std::string> originals;
    for (const auto& entry : std::filesystem::directory_iterator(PathFromUtf8(samples))) {
        const std::string name = Utf8FromPath(entry.path().filename());
        paths.push_back(dir.WriteFile("songs/" + name, ReadFileBytes(Utf8FromPath(entry.path()))));
        originals.push_back(ReadFileBytes(paths.back()));
        rows.Add(CheckedRow(paths.back(), lyrics, "A - T"));
    }
    ASSERT_FALSE(paths.empty());
    TaggingOptions options;
    options.Tag.AllFormats = true;
    options.JournalFolder = journals;
    options.Folder = songs;
    const auto outcome = TagCheckedRows(rows, options);
    ASSERT_TRUE(outcome);
    for (const TagResult& result : outcome->Results) {
        EXPECT_TRUE(result.Tagged) << result.Mp3Path << ": " << result.Reason;
    }
    std::vector<std::string> tagged;
    for (const std::string& path : paths) {
        EXPECT_EQ(ReadField(path), std::string(kLyricsUtf8) + Credit()) << path;
        tagged.push_back(ReadFileBytes(path));
    }
    ASSERT_TRUE(TagCheckedRows(rows, options));
    for (std::size_t i = 0; i < paths.size(); ++i) {
        EXPECT_EQ(ReadFileBytes(paths[i]), tagged[i]) << paths[i];
    }
    // A file changed since (its last byte) is not undone and keeps its bytes.
    const std::size_t changed = 0;
    std::string edited = tagged[changed];
    edited.back() = static_cast<char>(edited.back() ^ 1);
    dir.WriteFile("songs/" + Utf8FromPath(PathFromUtf8(paths[changed]).filename()), edited);
    // The pass that changed nothing left no journal: undo takes back the first.
    const UndoOutcome undo = UndoPass(journals, "", OpenFile);
    EXPECT_EQ(undo.Results.size(), paths.size());
    for (const TagResult& result : undo.Results) {
        EXPECT_EQ(result.Tagged, result.Mp3Path != paths[changed]) << result.Mp3Path;
    }
    for (std::size_t i = 0; i < paths.size(); ++i) {
        EXPECT_TRUE(ReadFileBytes(paths[i]) == (i == changed ? edited : originals[i])) << paths[i];
    }
}

// Files that look like one of the formats but that TagLib cannot read or save
// are refused with the reason, and keep every byte.
TEST(FieldLyricsSamples, AFileTagLibCannotSaveIsRefusedAndUnchanged) {
    struct Case {
        const char* Name;
        std::string Bytes;
        std::string_view Reason;
    };
    // An MP4 box: its size (4 bytes, big-endian) and type, then its data.
    const auto box = [](std::string_view type, std::string_view data) {
        const std::size_t size = 8 + data.size();
        std::string bytes;
        for (int shift = 24; shift >= 0; shift -= 8) {
            bytes += static_cast<char>((size >> shift) & 0xFF);
        }
        return bytes + std::string(type) + std::string(data);
    };
    const std::vector<Case> cases = {
        // The marker and a stream-information block cut short.
        {"cut.flac", std::string("fLaC\x80\0\0\x22") + std::string(10, '\x01'),
         "TagLib cannot read this file's metadata"},
        // A file type box and no movie box.
        {"empty.m4a", box("ftyp", "M4A \0\0\0\0") + box("mdat", std::string(64, '\x07')),
         "TagLib cannot read this file's metadata"},
    };
    TempDir dir;
    const std::string lyrics = dir.WriteFile("lyrics.txt", kLyricsFile);
    for (const Case& c : cases) {
        const std::string path = dir.WriteFile(c.Name, c.Bytes);
        RowList rows;
        rows.Add(CheckedRow(path, lyrics, "A - T"));
        TaggingOptions options;
        options.Tag.AllFormats = true;
        options.JournalFolder = dir.MakeFolder("state");
        options.Folder = dir.Path();
        const auto outcome = TagCheckedRows(rows, options);
        ASSERT_TRUE(outcome && outcome->Results.size() == 1) << c.Name;
        EXPECT_FALSE(outcome->Results[0].Tagged) << c.Name;
        EXPECT_EQ(outcome->Results[0].Reason, c.Reason) << c.Name;
        EXPECT_TRUE(ReadFileBytes(path) == c.Bytes) << c.Name;
    }
}

}  // namespace
}  // namespace versemark::testing
