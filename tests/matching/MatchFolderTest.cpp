// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>
#include <thread>

#include "matching/MatchFolder.h"
#include "support/TailBuilder.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"

namespace versemark {
namespace {

namespace fs = std::filesystem;
using testing::TailBuilder;
using testing::TempDir;

const std::string kFiltered = std::string(80, 'x') + "\r\n[Songleaf] filter used\r\n";
const std::string kUnfiltered = "la la la\r\n";

class Pass : public ::testing::Test {
  protected:
    TempDir dir;
    LyricsIndex index;
    RowList rows;
    MatchHooks hooks;
    std::vector<std::string> events;  // progress, yields and phase ends in order
    std::function<void()> onYield;
    std::function<bool()> stop;

    // A progress report as an event: "files 3/10, 2 rows" in phase 1, "rows 1/2" in phase 2.
    static std::string ProgressEvent(const MatchProgress& progress) {
        const std::string counts =
            std::to_string(progress.Done) + "/" + std::to_string(progress.Total);
        if (progress.Phase == MatchPhase::ChoosingLyrics) {
            EXPECT_EQ(progress.Rows, progress.Total);
            return "rows " + counts;
        }
        return "files " + counts + ", " + std::to_string(progress.Rows) + " rows";
    }

    Pass() {
        hooks.Progress = [this](const MatchProgress& progress) {
            events.push_back(ProgressEvent(progress));
        };
        hooks.ProcessEvents = [this] {
            events.push_back("yield");
            if (onYield) {
                onYield();
            }
        };
        hooks.StopRequested = [this] { return stop && stop(); };
        hooks.PhaseOneEnded = [this] { events.push_back("phase one ended"); };
    }

    // Adds a lyrics file to the cache and its entry to the index; returns its position.
    int Lyrics(const std::string& fileName, const std::string& content = kUnfiltered) {
        dir.WriteFile("cache/" + fileName, content);
        index.Entries.push_back(MakeLyricsEntry(dir / "cache", fileName).value());
        return static_cast<int>(index.Entries.size()) - 1;
    }
    std::string Mp3(const std::string& relative, const std::string& bytes = Silent()) {
        return dir.WriteFile("music/" + relative, bytes);
    }
    static std::string Silent() { return TailBuilder().audio(2000).bytes(); }

    MatchResult Run(bool recurse = true) {
        return MatchFolder(dir / "music", recurse, index, rows, hooks);
    }

