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
    // The pass that changed nothing left no journal: undo takes back the first.
    const UndoOutcome undo = UndoPass(journals, "", OpenFile);
    EXPECT_TRUE(AllTagged(undo.Results) && undo.Results.size() == paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) {
        EXPECT_TRUE(ReadFileBytes(paths[i]) == originals[i]) << paths[i];
    }
}

}  // namespace
}  // namespace versemark::testing