    const ResultRow* RowOf(const std::string& mp3Name) const {
        for (const ResultRow& row : rows.Rows()) {
            if (row.Mp3Name == mp3Name) {
                return &row;
            }
        }
        return nullptr;
    }
    int Count(const std::string& event) const {
        return static_cast<int>(std::count(events.begin(), events.end(), event));
    }
};

TEST_F(Pass, FindsWordsInTheFolderAndWithoutApostrophes) {
    const int band = Lyrics("Band - Don_t Stop.txt");
    const std::string path = Mp3("The Band/Don't Stop.mp3");
    Mp3("The Band/DON'T STOP.mp3");
    Mp3("Other/Don't Stop.mp3");  // no "Band" anywhere: no row

    const MatchResult result = Run();
    ASSERT_EQ(rows.Count(), 2u);
    const ResultRow& row = rows.Row(0);
    EXPECT_EQ(row.Mp3Name, "DON'T STOP.mp3");
    EXPECT_EQ(rows.Row(1).Mp3Name, "Don't Stop.mp3");
    EXPECT_EQ(rows.Row(1).Mp3Path, path);
    EXPECT_EQ(row.Candidates, std::vector<int>{band});
    EXPECT_EQ(row.CandidateCount(), 1u);
    EXPECT_TRUE(row.WithoutId3);
    EXPECT_FALSE(row.Tagged);
    EXPECT_EQ(row.LyricsName, "Band - Don't Stop");
    EXPECT_EQ(row.LyricsPath, dir / "cache/Band - Don_t Stop.txt");
    EXPECT_EQ(row.LyricsPosition, band);
    EXPECT_FALSE(row.Filtered);
    EXPECT_TRUE(row.Shared) << "two files matched it";
    EXPECT_FALSE(row.Checked);
    EXPECT_EQ(index.Entries[band].MatchCount, 2);
    EXPECT_EQ(result.FilesFound, 3);
    EXPECT_EQ(result.Processed, 3);
    EXPECT_EQ(result.Rows, 2);
    EXPECT_FALSE(result.Stopped);
}

TEST_F(Pass, FindsWordsInsideLongerWords) {
    Lyrics("Love - .txt");  // words "Love" and ""
    Mp3("Lovely.mp3");
    Run();
    EXPECT_NE(RowOf("Lovely.mp3"), nullptr);
}

TEST_F(Pass, UsesTheId3v1ArtistTitleTrackYearAndCommentButNotTheAlbum) {
    Lyrics("Artista - Titulo.txt");
    Lyrics("Albumo - Titulo.txt");
    Lyrics("Kommentar - 1987 42.txt");
    const std::string tags = TailBuilder()
                                 .audio(1500)
                                 .id3v1("Titulo", "Artista", "Albumo", "1987", "Kommentar", 42)
                                 .bytes();
    Mp3("track.mp3", tags);
    Run();
    ASSERT_EQ(rows.Count(), 1u);
    EXPECT_EQ(rows.Row(0).Candidates, (std::vector<int>{0, 2}));
    EXPECT_FALSE(rows.Row(0).WithoutId3);
    EXPECT_GT(rows.Row(0).CandidateCount(), 1u);
}

TEST_F(Pass, PathLosesItsFirstId3NotTheHeaders) {
    Lyrics("ID3 - Song.txt");
    Lyrics("ID3 - Tune.txt");
    Mp3("ID3 Song.mp3", "ID3\x03" + Silent());
    Mp3("ID3 Tune.mp3");
    Run();
    EXPECT_NE(RowOf("ID3 Song.mp3"), nullptr);
    EXPECT_EQ(RowOf("ID3 Tune.mp3"), nullptr);
}

TEST_F(Pass, ChoosesByNameScoreLessTwoPointsPerMatchingFile) {
    const int a = Lyrics("Band - Stop.txt");
    const int b = Lyrics("- Stop.txt");  // words "" and "Stop"
    Mp3("Band - Stop.mp3");
    Mp3("Stop One.mp3");
    Mp3("Stop Two.mp3");
    Run();
    const ResultRow* row = RowOf("Band - Stop.mp3");
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->Candidates, (std::vector<int>{0, 1}));
    EXPECT_GT(row->CandidateCount(), 1u);
    EXPECT_EQ(index.Entries[a].MatchCount, 1);
    EXPECT_EQ(index.Entries[b].MatchCount, 3);
    EXPECT_EQ(index.Entries[a].Score, 0);   // 2 hits - 2
    EXPECT_EQ(index.Entries[b].Score, -5);  // 1 hit - 6
    EXPECT_EQ(row->LyricsPosition, a);
    EXPECT_FALSE(row->Shared);
    EXPECT_TRUE(RowOf("Stop One.mp3")->Shared);
}

TEST_F(Pass, EqualScoresChooseTheLowerPosition) {
    Lyrics("Red - Song.txt");
    Lyrics("Blue - Song.txt");
    Mp3("Red Blue Song.mp3");
    Run();
    ASSERT_EQ(rows.Count(), 1u);
    EXPECT_EQ(rows.Row(0).LyricsPosition, 0);
}

TEST_F(Pass, LooksForTheFilterMarkInTheLast80BytesOnly) {
    Lyrics("Early - Mark.txt", "] filter used" + std::string(87, 'x'));  // 100 bytes
    Lyrics("Late - Mark.txt", kFiltered);
    Lyrics("No - Break.txt", std::string(200, 'y') + "\xA0" + "end");
    Mp3("Early Mark.mp3");
    Mp3("Late Mark.mp3");
    Mp3("No Break.mp3");
    const MatchResult result = Run();
    EXPECT_FALSE(RowOf("Early Mark.mp3")->Filtered);
    EXPECT_FALSE(RowOf("Early Mark.mp3")->Checked);
    for (const char* name : {"Late Mark.mp3", "No Break.mp3"}) {
        const ResultRow* row = RowOf(name);
        EXPECT_TRUE(row->Filtered) << name;
        EXPECT_TRUE(row->Checked) << name;
    }
    EXPECT_EQ(result.CheckedCount, 2);
}

TEST_F(Pass, UnreadableLyricsCountAsNotFiltered) {
    Lyrics("Gone - Away.txt", kFiltered);
    fs::remove(dir / "cache/Gone - Away.txt");
    Mp3("Gone Away.mp3");
    Run();
    EXPECT_FALSE(RowOf("Gone Away.mp3")->Filtered);
    EXPECT_FALSE(RowOf("Gone Away.mp3")->Checked);
}

TEST_F(Pass, NeverChecksTaggedSharedOrNewerFilesOrFilesThatCannotHoldAudio) {
    Lyrics("Tagged - Song.txt", kFiltered);
    Lyrics("Shared - Song.txt", kFiltered);
    Lyrics("Newer - Song.txt", kFiltered);
    Lyrics("Newer - Two.txt", kFiltered);
    Lyrics("Newer - Three.txt", kFiltered);
    Mp3("Tagged Song.mp3", TailBuilder()
                               .audio(900)
                               .lyrics3v2({{"IND", "100"}, {"LYR", "abc"}})
                               .id3v1("t", "a")
                               .bytes());
    Mp3("Shared Song 1.mp3");
    Mp3("Shared Song 2.mp3");
    Mp3("Newer Song Two Three.mp3", TailBuilder().audio(900).raw("LYRICS300").bytes());
    // Files that cannot hold audio: tagging would refuse them. An ID3v2 header
    // ("ID3", version 3.0, no flags, 7-bit size bytes) claiming more than the file
    // holds, and a file shorter than a frame header and its side information.
    Lyrics("Cut - Claim.txt", kFiltered);
    Lyrics("Tiny - Thing.txt", kFiltered);
    Mp3("Cut Claim.mp3", std::string("ID3\x03\0\0\0\0\x7f\x7f", 10) + Silent());
    Mp3("Tiny Thing.mp3", std::string("\xFF\xFB\x90\x00", 4) + std::string(24, '\0'));
    const MatchResult result = Run();

    const ResultRow* tagged = RowOf("Tagged Song.mp3");
    EXPECT_TRUE(tagged->Tagged);
    EXPECT_EQ(tagged->CandidateCount(), 1u);
    EXPECT_FALSE(tagged->Checked);
    EXPECT_FALSE(RowOf("Shared Song 1.mp3")->Checked);
    const ResultRow* newer = RowOf("Newer Song Two Three.mp3");
    EXPECT_EQ(newer->Candidates, (std::vector<int>{2, 3, 4}));
    EXPECT_TRUE(newer->NewerTag);
    EXPECT_TRUE(newer->Tagged);
    EXPECT_TRUE(newer->WithoutId3);
    EXPECT_FALSE(newer->Checked);
    for (const char* name : {"Cut Claim.mp3", "Tiny Thing.mp3"}) {
        ASSERT_NE(RowOf(name), nullptr) << name;
        EXPECT_EQ(RowOf(name)->CandidateCount(), 1u) << name;
        EXPECT_TRUE(RowOf(name)->NoAudio) << name;
        EXPECT_FALSE(RowOf(name)->Checked) << name;
    }
    EXPECT_FALSE(RowOf("Shared Song 2.mp3")->NoAudio);
    EXPECT_EQ(result.CheckedCount, 0);
}

TEST_F(Pass, StopEndsPhaseOneAfterTheFileInHand) {
    Lyrics("Even - Song.txt", kFiltered);
    for (int i = 0; i < 100; ++i) {
        Mp3((i < 10 ? "0" : "") + std::to_string(i) + (i % 2 == 0 ? " Even Song.mp3" : ".mp3"));
    }
    // Also through a reader one batch ahead: the batches after the first then wait
    // for room while the pass stops (given the time to get there).
    for (const bool oneBatchAhead : {false, true}) {
        int asked = 0;
        stop = [&] {
            if (++asked < 10) {
                return false;
            }
            if (oneBatchAhead) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            return true;
        };
        std::optional<FolderReadAhead> reader;
        if (oneBatchAhead) {
            reader.emplace(dir / "music", true, FolderReadAhead::kBatchFiles);
        }
        const MatchResult result = reader ? MatchFolder(*reader, index, rows, hooks) : Run();
        EXPECT_EQ(asked, 10);
        EXPECT_EQ(result.FilesFound, 100);
        EXPECT_EQ(result.Processed, 10);
        EXPECT_EQ(rows.Count(), 5u);
        EXPECT_EQ(result.Rows, 5);
        EXPECT_TRUE(result.Stopped);
        for (const ResultRow& row : rows.Rows()) {
            EXPECT_EQ(row.LyricsName, "Even - Song");
        }
        EXPECT_EQ(index.Entries[0].MatchCount, 5) << "counts only the files processed";
    }
}

TEST_F(Pass, ReportsProgressAndYieldsWhereTheWindowExpectsIt) {
    Lyrics("Hit - Song.txt");
    for (int i = 0; i < 120; ++i) {
        Mp3("Hit Song " + std::to_string(1000 + i) + ".mp3");
    }
    Mp3("zz miss.mp3");
    // Every hook on the calling thread, though the files are read on another.
    std::set<std::thread::id> threads;
    hooks.Progress = [&](const MatchProgress& progress) {
        threads.insert(std::this_thread::get_id());
        events.push_back(ProgressEvent(progress));
    };
    onYield = [&] { threads.insert(std::this_thread::get_id()); };
    Run();
    EXPECT_EQ(threads, std::set<std::thread::id>{std::this_thread::get_id()});

    // One yield before the search, one per file, one per 50 rows of phase 2.
    EXPECT_EQ(Count("yield"), 1 + 121 + 2);
    EXPECT_EQ(events.front(), "yield");
    EXPECT_EQ(events[1], "files 1/121, 1 rows");
    EXPECT_EQ(events[2], "yield");
    EXPECT_EQ(Count("files 121/121, 120 rows"), 1) << "the last file matches nothing";
    EXPECT_EQ(Count("phase one ended"), 1);
    const auto ended = std::find(events.begin(), events.end(), "phase one ended");
    EXPECT_EQ(*(ended - 2), "files 121/121, 120 rows");
    EXPECT_EQ(*(ended + 1), "rows 1/120");
    EXPECT_EQ(events.back(), "rows 120/120");
    const auto fiftieth = std::find(events.begin(), events.end(), "rows 50/120");
    EXPECT_EQ(*(fiftieth + 1), "yield");
    EXPECT_NE(*(fiftieth + 2), "yield");
    const auto reports = std::count_if(
        events.begin(), events.end(), [](const std::string& e) { return e.starts_with("files "); });
    EXPECT_EQ(reports, 121) << "one report per file of phase 1";
    EXPECT_EQ(Count("rows 120/120"), 1);
}

TEST_F(Pass, ReaderHandsOverEveryFileInOrderThroughASmallRingAndStopsHalfWay) {
    for (int i = 0; i < 100; ++i) {
        Mp3(std::to_string(1000 + i) + ".mp3",
            i % 3 == 0 ? TailBuilder().audio(600).id3v1("Title", "Artist").bytes() : Silent());
    }
    constexpr std::size_t kBatch = FolderReadAhead::kBatchFiles;
    for (const std::size_t stopAt : {std::size_t{100}, kBatch}) {
        FolderReadAhead reader(dir / "music", true, kBatch);  // one batch: every batch waits
        ASSERT_EQ(reader.FileCount(), 100u);
        for (std::size_t first = 0; first < stopAt; first += kBatch) {
            const std::span<ReadMp3File> batch = reader.Batch(first);
            ASSERT_EQ(batch.size(), std::min(kBatch, 100 - first));
            for (std::size_t i = 0; i < batch.size(); ++i) {
                const int n = static_cast<int>(first + i);
                EXPECT_EQ(fs::path(batch[i].Path).filename(), std::to_string(1000 + n) + ".mp3");
                EXPECT_EQ(batch[i].Sample.Id3Block.empty(), n % 3 != 0);
                EXPECT_NE(batch[i].Text.find(std::to_string(1000 + n)), std::string::npos);
                EXPECT_EQ(batch[i].Text.find("Artist") != std::string::npos, n % 3 == 0);
            }
            reader.Release(first);
        }
    }  // a reader left half-way stops without the rest being asked for
}

TEST_F(Pass, NoFilesGivesTheRedMessageAndStillEndsPhaseOne) {
    Lyrics("A - B.txt");
    dir.MakeFolder("music");
    rows.Add(ResultRow{});  // from an earlier pass
    const MatchResult result = Run();
    EXPECT_EQ(result.FilesFound, 0);
    EXPECT_EQ(result.Processed, 0);
    EXPECT_EQ(result.Rows, 0);
    EXPECT_TRUE(rows.Empty());
    EXPECT_EQ(Count("phase one ended"), 1);

    EXPECT_EQ(MatchFolder(dir / "missing", true, index, rows, hooks).Processed, 0);
}

TEST_F(Pass, EmptyIndexMatchesNothing) {
    Mp3("a.mp3");
    Mp3("b.mp3");
    const MatchResult result = Run();
    EXPECT_TRUE(rows.Empty());
    EXPECT_EQ(result.Processed, 2);
    EXPECT_EQ(result.Rows, 0);
}

TEST_F(Pass, ResetsCountsAndRowsOfTheLastPass) {
    Lyrics("Once - Only.txt", kFiltered);
    Mp3("Once Only.mp3");
    index.Entries[0].MatchCount = 7;
    Run();
    const MatchResult again = Run();
    EXPECT_EQ(index.Entries[0].MatchCount, 1);
    ASSERT_EQ(rows.Count(), 1u);
    EXPECT_TRUE(rows.Row(0).Checked);
    EXPECT_EQ(again.CheckedCount, 1);

    // The matcher kept from those passes does not outlive the entries it was built for.
    index.Entries.clear();
    Lyrics("Other - Song.txt");
    Mp3("Other Song.mp3");
    Run();
    ASSERT_EQ(rows.Count(), 1u);
    EXPECT_EQ(rows.Row(0).Mp3Name, "Other Song.mp3");
    index.Entries = {};
    Run();
    EXPECT_EQ(rows.Count(), 0u);
}

TEST_F(Pass, SubfoldersOnlyWhenAsked) {
    Lyrics("Deep - Song.txt");
    Mp3("sub/Deep Song.mp3");
    Run(false);
    EXPECT_TRUE(rows.Empty());
    Run(true);
    EXPECT_EQ(rows.Count(), 1u);
}

TEST_F(Pass, KeepsTheNameAsListedAndReadsTheFileByIt) {
    Lyrics("Inside - Tag.txt");
    Mp3("Song.MP3", TailBuilder().audio(900).id3v1("Tag", "Inside").bytes());
    Run();
    ASSERT_EQ(rows.Count(), 1u);
    EXPECT_EQ(rows.Row(0).Mp3Name, "Song.MP3");
    EXPECT_EQ(rows.Row(0).Mp3Path, dir / "music/Song.MP3");
    EXPECT_FALSE(rows.Row(0).WithoutId3);
}

TEST_F(Pass, TinyFilesAreMatchedOnWhatThereIs) {
    Lyrics("Empty - File.txt");
    Lyrics("Small - Word.txt");
    Mp3("Empty File.mp3", "");
    Mp3("small.mp3", std::string(50, '\0') + "WORD" + std::string(46, 'z'));  // 100 bytes
    Run();
    EXPECT_NE(RowOf("Empty File.mp3"), nullptr);
    EXPECT_NE(RowOf("small.mp3"), nullptr);
    EXPECT_FALSE(RowOf("small.mp3")->Tagged);
}

TEST_F(Pass, FileVanishingAfterTheSearchIsMatchedOnItsPath) {
    Lyrics("Vanish - Tagword.txt");
    Lyrics("Vanishing - Act.txt");
    // Files are read some way ahead of their matching, never hundreds ahead: the
    // last of 300 files is still unread when the first one is done.
    for (int i = 0; i < 300; ++i) {
        Mp3(std::to_string(100 + i) + ".mp3", "");
    }
    Mp3("Vanishing Act.mp3",
        TailBuilder().audio(900).lyrics3v1("x").id3v1("Tagword", "Vanish").bytes());
    int yields = 0;
    onYield = [&] {
        if (++yields == 2) {  // after the first file
            fs::remove(dir / "music/Vanishing Act.mp3");
        }
    };
    Run();
    const ResultRow* row = RowOf("Vanishing Act.mp3");
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->Candidates, std::vector<int>{1}) << "the ID3v1 words were never read";
    EXPECT_TRUE(row->WithoutId3);
    EXPECT_FALSE(row->Tagged);
}

TEST_F(Pass, UnreadableFileIsMatchedOnItsPath) {
    Lyrics("Locked - Tagword.txt", kFiltered);
    Lyrics("Locked - File.txt", kFiltered);
    const std::string path = Mp3(
        "Locked File.mp3", TailBuilder().audio(900).lyrics3v1("x").id3v1("Tagword", "a").bytes());
    testing::OpenToOthers(path);
    testing::OpenToOthers(dir / "cache/Locked - File.txt");
    fs::permissions(path, fs::perms::none);
    const testing::Unprivileged unprivileged;
    ASSERT_TRUE(unprivileged.Active());
    Run();
    ASSERT_EQ(rows.Count(), 1u);
    EXPECT_EQ(rows.Row(0).Candidates, std::vector<int>{1});
    EXPECT_FALSE(rows.Row(0).Tagged);
    EXPECT_TRUE(rows.Row(0).Checked);
}

// An ID3v2.4 header and UTF-8 artist and title frames, as in a file's first bytes.
std::string Id3v2Utf8(std::string_view artist, std::string_view title) {
    const auto frame = [](std::string_view id, std::string_view text) {
        const std::string body = "\x03" + std::string(text);  // encoding 3: UTF-8
        return std::string(id) + std::string(3, '\0') + static_cast<char>(body.size()) +
               std::string(2, '\0') + body;
    };
    const std::string frames = frame("TPE1", artist) + frame("TIT2", title);
    return "ID3" + std::string("\x04\0\0\0\0\0", 6) + static_cast<char>(frames.size()) + frames;
}

TEST_F(Pass, WordsOutsideAsciiAreFoundInBothEncodings) {
    Lyrics("BEYONC\xC9 - HALO.txt");                     // 0: Windows-1252
    Lyrics("SIGUR R\xC3\x93S - HOPP\xC3\x8DPOLLA.txt");  // 1: UTF-8
    Lyrics("Bj\xC3\xB6rk - J\xC3\xB3ga.txt");            // 2: UTF-8
    Lyrics("Zo\xC3\xAB - \xC4\x80lpha.txt");             // 3: "Ā" has no Windows-1252 byte
    Mp3("beyonc\xE9 halo.mp3");
    Mp3("Beyonc\xC3\xA9/Halo.mp3");
    Mp3("Sigur R\xC3\xB3s/Hopp\xC3\xADpolla.mp3");
    Mp3("Sigur R\xF3s/Hopp\xEDpolla.mp3");
    Mp3("Homogenic/01.mp3", TailBuilder().audio(900).id3v1("J\xF3ga", "Bj\xF6rk").bytes());
    Mp3("Homogenic/02.mp3",
        Id3v2Utf8("Bj\xC3\xB6rk", "J\xC3\xB3ga") + TailBuilder().audio(900).bytes());
    Mp3("Zo\xEB/\xC4\x80lpha.mp3");
    Mp3("Zo\xEB/Alpha.mp3");
    Run();
    const auto tagOf = [this](const std::string& name) {
        const ResultRow* row = RowOf(name);
        return row ? row->Candidates : std::vector<int>{-1};
    };
    EXPECT_EQ(tagOf("beyonc\xE9 halo.mp3"), std::vector<int>{0});
    EXPECT_EQ(tagOf("Halo.mp3"), std::vector<int>{0}) << "UTF-8 path, Windows-1252 name";
    EXPECT_EQ(tagOf("Hopp\xC3\xADpolla.mp3"), std::vector<int>{1});
    EXPECT_EQ(tagOf("Hopp\xEDpolla.mp3"), std::vector<int>{1}) << "Windows-1252 path, UTF-8 name";
    EXPECT_EQ(tagOf("01.mp3"), std::vector<int>{2}) << "Windows-1252 ID3v1 block, UTF-8 name";
    EXPECT_EQ(tagOf("02.mp3"), std::vector<int>{2}) << "UTF-8 ID3v2 frames in the first bytes";
    EXPECT_EQ(tagOf("\xC4\x80lpha.mp3"), std::vector<int>{3});
    EXPECT_EQ(tagOf("Alpha.mp3"), std::vector<int>{-1})
        << "no other form stands in for a missing character";
    EXPECT_EQ(index.Entries[2].MatchCount, 2);
}

}  // namespace
}  // namespace versemark
